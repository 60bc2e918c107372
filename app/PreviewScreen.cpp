#include "PreviewScreen.h"

#include <QPainter>

PreviewScreen::PreviewScreen(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PreviewScreen::showFrame(const QImage& frame) {
    frame_ = frame;
    if (isHidden()) {
        // over the player's picture while a conversion shows its frames
        show();
        raise();
    }
    update();
}

void PreviewScreen::clearFrame() {
    frame_ = QImage();
    hide();
}

void PreviewScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (frame_.isNull())
        return;
    const QSize fitted = frame_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, frame_);
}
