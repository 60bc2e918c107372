#include "MainWindow.h"

#include "Glyphs.h"
#include "OfficeComboBox.h"

#include "AboutBox.h"
#include "FFPlayer.h"
#include "FFmpegVCL.h"
#include "Formats.h"
#include "OptionsDialog.h"
#include "PreviewScreen.h"
#include "Product.h"
#include "ProgressDelegate.h"
#include "SettingRules.h"
#include "Skins.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

using appstate::Group;
using appstate::WindowState;

namespace {

constexpr int kClientWidth = 804;
constexpr int kClientHeight = 542;
constexpr int kMenuHeight = 22;
const char* const kTitle = "晨帆FLV视频转换器";
const char* const kSiteUrl = about::ProductWebSite;

// Children of the client widget are placed in window client coordinates; the client widget
// itself starts under the menu bar.
void place(QWidget* w, int x, int y, int width, int height) {
    w->setGeometry(x, y - kMenuHeight, width, height);
}

struct ColumnSpec {
    const char* caption;
    int width; // 0: hidden
};

// The caption column and the 24 sub-items.
constexpr ColumnSpec kColumns[] = {
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
};

QToolButton* makeToolButton(QWidget* parent, const QString& caption, int x) {
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->setGeometry(x, 2, 74, 55);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QToolButton* makeImageButton(QWidget* parent, const QString& hint, QRect geometry,
                             const QPixmap& glyph) {
    auto* b = new QToolButton(parent);
    // The hint text uses "@" as its line separator.
    b->setToolTip(QString(hint).replace(QLatin1Char('@'), QLatin1Char('\n')));
    b->setGeometry(geometry);
    b->setIcon(glyph);
    b->setIconSize(QSize(20, 20));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

TForm1::TForm1(settings::SettingsFile ini, WindowServices services, QWidget* parent)
    : QMainWindow(parent), ini_(std::move(ini)), services_(std::move(services)) {
    setObjectName(QStringLiteral("Form1"));
    // skin 1 is in force while the window is built; the stored one follows in FormCreate
    skin_ = new skins::SkinEngine(this);
    FFVCL = new engine::TFFmpegVCL(this);
    FFLogger = new engine::TFFLogger(this);
    FFPlayer = new engine::TFFPlayer(this);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(glyphs::appIcon());
    // A fixed window with only a minimise button on its caption bar.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    buildMenus();
    buildToolBar(client);
    buildListPanel(client);
    buildOutputPanel(client);
    buildPresetsPanel(client);
    buildPreviewPanel(client);
    buildHiddenPanel(client);
    buildPreviewMenu();

    // Every group starts disabled and is then put into the Empty state, so that each control
    // and glyph is set once from the state table.
    for (auto& g : groups_)
        g = {true, true};
    applyGroups(appstate::GroupStates{});
    enterState(WindowState::Empty);

    connectHandlers();
    FormCreate();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
}

TForm1::~TForm1() = default;

void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setFixedHeight(kMenuHeight);

    menuFile = bar->addMenu(QStringLiteral("文件"));
    actAddOne = menuFile->addAction(QStringLiteral("添加一个文件"));
    actAddMany = menuFile->addAction(QStringLiteral("添加多个文件"));
    actAddFolder = menuFile->addAction(QStringLiteral("添加整个目录"));
    menuFile->addSeparator();
    actExit = menuFile->addAction(QStringLiteral("退出"));
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    menuEdit = bar->addMenu(QStringLiteral("编辑"));
    actMoveUp = menuEdit->addAction(QStringLiteral("上移文件"));
    actMoveDown = menuEdit->addAction(QStringLiteral("下移文件"));
    menuEdit->addSeparator();
    actRemove = menuEdit->addAction(QStringLiteral("删除选择"));
    actClear = menuEdit->addAction(QStringLiteral("清空文件"));
    menuEdit->addSeparator();
    N26 = menuEdit->addAction(QStringLiteral("重新命名"));

    menuAction = bar->addMenu(QStringLiteral("动作"));
    actStart = menuAction->addAction(QStringLiteral("开始转换"));
    actStop = menuAction->addAction(QStringLiteral("停止转换"));
    menuAction->addSeparator();
    actPause = menuAction->addAction(QStringLiteral("暂停转换"));
    actResume = menuAction->addAction(QStringLiteral("继续继续"));
    connect(actPause, &QAction::triggered, this, &TForm1::btnPauseClick);
    connect(actResume, &QAction::triggered, this, &TForm1::btnResumeClick);

    menuFunction = bar->addMenu(QStringLiteral("功能"));
    N24 = menuFunction->addAction(QStringLiteral("转换设置"));
    N23 = menuFunction->addAction(QStringLiteral("软件皮肤"));
    connect(N24, &QAction::triggered, this, &TForm1::bsSkinButton19Click);
    connect(N23, &QAction::triggered, this, &TForm1::bsSkinButton9Click);

    menuHelp = bar->addMenu(QStringLiteral("帮助"));
    N15 = menuHelp->addAction(QStringLiteral("帮助系统"));
    N15->setShortcut(QKeySequence(Qt::Key_F1));
    N15->setShortcutContext(Qt::ApplicationShortcut);
    menuHelp->addSeparator();
    N19 = menuHelp->addAction(QStringLiteral("官方网站"));
    N5 = menuHelp->addAction(QStringLiteral("关于软件"));
    connect(N15, &QAction::triggered, this, &TForm1::N15Click);
    connect(N19, &QAction::triggered, this, &TForm1::N19Click);
    connect(N5, &QAction::triggered, this, &TForm1::N5Click);
}

void TForm1::buildToolBar(QWidget* client) {
    auto* bar = new QFrame(client);
    bar->setObjectName(QStringLiteral("toolBar"));
    place(bar, 0, 22, kClientWidth, 59);

    tbAdd = makeToolButton(bar, QStringLiteral("添加"), 15);
    addMenu = new QMenu(tbAdd);
    ddAddOne = addMenu->addAction(QStringLiteral("添加一个文件"));
    ddAddMany = addMenu->addAction(QStringLiteral("添加多个文件"));
    ddAddFolder = addMenu->addAction(QStringLiteral("添加整个目录"));
    tbAdd->setMenu(addMenu);
    tbAdd->setPopupMode(QToolButton::InstantPopup);

    tbRemove = makeToolButton(bar, QStringLiteral("删除"), 99);
    tbClear = makeToolButton(bar, QStringLiteral("清空"), 175);
    tbStart = makeToolButton(bar, QStringLiteral("开始"), 255);
    tbStop = makeToolButton(bar, QStringLiteral("停止"), 335);
    // "暂停" lies on top of "继续"; only one of the two is seen at a time.
    tbResume = makeToolButton(bar, QStringLiteral("继续"), 415);
    tbPause = makeToolButton(bar, QStringLiteral("暂停"), 415);
    tbResume->hide();
    tbOptions = makeToolButton(bar, QStringLiteral("选项"), 495);
    tbSkin = makeToolButton(bar, QStringLiteral("皮肤"), 575);
    tbOptions->setIcon(glyphs::tool(glyphs::Tool::Options, false));
    tbSkin->setIcon(glyphs::tool(glyphs::Tool::Skin, false));

    connect(tbPause, &QToolButton::clicked, this, &TForm1::btnPauseClick);
    connect(tbResume, &QToolButton::clicked, this, &TForm1::btnResumeClick);
    connect(tbOptions, &QToolButton::clicked, this, &TForm1::bsSkinButton19Click);
    connect(tbSkin, &QToolButton::clicked, this, &TForm1::bsSkinButton9Click);

    auto pair = [this](Group g, glyphs::Tool t) {
        glyphs_[static_cast<std::size_t>(g)] = {glyphs::tool(t, false), glyphs::tool(t, true)};
    };
    pair(Group::Add, glyphs::Tool::Add);
    pair(Group::Remove, glyphs::Tool::Remove);
    pair(Group::Clear, glyphs::Tool::Clear);
    pair(Group::Start, glyphs::Tool::Start);
    pair(Group::Stop, glyphs::Tool::Stop);
    pair(Group::Pause, glyphs::Tool::Pause);
    pair(Group::Resume, glyphs::Tool::Resume);
    glyphs_[static_cast<std::size_t>(Group::Rename)] = {glyphs::small(glyphs::Small::Rename, false),
                                                        glyphs::small(glyphs::Small::Rename, true)};
}

void TForm1::buildListPanel(QWidget* client) {
    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("listPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    place(panel, 8, 87, 558, 260);

    lvFiles = new QTreeWidget(panel);
    lvFiles->setObjectName(QStringLiteral("lvFiles"));
    lvFiles->setGeometry(7, 10, 521, 202);
    lvFiles->setRootIsDecorated(false);
    lvFiles->setItemsExpandable(false);
    lvFiles->setUniformRowHeights(true);
    lvFiles->setAllColumnsShowFocus(true);
    lvFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // grid lines
    lvFiles->setStyleSheet(
        QStringLiteral("QTreeWidget::item { border-right: 1px solid palette(mid); "
                       "border-bottom: 1px solid palette(mid); }"
                       "QTreeWidget::item:selected { background: palette(highlight); "
                       "color: palette(highlighted-text); }"));
    QStringList captions;
    for (const auto& c : kColumns)
        captions << QString::fromUtf8(c.caption);
    lvFiles->setColumnCount(static_cast<int>(std::size(kColumns)));
    lvFiles->setHeaderLabels(captions);
    QHeaderView* header = lvFiles->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(0);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        lvFiles->setColumnWidth(i, kColumns[i].width);
        if (kColumns[i].width == 0) {
            // hidden columns carry the row's settings and cannot be widened
            header->setSectionResizeMode(i, QHeaderView::Fixed);
            lvFiles->setColumnHidden(i, true);
        }
    }

    // The list's horizontal scroll bar sits beside the three list buttons.
    listScroll = new QScrollBar(Qt::Horizontal, panel);
    listScroll->setGeometry(7, 226, 453, 17);
    QScrollBar* own = lvFiles->horizontalScrollBar();
    connect(own, &QScrollBar::rangeChanged, listScroll, &QScrollBar::setRange);
    connect(own, &QScrollBar::valueChanged, listScroll, &QScrollBar::setValue);
    connect(listScroll, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
    listScroll->setRange(own->minimum(), own->maximum());

    bsSkinButton4 = makeImageButton(panel, QStringLiteral("下移"), QRect(466, 226, 25, 25),
                                    glyphs::small(glyphs::Small::MoveDown, false));
    bsSkinButton3 = makeImageButton(panel, QStringLiteral("上移"), QRect(497, 226, 25, 25),
                                    glyphs::small(glyphs::Small::MoveUp, false));
    bsSkinButton21 = makeImageButton(panel, QStringLiteral("重命名"), QRect(528, 226, 25, 25),
                                     glyphs::small(glyphs::Small::Rename, false));

    edt = new QLineEdit(lvFiles->viewport());
    edt->setObjectName(QStringLiteral("edt"));
    edt->setFrame(false);
    edt->setFixedHeight(14);
    edt->hide();

    pnlEmptyList = new QLabel(client);
    pnlEmptyList->setObjectName(QStringLiteral("pnlEmptyList"));
    place(pnlEmptyList, 8, 88, 558, 259);
    pnlEmptyList->setPixmap(glyphs::emptyListPicture(QSize(558, 259)));
    pnlEmptyList->raise();
}

void TForm1::buildOutputPanel(QWidget* client) {
    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("outputPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    place(panel, 8, 356, 558, 166);

    makeLabel(panel, QStringLiteral("输出格式："), QRect(10, 17, 68, 60))
        ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bsSkinOfficeComboBox2 = new OfficeComboBox(60, false, panel);
    bsSkinOfficeComboBox2->setObjectName(QStringLiteral("bsSkinOfficeComboBox2"));
    bsSkinOfficeComboBox2->setGeometry(79, 17, 119, 60);
    for (const auto& c : catalogue::categories())
        bsSkinOfficeComboBox2->addOfficeItem(QString(), QString::fromUtf8(c.caption),
                                             glyphs::categoryImage(c.imageIndex));
    bsSkinOfficeComboBox2->setCurrentIndex(0);

    bsSkinOfficeComboBox1 = new OfficeComboBox(60, true, panel);
    bsSkinOfficeComboBox1->setObjectName(QStringLiteral("bsSkinOfficeComboBox1"));
    bsSkinOfficeComboBox1->setGeometry(204, 17, 341, 60);
    bsSkinOfficeComboBox1->view()->setMinimumWidth(341);

    // A user's choice runs the change handler, also when the position stays the same.
    connect(bsSkinOfficeComboBox2, &QComboBox::activated, this,
            &TForm1::bsSkinOfficeComboBox2Change);
    connect(bsSkinOfficeComboBox1, &QComboBox::activated, this,
            &TForm1::bsSkinOfficeComboBox1Change);

    makeLabel(panel, QStringLiteral("输出目录："), QRect(10, 90, 68, 24))
        ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Video_OutPut_Folder_Edit = new QLineEdit(panel);
    Video_OutPut_Folder_Edit->setObjectName(QStringLiteral("Video_OutPut_Folder_Edit"));
    Video_OutPut_Folder_Edit->setGeometry(79, 90, 350, 24);
    Video_OutPut_Folder_Edit->setReadOnly(true);
    bsSkinButton5 = new QPushButton(QStringLiteral("浏览"), panel);
    bsSkinButton5->setGeometry(436, 90, 52, 24);
    btnOpenFolder = new QPushButton(QStringLiteral("打开"), panel);
    btnOpenFolder->setGeometry(493, 90, 52, 24);

    makeLabel(panel, QStringLiteral("软件网站："), QRect(10, 128, 68, 24))
        ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblSite = new QLabel(panel);
    lblSite->setGeometry(79, 128, 350, 24);
    lblSite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromUtf8(kSiteUrl)));
    lblSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    lblSite->setCursor(Qt::PointingHandCursor);
    connect(lblSite, &QLabel::linkActivated, this, &TForm1::N19Click);
}

void TForm1::buildPresetsPanel(QWidget* client) {
    auto* box = new QGroupBox(QStringLiteral("预置选项"), client);
    box->setObjectName(QStringLiteral("presetsPanel"));
    place(box, 572, 87, 219, 206);

    struct Row {
        const char* label;
        QComboBox** combo;
        const char* name;
    };
    const Row rows[] = {
        {"视频分辨率：", &bsSkinComboBox1, "bsSkinComboBox1"},
        {"视频比特率：", &bsSkinComboBox2, "bsSkinComboBox2"},
        {"视频帧率：", &bsSkinComboBox9, "bsSkinComboBox9"},
        {"音频比特率：", &bsSkinComboBox3, "bsSkinComboBox3"},
        {"音频采样率：", &bsSkinComboBox10, "bsSkinComboBox10"},
        {"视频缩放：", &bsSkinComboBox4, "bsSkinComboBox4"},
    };
    int y = 24;
    for (const Row& r : rows) {
        makeLabel(box, QString::fromUtf8(r.label), QRect(8, y, 76, 24))
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* combo = new QComboBox(box);
        combo->setObjectName(QString::fromLatin1(r.name));
        combo->setGeometry(86, y, 124, 24);
        combo->setMaxVisibleItems(12);
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        *r.combo = combo;
        y += 29;
    }
}

void TForm1::buildPreviewPanel(QWidget* client) {
    bsSkinPanel3 = new QGroupBox(QStringLiteral("视频预览"), client);
    bsSkinPanel3->setObjectName(QStringLiteral("bsSkinPanel3"));
    place(bsSkinPanel3, 572, 296, 219, 226);

    // The screen is a child of the window itself and lies above the group box.
    Panel6 = new QWidget(client);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    place(Panel6, 581, 323, 200, 124);
    Panel6->setAutoFillBackground(true);
    QPalette pal = Panel6->palette();
    pal.setColor(QPalette::Window, Qt::black);
    Panel6->setPalette(pal);
    Panel6->setAttribute(Qt::WA_StyledBackground, true);
    Panel6->setStyleSheet(QStringLiteral("#Panel6 { background: black; }"));
    Panel6->raise();

    bsSkinSlider1 = new QSlider(Qt::Horizontal, bsSkinPanel3);
    bsSkinSlider1->setObjectName(QStringLiteral("bsSkinSlider1"));
    bsSkinSlider1->setGeometry(7, 154, 200, 31);
    bsSkinSlider1->setRange(0, 200);
    bsSkinSlider1->setSingleStep(5);

    using glyphs::Small;
    auto button = [this](const char* hint, int x, Small s) {
        return makeImageButton(bsSkinPanel3, QString::fromUtf8(hint), QRect(x, 186, 30, 30),
                               glyphs::small(s, false));
    };
    bsSkinButton13 = button("播放", 5, Small::Play);
    bsSkinButton14 = button("暂停", 39, Small::Pause);
    bsSkinButton15 = button("停止", 73, Small::Stop);
    bsSkinButton16 = button("静音", 109, Small::Mute);
    bsSkinButton20 = button("静音", 109, Small::Unmute);
    bsSkinButton20->hide();
    bsSkinButton22 = button("快照", 145, Small::Snapshot);
    bsSkinButton23 = button("设置", 181, Small::Settings);
}

void TForm1::buildHiddenPanel(QWidget* client) {
    // Lies outside the visible client area: nothing in the program shows it.
    auto* hidden = new QWidget(client);
    hidden->setObjectName(QStringLiteral("hiddenPanel"));
    hidden->setGeometry(kClientWidth + 100, 0, 300, 300);
    mmoLog = new QPlainTextEdit(hidden);
    mmoLog->setObjectName(QStringLiteral("mmoLog"));
    mmoLog->setGeometry(0, 0, 300, 200);
    mmoLog->setReadOnly(true);
    cboVideoDriver = new QComboBox(hidden);
    cboVideoDriver->addItems(
        {QStringLiteral("Default"), QStringLiteral("DDraw"), QStringLiteral("GDI")});
    cboVideoDriver->setGeometry(0, 210, 100, 22);
    cboAudioDriver = new QComboBox(hidden);
    cboAudioDriver->addItems(
        {QStringLiteral("Default"), QStringLiteral("DSound"), QStringLiteral("waveOut")});
    cboAudioDriver->setGeometry(110, 210, 100, 22);
    chkOpenPaused = new QCheckBox(QStringLiteral("Open Paused"), hidden);
    chkOpenPaused->setChecked(true);
    chkOpenPaused->setGeometry(0, 240, 120, 22);
}

// ---------------------------------------------------------------------------------------------
// Start-up and closing

void TForm1::FormCreate() {
    Button15Click();
    Button17Click();
    Button21Click();
    Button3Click();
    Button2Click();
    bsSkinSlider1_down_UP = QStringLiteral("UP");
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

void TForm1::FormCloseQuery() {
    // Handlers are detached before the engine is stopped, so that nothing reaches the closing
    // window while its workers wind down.
    if (detached_)
        return;
    detached_ = true;
    disconnect(FFPlayer, nullptr, this, nullptr);
    disconnect(FFVCL, nullptr, this, nullptr);
    FFVCL->Stop(true);
    FFPlayer->Stop(true);
    disconnect(FFLogger, nullptr, this, nullptr);
}

void TForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (FFPlayer)
        FFPlayer->UpdateScreenPosition();
}

void TForm1::setDialogs(about::TForm2* aboutBox, settings::TForm5* options) {
    Form2 = aboutBox;
    Form5 = options;
}

void TForm1::reportError(const QString& text) {
    if (!text.isEmpty() && services_.errorReport)
        services_.errorReport(this, text);
}

QString TForm1::sub(const QTreeWidgetItem* row, conversion::SubItem item) {
    return row->text(static_cast<int>(item) + 1);
}

void TForm1::setSub(QTreeWidgetItem* row, conversion::SubItem item, const QString& text) {
    row->setText(static_cast<int>(item) + 1, text);
}

conversion::RowColumns TForm1::rowColumns(const QTreeWidgetItem* row) {
    conversion::RowColumns c;
    c.caption = row->text(0);
    for (int i = 0; i < conversion::kSubItemCount; ++i)
        c.subItems[static_cast<std::size_t>(i)] = row->text(i + 1);
    return c;
}

void TForm1::storeRowColumns(QTreeWidgetItem* row, const conversion::RowColumns& columns) {
    if (row->text(0) != columns.caption)
        row->setText(0, columns.caption);
    for (int i = 0; i < conversion::kSubItemCount; ++i)
        if (row->text(i + 1) != columns.subItems[static_cast<std::size_t>(i)])
            row->setText(i + 1, columns.subItems[static_cast<std::size_t>(i)]);
}

void TForm1::connectHandlers() {
    connect(FFVCL, &engine::TFFmpegVCL::OnProgress, this, &TForm1::FFVCLProgress);
    connect(FFVCL, &engine::TFFmpegVCL::OnTerminate, this, &TForm1::FFVCLTerminate);
    connect(FFVCL, &engine::TFFmpegVCL::OnPreviewFrame, this, [this](int, const QImage& frame) {
        if (FFVCL->Preview() && running_)
            liveScreen_->showFrame(frame);
    });
    connect(FFLogger, &engine::TFFLogger::OnLog, this, &TForm1::FFLoggerLog);
    connect(FFPlayer, &engine::TFFPlayer::OnFileOpen, this, &TForm1::FFPlayerFileOpen);
    connect(FFPlayer, &engine::TFFPlayer::OnPosition, this, &TForm1::FFPlayerPosition);
    connect(FFPlayer, &engine::TFFPlayer::OnState, this,
            [this](engine::TPlayState state) { FFPlayerState(static_cast<int>(state)); });

    for (QAction* a : {actAddOne, ddAddOne})
        connect(a, &QAction::triggered, this, &TForm1::btnAddClick);
    for (QAction* a : {actAddMany, ddAddMany})
        connect(a, &QAction::triggered, this, &TForm1::Button8Click);
    for (QAction* a : {actAddFolder, ddAddFolder})
        connect(a, &QAction::triggered, this, &TForm1::Button12Click);
    connect(actMoveUp, &QAction::triggered, this, &TForm1::bsSkinButton3Click);
    connect(actMoveDown, &QAction::triggered, this, &TForm1::bsSkinButton4Click);
    connect(bsSkinButton3, &QToolButton::clicked, this, &TForm1::bsSkinButton3Click);
    connect(bsSkinButton4, &QToolButton::clicked, this, &TForm1::bsSkinButton4Click);
    connect(actRemove, &QAction::triggered, this, &TForm1::btnRemoveClick);
    connect(tbRemove, &QToolButton::clicked, this, &TForm1::btnRemoveClick);
    connect(actClear, &QAction::triggered, this, &TForm1::btnClearClick);
    connect(tbClear, &QToolButton::clicked, this, &TForm1::btnClearClick);
    connect(N26, &QAction::triggered, this, &TForm1::N26Click);
    connect(bsSkinButton21, &QToolButton::clicked, this, &TForm1::bsSkinButton21Click);
    connect(actStart, &QAction::triggered, this, &TForm1::btnStartClick);
    connect(tbStart, &QToolButton::clicked, this, &TForm1::btnStartClick);
    connect(actStop, &QAction::triggered, this, &TForm1::btnStopClick);
    connect(tbStop, &QToolButton::clicked, this, &TForm1::btnStopClick);
    connect(bsSkinButton5, &QPushButton::clicked, this, &TForm1::bsSkinButton5Click);
    connect(btnOpenFolder, &QPushButton::clicked, this, &TForm1::btnOpenFolderClick);

    connect(lvFiles, &QTreeWidget::itemSelectionChanged, this, &TForm1::lvFilesSelectItem);
    connect(lvFiles, &QTreeWidget::itemDoubleClicked, this, &TForm1::lvFilesDblClick);
    connect(lvFiles, &QTreeWidget::itemClicked, this, &TForm1::lvFilesClick);
    lvFiles->viewport()->installEventFilter(this);
    lvFiles->viewport()->setAcceptDrops(true);
    pnlEmptyList->setAcceptDrops(true);
    pnlEmptyList->installEventFilter(this);
    edt->installEventFilter(this);
    Video_OutPut_Folder_Edit->installEventFilter(this);
    bsSkinSlider1->installEventFilter(this);
    bsSkinButton23->installEventFilter(this);
    // "转换进度" is sub-item 3, column 4
    lvFiles->setItemDelegateForColumn(4, new ProgressDelegate(lvFiles));

    // a user's choice of a preset runs its handler when the shown text changes
    for (catalogue::PresetKind k : catalogue::kPresetFillOrder)
        connect(presetCombo(k), &QComboBox::activated, this,
                [this, k](int position) { selectPreset(k, position); });

    connect(bsSkinButton13, &QToolButton::clicked, this, &TForm1::bsSkinButton13Click);
    connect(bsSkinButton14, &QToolButton::clicked, this, &TForm1::bsSkinButton14Click);
    connect(bsSkinButton15, &QToolButton::clicked, this, &TForm1::bsSkinButton15Click);
    connect(bsSkinButton16, &QToolButton::clicked, this, &TForm1::bsSkinButton16Click);
    connect(bsSkinButton20, &QToolButton::clicked, this, &TForm1::bsSkinButton20Click);
    connect(bsSkinButton22, &QToolButton::clicked, this, &TForm1::bsSkinButton22Click);
    connect(bsSkinButton23, &QToolButton::clicked, this, &TForm1::bsSkinButton23Click);

    liveScreen_ = new PreviewScreen(Panel6);
    liveScreen_->setGeometry(0, 0, Panel6->width(), Panel6->height());
    liveScreen_->hide();
}

// ---------------------------------------------------------------------------------------------
// Groups and states

void TForm1::enterState(WindowState state) {
    applyGroups(appstate::enter(state, groups_));
}

void TForm1::applyGroups(const appstate::GroupStates& next) {
    struct Members {
        Group group;
        QWidget* tool;
        std::vector<QAction*> menu;
    };
    const Members members[] = {
        {Group::Add,
         tbAdd,
         {actAddOne, actAddMany, actAddFolder, ddAddOne, ddAddMany, ddAddFolder}},
        {Group::Remove, tbRemove, {actRemove}},
        {Group::Rename, bsSkinButton21, {N26}},
        {Group::Clear, tbClear, {actClear}},
        {Group::Start, tbStart, {actStart}},
        {Group::Stop, tbStop, {actStop}},
        {Group::Pause, tbPause, {actPause}},
        {Group::Resume, tbResume, {actResume}},
    };
    for (const Members& m : members) {
        const auto& want = appstate::at(next, m.group);
        auto& have = appstate::at(groups_, m.group);
        if (want == have)
            continue;
        m.tool->setEnabled(want.tool);
        for (QAction* a : m.menu)
            a->setEnabled(want.menu);
        // the tool button shows the glyph that matches its state
        const auto& pair = glyphs_[static_cast<std::size_t>(m.group)];
        if (auto* b = qobject_cast<QToolButton*>(m.tool)) {
            b->setIcon(want.tool ? pair.normal : pair.greyed);
            b->setProperty("normalGlyph", want.tool);
            b->update();
        }
        have = want;
    }
    const auto& settings = appstate::at(next, Group::Settings);
    if (!(settings == appstate::at(groups_, Group::Settings))) {
        appstate::at(groups_, Group::Settings) = settings;
        if (settings.tool)
            Button23Click();
        else
            Button22Click();
    }
}

bool TForm1::showsNormalGlyph(Group group) const {
    const QWidget* tool = nullptr;
    switch (group) {
    case Group::Add:
        tool = tbAdd;
        break;
    case Group::Remove:
        tool = tbRemove;
        break;
    case Group::Rename:
        tool = bsSkinButton21;
        break;
    case Group::Clear:
        tool = tbClear;
        break;
    case Group::Start:
        tool = tbStart;
        break;
    case Group::Stop:
        tool = tbStop;
        break;
    case Group::Pause:
        tool = tbPause;
        break;
    case Group::Resume:
        tool = tbResume;
        break;
    case Group::Settings:
        return false;
    }
    return tool->property("normalGlyph").toBool();
}

std::array<QComboBox*, 6> TForm1::presetCombos() const {
    // frame size, video bit rate, audio bit rate, aspect mode, frame rate, sample rate
    return {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
            bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
}

void TForm1::setSettingsEnabled(bool on) {
    for (QComboBox* c : presetCombos())
        c->setEnabled(on);
    bsSkinOfficeComboBox2->setEnabled(on);
    bsSkinOfficeComboBox2->update();
    bsSkinOfficeComboBox1->setEnabled(on);
    bsSkinButton5->setEnabled(on);
}

void TForm1::Button22Click() {
    setSettingsEnabled(false);
}
void TForm1::Button23Click() {
    setSettingsEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Log

void TForm1::log(const QString& line) {
    mmoLog->appendPlainText(line);
}

QStringList TForm1::logLines() const {
    return mmoLog->toPlainText().split(QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------------------------
// Shell commands

void TForm1::N15Click() {
    services_.openUrl(QUrl::fromLocalFile(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help.chm"))));
}

void TForm1::N19Click() {
    services_.openUrl(QUrl(QString::fromUtf8(kSiteUrl)));
}

void TForm1::N5Click() {
    if (Form2)
        services_.execDialog(Form2);
}

void TForm1::bsSkinButton19Click() {
    if (Form5)
        services_.execDialog(Form5);
}

void TForm1::bsSkinButton9Click() {
    try {
        skins::ChooseSkin(*skin_, ini_, this, services_.skinChooser);
    } catch (const settings::SettingsWriteError& e) {
        reportError(e.text());
    }
}

// ---------------------------------------------------------------------------------------------
// Steps whose rules live in the settings library

void TForm1::Button17Click() {
    const auto folder = settings::LoadOutputFolder(ini_);
    Video_OutPut_Folder_Edit->setText(folder.value);
    FileOutPutPath = folder.value;
    folderChooserStart_ = folder.value;
    reportError(folder.writeError);
}

void TForm1::Button16Click() {
    try {
        settings::SaveOutputFolder(ini_, FileOutPutPath);
    } catch (const settings::SettingsWriteError& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void TForm1::Button3Click() {
    reportError(skins::LoadSkinSetting(*skin_, ini_));
}

void TForm1::Button4Click() {
    try {
        skins::SaveSkinSetting(*skin_, ini_);
    } catch (const settings::SettingsWriteError& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}
