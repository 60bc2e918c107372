#pragma once
// A label that shows a web address, underlined with a hand cursor and a soft glow, and opens
// it when clicked with the left button. Used by the About box and the main window's
// "软件网站：" line.

#include "Product.h"

#include <QLabel>

class QGraphicsDropShadowEffect;

namespace about {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QUrl& url, QWidget* parent = nullptr, UrlOpener open = OpenWithShell);

    QUrl url() const { return m_url; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateGlow();

    QUrl m_url;
    UrlOpener m_open;
    bool m_pressed = false;
    QGraphicsDropShadowEffect* m_glow = nullptr;
};

} // namespace about
