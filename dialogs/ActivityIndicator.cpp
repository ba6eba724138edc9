#include "dialogs/ActivityIndicator.h"

#include <QPainter>
#include <QPainterPath>

TActivityIndicator::TActivityIndicator(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(kLarge, kLarge);
    fTimer.setInterval(100);
    connect(&fTimer, &QTimer::timeout, this, [this] {
        fFrame = (fFrame + 1) % kSectors;
        update();
    });
}

void TActivityIndicator::setColour(const QColor &colour)
{
    fColour = colour;
    update();
}

void TActivityIndicator::setFrameDelay(int milliseconds)
{
    fTimer.setInterval(milliseconds);
}

void TActivityIndicator::setAnimate(bool on)
{
    if (on)
        fTimer.start();
    else
        fTimer.stop();
}

void TActivityIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const QRectF outer((width() - side) / 2 + 1, (height() - side) / 2 + 1, side - 2, side - 2);
    const qreal ring = side * 0.22;
    const QRectF inner = outer.adjusted(ring, ring, -ring, -ring);
    const qreal span = 360.0 / kSectors;
    const qreal gap = 6.0;
    for (int i = 0; i < kSectors; ++i) {
        // Sector i trails the leading one by `age` steps.
        const int age = (fFrame - i + kSectors) % kSectors;
        QColor c = fColour;
        c.setAlphaF(std::max(0.15, 1.0 - age * 0.11));
        const qreal start = 90.0 - i * span - gap / 2;
        QPainterPath path;
        path.arcMoveTo(outer, start);
        path.arcTo(outer, start, -(span - gap));
        path.arcTo(inner, start - (span - gap), span - gap);
        path.closeSubpath();
        p.fillPath(path, c);
    }
}
