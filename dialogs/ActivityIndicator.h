#pragma once
// An animated sector ring: twelve sectors around a centre, the leading one
// brightest and the ones behind it fading, stepping one sector per frame.
#include <QColor>
#include <QTimer>
#include <QWidget>

class TActivityIndicator : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSectors = 12;

    explicit TActivityIndicator(QWidget *parent = nullptr);

    void setColour(const QColor &colour);
    QColor colour() const { return fColour; }
    void setFrameDelay(int milliseconds);
    int frameDelay() const { return fTimer.interval(); }
    void setAnimate(bool on);
    bool animate() const { return fTimer.isActive(); }
    // The leading sector, 0 to kSectors - 1.
    int frame() const { return fFrame; }

    // Indicator sizes, in pixels.
    static constexpr int kLarge = 48;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor fColour = Qt::white;
    QTimer fTimer;
    int fFrame = 0;
};
