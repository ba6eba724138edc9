#include "catalogue/window/StateImages.h"

#include "util/uUtils.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int kSize = 16;
const QColor kFrame(0x33, 0x33, 0x33);
const QColor kTick(0x00, 0x40, 0x80);

// A white box with a dark frame, one pixel in from every edge, and what goes inside it.
QPixmap box(const std::function<void(QPainter &)> &inside)
{
    QPixmap image(kSize, kSize);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kFrame, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 12, 12));
        inside(p);
    } // painting ends before the image is handed out
    return image;
}

void downTriangle(QPainter &p)
{
    QPainterPath triangle;
    triangle.moveTo(4.5, 6);
    triangle.lineTo(11.5, 6);
    triangle.lineTo(8, 10.5);
    triangle.closeSubpath();
    p.fillPath(triangle, kFrame);
}

void tick(QPainter &p)
{
    p.setPen(QPen(kTick, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(6.8, 11), QPointF(12, 4.5)}));
}

} // namespace

QList<QPixmap> makeStateImages()
{
    return {box(downTriangle), box([](QPainter &) {}), box(tick)};
}

int tickImageIndex(const QString &checked)
{
    return YNToBool(checked) ? 2 : 1;
}
