#pragma once
// Moves a borderless window while a mouse button is held on one of its parts:
// the window system's own move when it offers one, else the window follows the
// mouse (for window systems, such as a bare X server, that do not answer).
#include <QObject>
#include <QPoint>

class QWidget;

class TWindowDrag : public QObject
{
    Q_OBJECT
public:
    // Buttons that start a move; others are passed on untouched.
    TWindowDrag(QWidget *window, Qt::MouseButtons buttons, QObject *parent = nullptr);

    // Makes a press on `part` move the window.
    void attach(QWidget *part);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *fWindow;
    Qt::MouseButtons fButtons;
    bool fManual = false;
    QPoint fGrabOffset;
};
