#pragma once
// The About box "关于软件" (TForm2): title, logo, version, the web site link and "确定".
// Created once at start-up, shown modally from "帮助" → "关于软件", centred on the desktop.
// It takes the skin in force like every other window.

#include "Product.h"

#include <QDialog>

namespace about {

class LinkLabel;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr, UrlOpener open = OpenWithShell);

    LinkLabel* link() const { return m_link; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    LinkLabel* m_link = nullptr;
};

} // namespace about
