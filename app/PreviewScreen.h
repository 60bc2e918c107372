#pragma once
// Shows the frames that the engine publishes while it converts, over the preview screen,
// scaled to fit with black bars.

#include <QImage>
#include <QWidget>

class PreviewScreen : public QWidget {
    Q_OBJECT
public:
    explicit PreviewScreen(QWidget* parent);
    void showFrame(const QImage& frame);
    void clearFrame();
    const QImage& frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
};
