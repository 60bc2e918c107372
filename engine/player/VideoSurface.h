#pragma once
// The drawing of the player inside the screen widget: a child that covers the screen, paints
// it black and puts the picture in the middle of the drawing area at its display aspect (black
// bars on the other sides). It follows the screen's resizes and lets mouse events through.
// User-interface thread only; the screen widget owns it (it goes when the screen goes).

#include <QImage>
#include <QWidget>

namespace engine::player {

class VideoSurface : public QWidget {
public:
    explicit VideoSurface(QWidget* screen);

    // `displayAspect` is width / height as the picture should look; <= 0 takes the image's own.
    void setPicture(const QImage& picture, double displayAspect);
    void clearPicture();
    // The size of the area the picture is fitted into, centred on the screen; an empty size
    // means the whole screen.
    void setAreaSize(QSize size);
    void fitToScreen();

    // Where a picture of `displayAspect` goes inside `widget` with a drawing area of `area`.
    static QRect pictureRect(const QRect& widget, QSize area, double displayAspect);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_picture;
    double m_aspect = 0;
    QSize m_area;
};

} // namespace engine::player
