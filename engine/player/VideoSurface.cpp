#include "VideoSurface.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace engine::player {

VideoSurface::VideoSurface(QWidget* screen) : QWidget(screen) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    screen->installEventFilter(this);
    fitToScreen();
    show();
}

void VideoSurface::setPicture(const QImage& picture, double displayAspect) {
    m_picture = picture;
    m_aspect = displayAspect;
    update();
}

void VideoSurface::clearPicture() {
    m_picture = QImage();
    update();
}

void VideoSurface::setAreaSize(QSize size) {
    m_area = size;
    update();
}

void VideoSurface::fitToScreen() {
    if (QWidget* screen = parentWidget()) {
        setGeometry(screen->rect());
        raise();
    }
    update();
}

QRect VideoSurface::pictureRect(const QRect& widget, QSize area, double displayAspect) {
    if (area.width() <= 0 || area.height() <= 0)
        area = widget.size();
    QRect box(QPoint(0, 0), area);
    box.moveCenter(widget.center());
    if (displayAspect <= 0 || box.isEmpty())
        return box;
    int w = box.width();
    int h = static_cast<int>(std::lround(w / displayAspect));
    if (h > box.height()) {
        h = box.height();
        w = static_cast<int>(std::lround(h * displayAspect));
    }
    QRect picture(0, 0, w, h);
    picture.moveCenter(box.center());
    return picture;
}

void VideoSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_picture.isNull())
        return;
    const double aspect =
        m_aspect > 0 ? m_aspect : double(m_picture.width()) / std::max(1, m_picture.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(rect(), m_area, aspect), m_picture);
}

bool VideoSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fitToScreen();
    return QWidget::eventFilter(watched, event);
}

} // namespace engine::player
