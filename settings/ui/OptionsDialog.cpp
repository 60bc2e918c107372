#include "OptionsDialog.h"

#include "SettingRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <utility>

namespace settings {

// What LoadOptions sets, key by key.
class TForm5::Controls : public OptionControls {
public:
    explicit Controls(TForm5& dialog) : d(dialog) {}
    void setThreadCount(int entry) override { d.m_threadCount->setCurrentIndex(entry - 1); }
    void setAfterDone(int choice) override { d.m_afterDone->button(choice)->setChecked(true); }
    void setThreadPriority(int choice) override { d.m_priority->button(choice)->setChecked(true); }
    void setOverwrite(bool overwrite) override {
        d.m_overwrite->button(overwrite ? 0 : 1)->setChecked(true);
    }
    void setShowPreview(bool on) override {
        // Passed on exactly once, whether or not the box changes.
        const QSignalBlocker blocker(d.m_previewBox);
        d.m_previewBox->setChecked(on);
        if (d.m_preview)
            d.m_preview(on);
    }

private:
    TForm5& d;
};

namespace {

QGroupBox* frame(QWidget* parent, const QString& title, const QRect& geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setGeometry(geometry);
    return box;
}

// Adds a radio button with the group id `id` at `pos` inside its frame.
QRadioButton* choice(QButtonGroup* group, QGroupBox* box, const QString& text, int id,
                     const QPoint& pos, int width) {
    auto* button = new QRadioButton(text, box);
    button->setGeometry(QRect(pos, QSize(width, 24)));
    group->addButton(button, id);
    return button;
}

} // namespace

TForm5::TForm5(SettingsFile file, PreviewSink preview, QWidget* parent, ErrorReport report)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_file(std::move(file)), m_preview(std::move(preview)), m_report(std::move(report)) {
    setWindowTitle(QStringLiteral("选项"));
    setFixedSize(561, 537);
    setModal(true);

    auto* afterDoneBox = frame(this, QStringLiteral("转换工作完成后"), {16, 12, 258, 176});
    m_afterDone = new QButtonGroup(this);
    const QString afterDoneTexts[] = {
        QStringLiteral("自动打开输出文件夹"), QStringLiteral("自动关闭计算机"),
        QStringLiteral(" 播放提示音乐"), QStringLiteral("不进行任何操作")};
    for (int i = 0; i < 4; ++i)
        choice(m_afterDone, afterDoneBox, afterDoneTexts[i], i, {24, 30 + i * 34}, 220);

    auto* overwriteBox = frame(this, QStringLiteral("如果输出文件存在时"), {287, 12, 258, 176});
    m_overwrite = new QButtonGroup(this);
    choice(m_overwrite, overwriteBox, QStringLiteral("直接覆盖输出文件"), 0, {24, 30}, 220);
    choice(m_overwrite, overwriteBox, QStringLiteral("自动重命名输出文件"), 1, {24, 64}, 220);

    auto* parametersBox = frame(this, QStringLiteral("转换参数"), {16, 200, 529, 112});
    auto* threadLabel =
        new QLabel(QStringLiteral("程序最大运行线程数--（同时进行转换的文件个数）"), parametersBox);
    threadLabel->setGeometry(24, 32, 380, 24);
    m_threadCount = new QComboBox(parametersBox);
    m_threadCount->setGeometry(410, 32, 90, 24);
    m_threadCount->setEditable(false);
    for (int n = 1; n <= ThreadCountEntries; ++n)
        m_threadCount->addItem(QString::number(n));
    m_threadCount->setMaxVisibleItems(8);
    threadLabel->setBuddy(m_threadCount);
    m_previewBox = new QCheckBox(QStringLiteral("转换时进行实时视频预览"), parametersBox);
    m_previewBox->setGeometry(24, 70, 300, 24);

    auto* priorityBox = frame(this, QStringLiteral("转换时CPU利用方式"), {16, 324, 529, 132});
    m_priority = new QButtonGroup(this);
    const QString priorityTexts[] = {
        QStringLiteral("系统空闲时进行"), QStringLiteral("最低优先级进行"),
        QStringLiteral("较低优先级进行"), QStringLiteral("正常优先级进行")};
    for (int i = 0; i < 4; ++i)
        choice(m_priority, priorityBox, priorityTexts[i], i,
               {24 + (i % 2) * 260, 36 + (i / 2) * 44}, 220);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setGeometry(350, 484, 90, 30);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setGeometry(455, 484, 90, 30);

    // The defaults before anything is loaded; they equal the file's defaults.
    m_afterDone->button(OpenOutputFolder)->setChecked(true);
    m_overwrite->button(1)->setChecked(true);
    m_priority->button(NormalPriority)->setChecked(true);
    m_threadCount->setCurrentIndex(0);

    connect(m_previewBox, &QCheckBox::toggled, this, [this](bool on) {
        if (m_preview)
            m_preview(on);
    });
    connect(m_ok, &QPushButton::clicked, this, &TForm5::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    LoadOptions();
}

void TForm5::LoadOptions() {
    Controls controls(*this);
    const QString error = settings::LoadOptions(m_file, controls);
    if (!error.isEmpty() && m_report)
        m_report(parentWidget() ? parentWidget() : this, error);
}

bool TForm5::SaveOptions() {
    try {
        settings::SaveOptions(
            m_file, {threadCountText(), afterDone(), showPreview(), priority(), overwrite()});
    } catch (const SettingsWriteError& e) {
        if (m_report)
            m_report(this, e.text());
        return false;
    }
    return true;
}

void TForm5::confirm() {
    if (SaveOptions())
        accept();
}

int TForm5::afterDone() const {
    return m_afterDone->checkedId();
}

bool TForm5::overwrite() const {
    return m_overwrite->checkedId() == 0;
}

QString TForm5::threadCountText() const {
    return m_threadCount->currentText();
}

int TForm5::threadCount() const {
    bool ok = false;
    const int n = threadCountText().toInt(&ok);
    return ok ? n : 1;
}

bool TForm5::showPreview() const {
    return m_previewBox->isChecked();
}

int TForm5::priority() const {
    int chosen = -1;
    for (int id = IdlePriority; id <= NormalPriority; ++id)
        if (m_priority->button(id)->isChecked())
            chosen = id;
    return chosen;
}

} // namespace settings
