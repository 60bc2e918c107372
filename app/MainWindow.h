#pragma once
// The main window: layout, menus, tool bar, control groups and the shared steps that the
// handlers run in fixed orders. The window owns every piece of state of a run; the rules it
// applies live in the plain libraries (catalogue, settings, conversion) and are only called here.

#include "WindowServices.h"
#include "WindowStates.h"

#include <QMainWindow>
#include <QPixmap>

#include "EngineTypes.h"
#include "Presets.h"
#include "Profile.h"
#include "RowColumns.h"
#include "SettingsFile.h"

#include <array>
#include <memory>
#include <set>
#include <vector>

class OfficeComboBox;
class QAction;
class QComboBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QToolButton;
class QTreeWidget;
class QWidget;

class PreviewScreen;
class QTreeWidgetItem;

namespace engine {
class TFFmpegVCL;
class TFFLogger;
class TFFPlayer;
} // namespace engine
namespace skins {
class SkinEngine;
}
namespace about {
class TForm2;
}
namespace settings {
class TForm5;
}

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `ini` is the settings file (the program's option.ini; tests give a temporary one).
    explicit TForm1(settings::SettingsFile ini, WindowServices services = WindowServices::desktop(),
                    QWidget* parent = nullptr);
    // The About box and the Options dialog are made after the window; it reads the options
    // from the dialog's controls.
    void setDialogs(about::TForm2* aboutBox, settings::TForm5* options);
    about::TForm2* Form2 = nullptr;
    settings::TForm5* Form5 = nullptr;
    skins::SkinEngine* skinEngine() const { return skin_; }
    const settings::SettingsFile& ini() const { return ini_; }
    ~TForm1() override;

    // Window state and its groups.
    void enterState(appstate::WindowState state);
    const appstate::GroupStates& groupStates() const { return groups_; }
    // What a group's tool button shows: true for the normal glyph, false for the greyed one.
    bool showsNormalGlyph(appstate::Group group) const;

    // The diagnostic log that nothing shows.
    QStringList logLines() const;
    void log(const QString& line);

    // Controls, for the handlers of other files and for tests.
    QTreeWidget* lvFiles = nullptr;
    OfficeComboBox* bsSkinOfficeComboBox2 = nullptr; // categories
    OfficeComboBox* bsSkinOfficeComboBox1 = nullptr; // formats of the chosen category
    QComboBox* bsSkinComboBox1 = nullptr;            // frame size
    QComboBox* bsSkinComboBox2 = nullptr;            // video bit rate
    QComboBox* bsSkinComboBox9 = nullptr;            // frame rate
    QComboBox* bsSkinComboBox3 = nullptr;            // audio bit rate
    QComboBox* bsSkinComboBox10 = nullptr;           // sample rate
    QComboBox* bsSkinComboBox4 = nullptr;            // aspect mode
    QLineEdit* Video_OutPut_Folder_Edit = nullptr;
    QPushButton* bsSkinButton5 = nullptr; // "浏览"
    QPushButton* btnOpenFolder = nullptr; // "打开"
    QLabel* lblSite = nullptr;
    QLabel* pnlEmptyList = nullptr;

    QToolButton* tbAdd = nullptr;
    QToolButton* tbRemove = nullptr;
    QToolButton* tbClear = nullptr;
    QToolButton* tbStart = nullptr;
    QToolButton* tbStop = nullptr;
    QToolButton* tbPause = nullptr;
    QToolButton* tbResume = nullptr;
    QToolButton* tbOptions = nullptr;
    QToolButton* tbSkin = nullptr;
    QMenu* addMenu = nullptr; // the "添加" drop-down

    QToolButton* bsSkinButton4 = nullptr;  // "下移"
    QToolButton* bsSkinButton3 = nullptr;  // "上移"
    QToolButton* bsSkinButton21 = nullptr; // "重命名"
    QScrollBar* listScroll = nullptr;
    QLineEdit* edt = nullptr; // in-place editor of an output name

    QGroupBox* bsSkinPanel3 = nullptr; // "视频预览"
    QWidget* Panel6 = nullptr;         // the video screen
    QSlider* bsSkinSlider1 = nullptr;
    QToolButton* bsSkinButton13 = nullptr; // 播放
    QToolButton* bsSkinButton14 = nullptr; // 暂停
    QToolButton* bsSkinButton15 = nullptr; // 停止
    QToolButton* bsSkinButton16 = nullptr; // 静音
    QToolButton* bsSkinButton20 = nullptr; // 静音 (unmute)
    QToolButton* bsSkinButton22 = nullptr; // 快照
    QToolButton* bsSkinButton23 = nullptr; // 设置

    // Menu items.
    QMenu* menuFile = nullptr;
    QMenu* menuEdit = nullptr;
    QMenu* menuAction = nullptr;
    QMenu* menuFunction = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* actAddOne = nullptr;
    QAction* actAddMany = nullptr;
    QAction* actAddFolder = nullptr;
    QAction* actExit = nullptr;
    QAction* actMoveUp = nullptr;
    QAction* actMoveDown = nullptr;
    QAction* actRemove = nullptr;
    QAction* actClear = nullptr;
    QAction* N26 = nullptr; // 重新命名
    QAction* actStart = nullptr;
    QAction* actStop = nullptr;
    QAction* actPause = nullptr;
    QAction* actResume = nullptr;
    QAction* N24 = nullptr; // 转换设置
    QAction* N23 = nullptr; // 软件皮肤
    QAction* N15 = nullptr; // 帮助系统
    QAction* N19 = nullptr; // 官方网站
    QAction* N5 = nullptr;  // 关于软件
    QAction* ddAddOne = nullptr;
    QAction* ddAddMany = nullptr;
    QAction* ddAddFolder = nullptr;

    // Hidden panel outside the visible client area.
    QPlainTextEdit* mmoLog = nullptr;
    QComboBox* cboVideoDriver = nullptr;
    QComboBox* cboAudioDriver = nullptr;
    QCheckBox* chkOpenPaused = nullptr;

    // The snapshot settings menu.
    QMenu* bsSkinPopupMenu2 = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem2 = nullptr;
    QAction* BMP1 = nullptr;
    QAction* JPG1 = nullptr;
    QAction* GIF1 = nullptr;
    QAction* PNG1 = nullptr;

    // Preview state.
    QString T_Movie_PLayer_FileName;
    qint64 FDuration = 0;
    QString bsSkinSlider1_down_UP;
    QWidget* FScreenControl = nullptr;

    // The output folder.
    QString FileOutPutPath;

    // The conversion component and its logger; owned by the window.
    engine::TFFmpegVCL* FFVCL = nullptr;
    engine::TFFLogger* FFLogger = nullptr;
    // Per-row option records: entry i belongs to row i.
    std::vector<engine::TInputOptions> IO1;
    std::vector<engine::TOutputOptions> OO1;
    static constexpr int kMaxRows = 501;

    engine::TFFPlayer* FFPlayer = nullptr;

    // The conversion profile of the current format (the Video_ fields).
    catalogue::Profile profile;

    enum class AddResult { Added, Skipped, Stop };
    AddResult AddMediaFile(const QString& path);
    // Files and folders dropped on the list or named on the command line.
    void addPaths(const QStringList& paths);

    // A row's texts as the catalogue's rules read and write them.
    static conversion::RowColumns rowColumns(const QTreeWidgetItem* row);
    static void storeRowColumns(QTreeWidgetItem* row, const conversion::RowColumns& columns);
    static QString sub(const QTreeWidgetItem* row, conversion::SubItem item);
    static void setSub(QTreeWidgetItem* row, conversion::SubItem item, const QString& text);
    QComboBox* presetCombo(catalogue::PresetKind kind) const;
    // The text each preset drop-down shows; emptying a list does not change it.
    const catalogue::PresetTexts& shownPresetTexts() const { return shownTexts_; }
    QTreeWidgetItem* selectedRow() const;
    int selectedRowIndex() const;
    // Selecting from code runs the selection handling, as a user's click does.
    void selectRow(int index);

public slots:
    // Shared steps.
    void Button15Click(); // 初始化数值
    void Button17Click(); // 读ini文件
    void Button16Click(); // 写ini文件
    void Button21Click(); // OpenDialog1
    void Button3Click();  // 读入皮肤ini
    void Button4Click();  // 写入皮肤ini
    void Button2Click();  // 添加combox
    void Button6Click();  // 初始化数据
    void Button5Click();  // 根据combox添加数据
    void Button13Click(); // 确认预置选项数据
    void Button18Click(); // 根据combox添加预设选项
    void Button22Click(); // 工作中设置为不能
    void Button23Click(); // 工作完成设置为能

    // Preset drop-downs: each runs when its shown text changes.
    void bsSkinComboBox1Change();
    void bsSkinComboBox2Change();
    void bsSkinComboBox3Change();
    void bsSkinComboBox4Change();
    void bsSkinComboBox9Change();
    void bsSkinComboBox10Change();
    // Selecting from code runs the change handler only when the shown text changes.
    void selectPreset(catalogue::PresetKind kind, int position);

    // Preview pane.
    void bsSkinButton13Click(); // 播放
    void bsSkinButton14Click(); // 暂停
    void bsSkinButton15Click(); // 停止
    void bsSkinButton16Click(); // 静音
    void bsSkinButton20Click(); // unmute
    void bsSkinButton22Click(); // 快照
    void bsSkinButton23Click(); // 设置
    void MenuItem1Click();      // 打开快照目录
    void MenuItem2Click();      // 设置快照目录
    void pictureItemClick(int format);
    void bsSkinSlider1MouseDown();
    void bsSkinSlider1MouseUp();

    // Catalogue lists.
    void bsSkinOfficeComboBox2Change();
    void bsSkinOfficeComboBox1Change();
    // Selecting from code runs the change handler, as a user's choice does.
    void selectCategory(int position);
    void selectFormat(int position);
    int currentFormatCode() const;

    // Tool bar and menus.
    void btnStartClick();
    void btnStopClick();
    void btnPauseClick();
    void btnResumeClick();
    void button28Click();
    void Button20Click();
    void Button25Click();
    void Button29Click();
    void Button31Click();

    // File list.
    void btnAddClick();
    void Button8Click();
    void Button12Click();
    void bsSkinButton3Click(); // move up
    void bsSkinButton4Click(); // move down
    void btnRemoveClick();
    void btnClearClick();
    void bsSkinButton21Click();
    void N26Click();
    void lvFilesDblClick();
    void edtExit();
    void lvFilesSelectItem();
    void lvFilesClick();
    void bsSkinButton5Click(); // 浏览
    void Video_OutPut_Folder_EditClick();
    void btnOpenFolderClick();

    // Engine reports.
    void FFVCLProgress(const engine::TProgressInfo& info);
    void FFVCLTerminate(const engine::TTerminateInfo& info);
    void FFLoggerLog(quint64 threadId, int level, const QString& message);
    void bsSkinButton19Click(); // 选项
    void bsSkinButton9Click();  // 皮肤
    void N15Click();
    void N19Click();
    void N5Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FormCreate();
    void connectHandlers();
    void FormCloseQuery();
    void buildMenus();
    void buildToolBar(QWidget* client);
    void buildListPanel(QWidget* client);
    void buildOutputPanel(QWidget* client);
    void buildPresetsPanel(QWidget* client);
    void buildPreviewPanel(QWidget* client);
    void buildHiddenPanel(QWidget* client);
    void applyGroups(const appstate::GroupStates& next);
    void setSettingsEnabled(bool on);
    std::array<QComboBox*, 6> presetCombos() const;

    void info(const QString& text);
    void logFramed(const QString& line);
    bool ensureEngineLoaded();
    void enterRowsPresent();
    void selectLastRowAndFocus();
    bool addFilesLastToFirst(const QStringList& files);
    void addFolder(const QString& folder, int rowsBefore);
    QString openFilter() const;
    void swapRows(int a, int b);
    bool conversionRunning() const;
    void listBecameEmpty();
    void startRenaming(bool fromButton);
    void stopPreview();
    bool restoreRowChoices(QTreeWidgetItem* row);
    void buildProfile(bool rewriteSelectedRow);
    catalogue::PresetPositions currentPresetPositions() const;
    void presetChanged(catalogue::PresetKind kind);
    void buildPreviewMenu();
    void FFPlayerFileOpen(qint64 duration, int frameWidth, int frameHeight, int* screenWidth,
                          int* screenHeight);
    void FFPlayerPosition(qint64 pts);
    void FFPlayerState(int state);
    void checkPictureItem(int format);
    void reportError(const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;
    int optionPriority() const;
    QString optionThreadCountText() const;
    bool optionOverwrite() const;
    int optionAfterDone() const;

    settings::SettingsFile ini_;
    WindowServices services_;
    skins::SkinEngine* skin_ = nullptr;
    catalogue::PresetTexts shownTexts_;
    PreviewScreen* liveScreen_ = nullptr;
    QString openDialogFilter_;
    bool detached_ = false;
    QString folderChooserStart_;
    bool running_ = false;
    appstate::GroupStates groups_{};
    struct GlyphPair {
        QPixmap normal, greyed;
    };
    std::array<GlyphPair, appstate::kGroupCount> glyphs_{};
};
