#include "OptionsDialog.h"

#include "IniFileHelpers.h"
#include "QtPrinters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using settings::SettingsFile;
using settings::TForm5;

namespace {

class OptionsDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString iniPath = dir.filePath(QStringLiteral("option.ini"));
    std::vector<bool> previews;  // what the conversion component was told, in order
    std::vector<QString> errors; // what reached the error report

    std::unique_ptr<TForm5> make(const QString& path, QWidget* parent = nullptr) {
        return std::make_unique<TForm5>(
            SettingsFile(path), [this](bool on) { previews.push_back(on); }, parent,
            [this](QWidget*, const QString& text) { errors.push_back(text); });
    }
    std::unique_ptr<TForm5> make() { return make(iniPath); }

    void put(const QByteArray& bytes) { putFile(iniPath, bytes); }
    QByteArray bytes() const { return fileBytes(iniPath); }
};

template <typename W> W* byText(const QWidget& parent, const QString& text) {
    for (W* w : parent.findChildren<W*>())
        if (w->text() == text)
            return w;
    ADD_FAILURE() << "no control \"" << text.toStdString() << '"';
    return nullptr;
}

QStringList radioTexts(const QGroupBox& box) {
    QStringList texts;
    for (const QRadioButton* r : box.findChildren<QRadioButton*>())
        texts << r->text();
    return texts;
}

QGroupBox* frameTitled(const QWidget& dialog, const QString& title) {
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (box->title() == title)
            return box;
    ADD_FAILURE() << "no frame \"" << title.toStdString() << '"';
    return nullptr;
}

const QByteArray kStored = "[Options]\nThread_Count=7\nAfter_Done=1\nThread_Priority=0\n"
                           "Overwrite_File=0\nShow_Preview=1\n";

TEST_F(OptionsDialogTest, CaptionsFramesAndControlsAreThoseOfTheOptionsDialog) {
    const auto dialog = make();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("选项"));
    EXPECT_EQ(dialog->minimumSize(), QSize(561, 537));
    EXPECT_EQ(dialog->maximumSize(), QSize(561, 537));
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);

    const QGroupBox* afterDone = frameTitled(*dialog, QStringLiteral("转换工作完成后"));
    const QGroupBox* overwrite = frameTitled(*dialog, QStringLiteral("如果输出文件存在时"));
    const QGroupBox* parameters = frameTitled(*dialog, QStringLiteral("转换参数"));
    const QGroupBox* priority = frameTitled(*dialog, QStringLiteral("转换时CPU利用方式"));
    ASSERT_TRUE(afterDone && overwrite && parameters && priority);
    EXPECT_EQ(dialog->findChildren<QGroupBox*>().size(), 4);
    EXPECT_EQ(radioTexts(*afterDone),
              (QStringList{QStringLiteral("自动打开输出文件夹"), QStringLiteral("自动关闭计算机"),
                           QStringLiteral(" 播放提示音乐"), QStringLiteral("不进行任何操作")}));
    EXPECT_EQ(radioTexts(*overwrite), (QStringList{QStringLiteral("直接覆盖输出文件"),
                                                   QStringLiteral("自动重命名输出文件")}));
    EXPECT_EQ(radioTexts(*priority),
              (QStringList{QStringLiteral("系统空闲时进行"), QStringLiteral("最低优先级进行"),
                           QStringLiteral("较低优先级进行"), QStringLiteral("正常优先级进行")}));

    // Arrangement: two frames side by side at the top, then two full-width ones; the
    // priorities in two rows of two.
    EXPECT_EQ(afterDone->y(), overwrite->y());
    EXPECT_LT(afterDone->geometry().right(), overwrite->x());
    EXPECT_GT(parameters->y(), afterDone->geometry().bottom());
    EXPECT_GT(priority->y(), parameters->geometry().bottom());
    EXPECT_GT(parameters->width(), 500);
    EXPECT_EQ(priority->width(), parameters->width());
    const auto priorities = priority->findChildren<QRadioButton*>();
    EXPECT_EQ(priorities[0]->y(), priorities[1]->y());
    EXPECT_EQ(priorities[2]->y(), priorities[3]->y());
    EXPECT_LT(priorities[0]->y(), priorities[2]->y());
    for (const QGroupBox* box : dialog->findChildren<QGroupBox*>())
        EXPECT_TRUE(dialog->rect().contains(box->geometry())) << box->title().toStdString();

    const auto* combo = parameters->findChild<QComboBox*>();
    ASSERT_TRUE(combo);
    EXPECT_FALSE(combo->isEditable());
    ASSERT_EQ(combo->count(), 19);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(combo->itemText(i), QString::number(i + 1));
    EXPECT_EQ(combo->maxVisibleItems(), 8);
    EXPECT_TRUE(byText<QLabel>(*parameters,
                               QStringLiteral("程序最大运行线程数--（同时进行转换的文件个数）")));
    EXPECT_TRUE(byText<QCheckBox>(*parameters, QStringLiteral("转换时进行实时视频预览")));
    const QPushButton* ok = byText<QPushButton>(*dialog, QStringLiteral("确定"));
    const QPushButton* cancel = byText<QPushButton>(*dialog, QStringLiteral("取消"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_GT(ok->x(), dialog->width() / 2); // bottom right
    EXPECT_GT(ok->y(), priority->geometry().bottom());
    EXPECT_LT(ok->x(), cancel->x());
}

TEST_F(OptionsDialogTest, FirstStartShowsTheDefaultsAndTellsTheComponentPreviewIsOff) {
    const auto dialog = make();
    EXPECT_EQ(dialog->afterDone(), 0);
    EXPECT_TRUE(byText<QRadioButton>(*dialog, QStringLiteral("自动打开输出文件夹"))->isChecked());
    EXPECT_FALSE(dialog->overwrite());
    EXPECT_TRUE(byText<QRadioButton>(*dialog, QStringLiteral("自动重命名输出文件"))->isChecked());
    EXPECT_EQ(dialog->priority(), 3);
    EXPECT_EQ(dialog->threadCountText(), QStringLiteral("1"));
    EXPECT_EQ(dialog->threadCount(), 1);
    EXPECT_FALSE(dialog->showPreview());
    EXPECT_EQ(previews, std::vector<bool>{false});
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(bytes(), QByteArray("[Options]\nThread_Count=0\nAfter_Done=0\nThread_Priority=3\n"
                                  "Overwrite_File=1\nShow_Preview=0\n"));
}

TEST_F(OptionsDialogTest, StoredChoicesAreShownAndTheStoredPreviewReachesTheComponent) {
    put(kStored);
    const auto dialog = make();
    EXPECT_EQ(dialog->threadCountText(), QStringLiteral("7"));
    EXPECT_EQ(dialog->threadCount(), 7);
    EXPECT_EQ(dialog->afterDone(), 1);
    EXPECT_TRUE(byText<QRadioButton>(*dialog, QStringLiteral("自动关闭计算机"))->isChecked());
    EXPECT_EQ(dialog->priority(), 0);
    EXPECT_TRUE(dialog->overwrite());
    EXPECT_TRUE(dialog->showPreview());
    EXPECT_EQ(previews, std::vector<bool>{true});
    EXPECT_EQ(bytes(), kStored);
}

TEST_F(OptionsDialogTest, CancelKeepsTheChangesInForceButStoresNothing) {
    put(kStored);
    const auto dialog = make();
    dialog->open();
    byText<QRadioButton>(*dialog, QStringLiteral("不进行任何操作"))->click();
    byText<QRadioButton>(*dialog, QStringLiteral("自动重命名输出文件"))->click();
    byText<QRadioButton>(*dialog, QStringLiteral("较低优先级进行"))->click();
    dialog->findChild<QComboBox*>()->setCurrentIndex(18);
    byText<QPushButton>(*dialog, QStringLiteral("取消"))->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->afterDone(), 3);
    EXPECT_FALSE(dialog->overwrite());
    EXPECT_EQ(dialog->priority(), 2);
    EXPECT_EQ(dialog->threadCountText(), QStringLiteral("19"));
    EXPECT_EQ(bytes(), kStored);

    // Opened again, it shows the controls as they were left; the file is not read again.
    put("[Options]\nAfter_Done=2\n");
    dialog->open();
    EXPECT_EQ(dialog->afterDone(), 3);
    EXPECT_EQ(dialog->threadCountText(), QStringLiteral("19"));
}

TEST_F(OptionsDialogTest, EscapeClosesLikeCancel) {
    put(kStored);
    const auto dialog = make();
    dialog->open();
    byText<QRadioButton>(*dialog, QStringLiteral(" 播放提示音乐"))->click();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->afterDone(), 2);
    EXPECT_EQ(bytes(), kStored);
}

TEST_F(OptionsDialogTest, OkStoresTheControlsInWriteOrderAndAStoredZeroBecomesOne) {
    put("[Options]\nThread_Count=0\nAfter_Done=0\nThread_Priority=3\nOverwrite_File=1\n"
        "Show_Preview=0\n");
    const auto dialog = make();
    dialog->open();
    byText<QPushButton>(*dialog, QStringLiteral("确定"))->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(bytes(), QByteArray("[Options]\nThread_Count=1\nAfter_Done=0\nThread_Priority=3\n"
                                  "Overwrite_File=1\nShow_Preview=0\n"));

    // A new file gets the keys in the order they are written.
    QFile::remove(iniPath);
    dialog->open();
    dialog->findChild<QComboBox*>()->setCurrentIndex(18);
    byText<QCheckBox>(*dialog, QStringLiteral("转换时进行实时视频预览"))->click();
    byText<QRadioButton>(*dialog, QStringLiteral("系统空闲时进行"))->click();
    byText<QRadioButton>(*dialog, QStringLiteral("直接覆盖输出文件"))->click();
    byText<QRadioButton>(*dialog, QStringLiteral("自动关闭计算机"))->click();
    byText<QPushButton>(*dialog, QStringLiteral("确定"))->click();
    EXPECT_EQ(bytes(), QByteArray("[Options]\nThread_Count=19\nAfter_Done=1\nShow_Preview=1\n"
                                  "Thread_Priority=0\nOverwrite_File=0\n"));
}

TEST_F(OptionsDialogTest, PreviewBoxReachesTheComponentAtOnceWhicheverButtonCloses) {
    const auto dialog = make();
    previews.clear();
    dialog->open();
    QCheckBox* box = byText<QCheckBox>(*dialog, QStringLiteral("转换时进行实时视频预览"));
    box->click();
    EXPECT_EQ(previews, std::vector<bool>{true});
    box->click();
    box->click();
    EXPECT_EQ(previews, (std::vector<bool>{true, false, true}));
    const QByteArray stored = bytes();
    byText<QPushButton>(*dialog, QStringLiteral("取消"))->click();
    EXPECT_EQ(previews.size(), 3u);
    EXPECT_EQ(bytes(), stored);
}

TEST_F(OptionsDialogTest, FailedSaveIsReportedAndTheDialogStaysOpenWithTheChoices) {
    const QString folder = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/option.ini");
    const auto dialog = make(path);
    ASSERT_TRUE(errors.empty());
    ASSERT_TRUE(QDir(folder).removeRecursively()); // the file can no longer be written

    dialog->open();
    byText<QRadioButton>(*dialog, QStringLiteral("不进行任何操作"))->click();
    byText<QPushButton>(*dialog, QStringLiteral("确定"))->click();
    EXPECT_EQ(errors, std::vector<QString>{QStringLiteral("Unable to write to ") +
                                           SettingsFile(path).path()});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->afterDone(), 3);
    dialog->reject();
}

TEST_F(OptionsDialogTest, FailedWriteBackWhileLoadingIsReportedOnce) {
    const auto dialog = make(dir.filePath(QStringLiteral("gone/option.ini")));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Unable to write to ")));
    EXPECT_EQ(dialog->afterDone(), 0);
    EXPECT_EQ(dialog->priority(), 3);
}

TEST_F(OptionsDialogTest, PriorityFollowsTheCheckedChoice) {
    const auto dialog = make();
    const QString texts[] = {QStringLiteral("系统空闲时进行"), QStringLiteral("最低优先级进行"),
                             QStringLiteral("较低优先级进行"), QStringLiteral("正常优先级进行")};
    for (int i : {2, 0, 3, 1}) {
        byText<QRadioButton>(*dialog, texts[i])->click();
        EXPECT_EQ(dialog->priority(), i);
    }
}

TEST_F(OptionsDialogTest, OpensCentredOnTheMainWindow) {
    QWidget window;
    window.setGeometry(110, 40, 600, 520); // room on the 800 × 600 offscreen screen
    window.show();
    const auto dialog = make(iniPath, &window);
    dialog->open();
    const QPoint offset = dialog->geometry().center() - window.geometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    dialog->reject();
}

} // namespace
