#include "MainWindow.h"
#include "OfficeComboBox.h"
#include "QtPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using appstate::Group;
using appstate::WindowState;

namespace {

WindowServices quietServices() {
    WindowServices s;
    s.openFileName = [](QWidget*, const QString&, const QString&) { return QString(); };
    s.openFileNames = [](QWidget*, const QString&, const QString&) { return QStringList(); };
    s.existingDirectory = [](QWidget*, const QString&, const QString&) { return QString(); };
    s.message = [](QWidget*, QMessageBox::Icon, const QString&, const QString&) {};
    s.openUrl = [](const QUrl&) {};
    s.errorReport = [](QWidget*, const QString&) {};
    s.skinChooser = [](QWidget*, int) { return std::optional<int>(); };
    s.execDialog = [](QWidget*) {};
    return s;
}

struct Expect {
    bool tool, menu;
};

// What each group shows in each state, as the user sees it; 'K' marks "as before".
struct StateRow {
    WindowState state;
    const char* groups; // Add Remove Rename Clear Start Stop Pause Resume Settings: 1, 0, t, K
};

const StateRow kStates[] = {
    {WindowState::Empty, "100000001"},      {WindowState::Ready, "111110001"},
    {WindowState::Converting, "000001100"}, {WindowState::Paused, "000001010"},
    {WindowState::Stopped, "0000t0KK1"},    {WindowState::Finished, "0001K0001"},
};

std::vector<QAction*> menuItems(TForm1& w, Group g) {
    switch (g) {
    case Group::Add:
        return {w.actAddOne, w.actAddMany, w.actAddFolder, w.ddAddOne, w.ddAddMany, w.ddAddFolder};
    case Group::Remove:
        return {w.actRemove};
    case Group::Rename:
        return {w.N26};
    case Group::Clear:
        return {w.actClear};
    case Group::Start:
        return {w.actStart};
    case Group::Stop:
        return {w.actStop};
    case Group::Pause:
        return {w.actPause};
    case Group::Resume:
        return {w.actResume};
    case Group::Settings:
        return {};
    }
    return {};
}

QWidget* toolOf(TForm1& w, Group g) {
    switch (g) {
    case Group::Add:
        return w.tbAdd;
    case Group::Remove:
        return w.tbRemove;
    case Group::Rename:
        return w.bsSkinButton21;
    case Group::Clear:
        return w.tbClear;
    case Group::Start:
        return w.tbStart;
    case Group::Stop:
        return w.tbStop;
    case Group::Pause:
        return w.tbPause;
    case Group::Resume:
        return w.tbResume;
    case Group::Settings:
        return w.bsSkinButton5;
    }
    return nullptr;
}

void expectGroup(TForm1& w, Group g, Expect e, const std::string& where) {
    const std::string name = std::string(appstate::groupName(g)) + " in " + where;
    if (g == Group::Settings) {
        for (QWidget* c : std::initializer_list<QWidget*>{
                 w.bsSkinComboBox1, w.bsSkinComboBox2, w.bsSkinComboBox3, w.bsSkinComboBox4,
                 w.bsSkinComboBox9, w.bsSkinComboBox10, w.bsSkinOfficeComboBox2,
                 w.bsSkinOfficeComboBox1, w.bsSkinButton5})
            EXPECT_EQ(c->isEnabled(), e.tool) << name << " " << c->objectName().toStdString();
        return;
    }
    EXPECT_EQ(toolOf(w, g)->isEnabled(), e.tool) << name << " tool button";
    EXPECT_EQ(w.showsNormalGlyph(g), e.tool) << name << " glyph";
    for (QAction* a : menuItems(w, g))
        EXPECT_EQ(a->isEnabled(), e.menu) << name << " menu " << a->text().toStdString();
}

void expectRow(TForm1& w, const StateRow& row, const appstate::GroupStates& before) {
    for (int g = 0; g < appstate::kGroupCount; ++g) {
        const Group group = static_cast<Group>(g);
        Expect e{};
        switch (row.groups[g]) {
        case '1':
            e = {true, true};
            break;
        case '0':
            e = {false, false};
            break;
        case 't':
            e = {true, false};
            break;
        case 'K':
            e = {appstate::at(before, group).tool, appstate::at(before, group).menu};
            break;
        }
        expectGroup(w, group, e, std::string(appstate::stateName(row.state)));
    }
}

} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { w = makeWindow(); }
    std::unique_ptr<TForm1> makeWindow() {
        return std::make_unique<TForm1>(
            settings::SettingsFile(dir.filePath(QStringLiteral("option.ini"))), quietServices());
    }
    QTemporaryDir dir;
    std::unique_ptr<TForm1> w;
};

TEST_F(MainWindowTest, OpensEmptyAtFlashVideoWithFormat1100) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("晨帆FLV视频转换器"));
    EXPECT_EQ(w->size(), QSize(804, 542));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->bsSkinOfficeComboBox2->currentIndex(), 0);
    EXPECT_EQ(w->bsSkinOfficeComboBox2->caption(0), QStringLiteral("Flash视频"));
    ASSERT_EQ(w->bsSkinOfficeComboBox1->count(), 4);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->currentIndex(), 0);
    EXPECT_EQ(w->currentFormatCode(), 1100);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->title(0), QStringLiteral("FLV在线网络视频(*.flv)"));
    EXPECT_EQ(w->bsSkinOfficeComboBox1->title(3),
              QStringLiteral("SWF动画视频FLASH动画音频格式(*.swf)"));
    expectRow(*w, kStates[0], w->groupStates());
    EXPECT_TRUE(w->pnlEmptyList->isVisibleTo(w.get()));
    EXPECT_EQ(w->bsSkinSlider1_down_UP, QStringLiteral("UP"));
    // "暂停" is the one seen of the two stacked buttons
    EXPECT_TRUE(w->tbPause->isVisibleTo(w.get()));
    EXPECT_FALSE(w->tbResume->isVisibleTo(w.get()));
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
    const QList<QAction*> menus = w->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    auto texts = [](QMenu* m) {
        QStringList t;
        for (QAction* a : m->actions())
            t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return t;
    };
    EXPECT_EQ(texts(w->menuFile),
              QStringList({"添加一个文件", "添加多个文件", "添加整个目录", "-", "退出"}));
    EXPECT_EQ(texts(w->menuEdit),
              QStringList({"上移文件", "下移文件", "-", "删除选择", "清空文件", "-", "重新命名"}));
    EXPECT_EQ(texts(w->menuAction),
              QStringList({"开始转换", "停止转换", "-", "暂停转换", "继续继续"}));
    EXPECT_EQ(texts(w->menuFunction), QStringList({"转换设置", "软件皮肤"}));
    EXPECT_EQ(texts(w->menuHelp), QStringList({"帮助系统", "-", "官方网站", "关于软件"}));
    EXPECT_EQ(w->N15->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(texts(w->addMenu), QStringList({"添加一个文件", "添加多个文件", "添加整个目录"}));
}

TEST_F(MainWindowTest, EveryStateEnablesExactlyItsGroups) {
    // Walk the states in the orders a run takes, checking every group after each step.
    const std::vector<std::vector<int>> paths = {
        {1, 2, 4, 5},    // Ready, Converting, Stopped (Pause still on), Finished
        {1, 2, 3, 4},    // ... Paused, Stopped (Resume still on)
        {1, 2, 5, 0},    // Converting, Finished, Empty (Clear)
        {1, 2, 4, 2, 5}, // Stopped, then Start again, then Finished
    };
    for (const auto& path : paths) {
        w = makeWindow();
        for (int s : path) {
            const auto before = w->groupStates();
            w->enterState(kStates[s].state);
            expectRow(*w, kStates[s], before);
        }
    }
}

TEST_F(MainWindowTest, PauseAndResumeSwapTheStackedButtons) {
    w->enterState(WindowState::Ready);
    w->enterState(WindowState::Converting);
    const auto afterStart = w->groupStates();
    w->actPause->trigger();
    EXPECT_FALSE(w->tbPause->isVisibleTo(w.get()));
    EXPECT_TRUE(w->tbResume->isVisibleTo(w.get()));
    expectGroup(*w, Group::Pause, {false, false}, "after pause");
    expectGroup(*w, Group::Resume, {true, true}, "after pause");
    w->tbResume->click();
    EXPECT_TRUE(w->tbPause->isVisibleTo(w.get()));
    EXPECT_FALSE(w->tbResume->isVisibleTo(w.get()));
    EXPECT_EQ(w->groupStates(), afterStart);
}

TEST_F(MainWindowTest, CategoryChangeRefillsTheFormatsAndSelectsTheFirst) {
    w->selectCategory(2);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->count(), 13);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->currentIndex(), 0);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->title(0),
              QStringLiteral("MP3 - MPEG Layer-3音频格式(*.mp3)"));
    EXPECT_EQ(w->currentFormatCode(), 100);

    w->selectFormat(12);
    EXPECT_EQ(w->currentFormatCode(), 112);
    // a user's choice of the same category refills the list and starts again at position 0
    w->bsSkinOfficeComboBox2->activated(2);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->currentIndex(), 0);
    EXPECT_EQ(w->currentFormatCode(), 100);

    w->selectCategory(6);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->count(), 13);
    w->selectFormat(12);
    EXPECT_EQ(w->currentFormatCode(), 2512);
    w->selectCategory(3);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->count(), 16);
    EXPECT_EQ(w->currentFormatCode(), 2400);
}

TEST_F(MainWindowTest, ListHasTheVisibleAndHiddenColumns) {
    ASSERT_EQ(w->lvFiles->columnCount(), 25);
    const QStringList visible = {"输入文件", "视频时间", "文件大小", "输出文件",
                                 "转换进度", "当前时间", "转换大小"};
    QStringList shown;
    for (int i = 0; i < 25; ++i)
        if (!w->lvFiles->isColumnHidden(i))
            shown << w->lvFiles->headerItem()->text(i);
    EXPECT_EQ(shown, visible);
    EXPECT_EQ(w->lvFiles->headerItem()->text(9), QStringLiteral("视频类别"));
    EXPECT_EQ(w->lvFiles->headerItem()->text(24), QStringLiteral("NormType"));
    EXPECT_EQ(w->lvFiles->selectionMode(), QAbstractItemView::SingleSelection);
}
