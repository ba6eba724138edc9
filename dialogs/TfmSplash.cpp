#include "dialogs/TfmSplash.h"

#include "dialogs/ActivityIndicator.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TfmSplash::TfmSplash(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fmSplash"));
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(32);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(463, 240);

    Label1 = new QLabel(QStringLiteral("Loading Departments"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setGeometry(32, 3, width() - 32 - 3, height() - 3 - 3);

    ActivityIndicator1 = new TActivityIndicator(this);
    ActivityIndicator1->setObjectName(QStringLiteral("ActivityIndicator1"));
    ActivityIndicator1->move(390, 96);
    ActivityIndicator1->setColour(Qt::white);
    ActivityIndicator1->setFrameDelay(100);
    ActivityIndicator1->setAnimate(true);
    ActivityIndicator1->raise();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
