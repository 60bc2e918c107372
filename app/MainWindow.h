#pragma once
// The main window: layout, menus, tool bar, control groups and the shared steps that the
// handlers run in fixed orders. The window owns every piece of state of a run; the rules it
// applies live in the plain libraries (catalogue, settings, conversion) and are only called here.

#include "WindowServices.h"
#include "WindowStates.h"

#include <QMainWindow>
#include <QPixmap>

#include <array>
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

namespace appstate {
enum class Group;
}

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(WindowServices services = WindowServices::desktop(), QWidget* parent = nullptr);
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

    // Preview state.
    QString T_Movie_PLayer_FileName;
    qint64 FDuration = 0;
    QString bsSkinSlider1_down_UP;
    QWidget* FScreenControl = nullptr;

    // The output folder.
    QString FileOutPutPath;

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

    // Catalogue lists.
    void bsSkinOfficeComboBox2Change();
    void bsSkinOfficeComboBox1Change();
    // Selecting from code runs the change handler, as a user's choice does.
    void selectCategory(int position);
    void selectFormat(int position);
    int currentFormatCode() const;

    // Tool bar and menus.
    void btnPauseClick();
    void btnResumeClick();
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

    WindowServices services_;
    appstate::GroupStates groups_{};
    struct GlyphPair {
        QPixmap normal, greyed;
    };
    std::array<GlyphPair, appstate::kGroupCount> glyphs_{};
};
