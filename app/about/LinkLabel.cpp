#include "LinkLabel.h"

#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>

#include <utility>

namespace about {

LinkLabel::LinkLabel(const QUrl& url, QWidget* parent, UrlOpener open)
    : QLabel(url.toString(), parent), m_url(url), m_open(std::move(open)) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    m_glow = new QGraphicsDropShadowEffect(this);
    m_glow->setOffset(0, 0);
    m_glow->setBlurRadius(6);
    setGraphicsEffect(m_glow);
    updateGlow();
    setToolTip(url.toString());
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        updateGlow();
}

// A soft halo in the link's own colour, so it reads on light and dark skins alike.
void LinkLabel::updateGlow() {
    QColor halo = palette().color(QPalette::Link);
    halo.setAlpha(110);
    m_glow->setColor(halo);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release over the label, as with a button.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (!click)
        return;
    emit clicked();
    if (m_open)
        m_open(m_url); // a failure to open is not reported
}

} // namespace about
