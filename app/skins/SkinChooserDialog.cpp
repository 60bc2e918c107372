#include "SkinChooserDialog.h"

#include "Skins.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace skins {

SkinChooserDialog::SkinChooserDialog(int activeIndex, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select skin"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);

    m_list = new QListWidget(this);
    m_list->addItems(SkinNames());
    m_list->setFixedWidth(170);

    // A miniature window with one of each kind of control, restyled on every selection.
    m_preview = new QWidget(this);
    m_preview->setObjectName(QStringLiteral("skinPreview"));
    m_preview->setAttribute(Qt::WA_StyledBackground);
    m_preview->setFixedSize(260, 230);
    auto* menu = new QMenuBar(m_preview);
    menu->addMenu(QStringLiteral("文件"));
    menu->addMenu(QStringLiteral("帮助"));
    auto* group = new QGroupBox(QStringLiteral("Preview"), m_preview);
    auto* button = new QPushButton(QStringLiteral("Button"), group);
    auto* check = new QCheckBox(QStringLiteral("Preview"), group);
    check->setChecked(true);
    auto* combo = new QComboBox(group);
    combo->addItems({QStringLiteral("Preview"), QStringLiteral("Button")});
    auto* edit = new QLineEdit(QStringLiteral("Preview"), group);
    auto* slider = new QSlider(Qt::Horizontal, group);
    slider->setValue(40);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(button);
    groupLayout->addWidget(check);
    groupLayout->addWidget(combo);
    groupLayout->addWidget(edit);
    groupLayout->addWidget(slider);
    auto* previewLayout = new QVBoxLayout(m_preview);
    previewLayout->setMenuBar(menu);
    previewLayout->addWidget(group);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_list);
    top->addWidget(m_preview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, &SkinChooserDialog::showPreview);

    m_list->setCurrentRow(activeIndex >= 0 && activeIndex < SkinCount ? activeIndex : 0);
}

int SkinChooserDialog::chosenIndex() const {
    return m_list->currentRow();
}

void SkinChooserDialog::showPreview(int index) {
    const SkinLook look = LoadSkin(index);
    m_preview->setPalette(look.palette);
    m_preview->setStyleSheet(look.styleSheet);
}

} // namespace skins
