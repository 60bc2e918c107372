// The category and format lists and the chains that run when either changes.
#include "MainWindow.h"

#include "Glyphs.h"
#include "OfficeComboBox.h"

#include "Formats.h"

#include <QComboBox>
#include <QFileInfo>
#include <QTreeWidget>

namespace {
// Sub-item n of a row is column n + 1 (column 0 is the caption).
constexpr int kOutputFileColumn = 3; // "输出文件"
constexpr int kFormatKeyColumn = 9;  // "视频类别"
} // namespace

int TForm1::currentFormatCode() const {
    return catalogue::formatCode(bsSkinOfficeComboBox2->currentIndex(),
                                 bsSkinOfficeComboBox1->currentIndex());
}

void TForm1::selectCategory(int position) {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox2);
        bsSkinOfficeComboBox2->setCurrentIndex(position);
    }
    bsSkinOfficeComboBox2Change();
}

void TForm1::selectFormat(int position) {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox1);
        bsSkinOfficeComboBox1->setCurrentIndex(position);
    }
    bsSkinOfficeComboBox1Change();
}

void TForm1::bsSkinOfficeComboBox2Change() {
    Button2Click();
}

void TForm1::Button2Click() {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox1);
        bsSkinOfficeComboBox1->clear();
        bsSkinOfficeComboBox1->update();
        const auto formats = catalogue::formatsOfCategory(bsSkinOfficeComboBox2->currentIndex());
        int position = 0;
        for (const auto& f : formats) {
            bsSkinOfficeComboBox1->addOfficeItem(QString::fromUtf8(f.title),
                                                 QString::fromUtf8(f.caption),
                                                 glyphs::formatImage(position % 2));
            ++position;
        }
    }
    selectFormat(0);
}

void TForm1::bsSkinOfficeComboBox1Change() {
    Button18Click();
    const QString ext = catalogue::FormatExtension(
        bsSkinOfficeComboBox1->title(bsSkinOfficeComboBox1->currentIndex()));
    QTreeWidgetItem* row = lvFiles->currentItem();
    if (!row || !row->isSelected())
        return;
    Button5Click();
    Button13Click();
    // the row's output name takes the new format's extension
    const QString name = row->text(kOutputFileColumn);
    const QFileInfo info(name);
    const QString stem = info.suffix().isEmpty() && !name.endsWith(QLatin1Char('.'))
                             ? name
                             : name.left(name.size() - info.suffix().size() - 1);
    row->setText(kOutputFileColumn, stem + ext);
    row->setText(kFormatKeyColumn,
                 QString::number(catalogue::rowFormatKey(bsSkinOfficeComboBox2->currentIndex(),
                                                         bsSkinOfficeComboBox1->currentIndex())));
    lvFiles->setFocus();
}

void TForm1::Button18Click() {
    for (QComboBox* c : presetCombos()) {
        const QSignalBlocker block(c);
        c->clear();
    }
    // A fill enables the six lists, but never while the window keeps its settings locked.
    const bool settingsOn = appstate::at(groups_, appstate::Group::Settings).tool;
    for (QComboBox* c : presetCombos())
        c->setEnabled(settingsOn);
}

void TForm1::Button6Click() {}
void TForm1::Button5Click() {}
void TForm1::Button13Click() {}
