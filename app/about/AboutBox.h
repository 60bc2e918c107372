#pragma once
// The About box "关于软件" (TForm2): title, logo, version, the web site link and "确定".
// Created once at start-up, shown modally from "帮助" → "关于软件", centred on the desktop.
// It takes the skin in force like every other window. Its edges are magnetic (10 px) to the
// desktop's edges, and the button in its top-right corner rolls it up to a strip and down again.

#include "Product.h"

#include <QDialog>

class QToolButton;

namespace about {

class LinkLabel;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr, UrlOpener open = OpenWithShell);

    static constexpr int MagneticDistance = 10;
    static constexpr int RolledUpHeight = 22;

    LinkLabel* link() const { return m_link; }
    QToolButton* rollButton() const { return m_roll; }
    bool isRolledUp() const { return m_rolledUp; }
    void setRolledUp(bool rolledUp);

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    LinkLabel* m_link = nullptr;
    QToolButton* m_roll = nullptr;
    bool m_rolledUp = false;
    bool m_snapping = false;
};

} // namespace about
