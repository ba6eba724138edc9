#include "dialogs/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

TWindowDrag::TWindowDrag(QWidget *window, Qt::MouseButtons buttons, QObject *parent)
    : QObject(parent ? parent : window), fWindow(window), fButtons(buttons)
{
}

void TWindowDrag::attach(QWidget *part)
{
    part->installEventFilter(this);
}

bool TWindowDrag::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (!(me->button() & fButtons))
            return false;
        QWindow *handle = fWindow->windowHandle();
        fManual = !(handle && handle->startSystemMove());
        fGrabOffset = me->globalPosition().toPoint() - fWindow->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        if (!fManual)
            return false;
        auto *me = static_cast<QMouseEvent *>(event);
        fWindow->move(me->globalPosition().toPoint() - fGrabOffset);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!fManual)
            return false;
        fManual = false;
        return true;
    default:
        return false;
    }
}
