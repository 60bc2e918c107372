#pragma once
// The Options dialog "选项" (TForm5). Created once at start-up, after the main window; it loads
// its five choices from the settings file while it is built and stays alive, hidden between
// uses. Its controls are the live options: the main window reads them through the accessors
// below whenever it needs them, so a choice counts from the moment it is made. "确定" also
// stores the choices; "取消", Esc and closing from the keyboard store nothing and undo nothing.
// User-interface thread only.

#include "ErrorReport.h"
#include "SettingsFile.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace settings {

class TForm5 : public QDialog {
    Q_OBJECT
public:
    // Receives every change of the preview box at once, also the one LoadOptions makes; the
    // window passes it on to the conversion component's Preview switch.
    using PreviewSink = std::function<void(bool on)>;

    // Runs LoadOptions before it returns; a failed write-back is shown through report.
    TForm5(SettingsFile file, PreviewSink preview, QWidget* parent = nullptr,
           ErrorReport report = ShowErrorReport);

    // Sets the controls from the file (the hidden "读取ini"). Runs once, from the constructor.
    void LoadOptions();
    // Stores the controls in the file (the hidden "写ini"). A failed write is shown through
    // the error report and gives false; the keys written before it stay written.
    bool SaveOptions();

    // What the main window reads.
    int afterDone() const;           // 0 open folder, 1 shut down, 2 play sound, 3 nothing
    bool overwrite() const;          // "直接覆盖输出文件" chosen
    QString threadCountText() const; // the list's text, "1".."19"
    int threadCount() const;         // that text as a whole number, 1 when it is none
    bool showPreview() const;
    // The four priority choices tested in order, each selected one overriding: 0 idle,
    // 1 lowest, 2 lower, 3 normal; -1 when none is selected (the caller keeps its value).
    int priority() const;

private:
    class Controls;
    void confirm();

    SettingsFile m_file;
    PreviewSink m_preview;
    ErrorReport m_report;
    QButtonGroup* m_afterDone = nullptr;
    QButtonGroup* m_overwrite = nullptr; // id 0 overwrite, 1 numbered name
    QButtonGroup* m_priority = nullptr;
    QComboBox* m_threadCount = nullptr;
    QCheckBox* m_previewBox = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace settings
