// The window driven as a user drives it, with the real engine on short generated clips and
// injected dialogs (no real modal dialog, no power-off, no sound).
#include "FFPlayer.h"
#include "FFmpegVCL.h"
#include "MainWindow.h"
#include "OfficeComboBox.h"
#include "OptionsDialog.h"
#include "PlatformServices.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using S = conversion::SubItem;

namespace {

struct Recorder {
    QStringList messages;
    QStringList opened;
    QString nextFile;
    QStringList nextFiles;
    QString nextFolder;
    int powerOffs = 0;
    int sounds = 0;
};

class FakePower : public platform::PowerControl {
public:
    explicit FakePower(Recorder* r) : r_(r) {}
    bool SetPrivilege(const QString&, bool) override { return true; }
    bool PowerOff() override {
        ++r_->powerOffs;
        return true;
    }

private:
    Recorder* r_;
};

class FakeSound : public platform::SoundPlayer {
public:
    explicit FakeSound(Recorder* r) : r_(r) {}
    void PlayAsync(const QString&) override { ++r_->sounds; }

private:
    Recorder* r_;
};

WindowServices recordingServices(Recorder* r) {
    WindowServices s;
    s.openFileName = [r](QWidget*, const QString&, const QString&) { return r->nextFile; };
    s.openFileNames = [r](QWidget*, const QString&, const QString&) { return r->nextFiles; };
    s.existingDirectory = [r](QWidget*, const QString&, const QString&) { return r->nextFolder; };
    s.message = [r](QWidget*, QMessageBox::Icon, const QString& caption, const QString& text) {
        r->messages << caption + QStringLiteral("|") + text;
    };
    s.openUrl = [r](const QUrl& url) { r->opened << url.toString(); };
    s.errorReport = [r](QWidget*, const QString& text) { r->messages << text; };
    s.skinChooser = [](QWidget*, int) { return std::optional<int>(); };
    s.execDialog = [](QWidget*) {};
    s.power = std::make_shared<FakePower>(r);
    s.sound = std::make_shared<FakeSound>(r);
    return s;
}

// Clips shared by the tests of this file, made once.
class Clips {
public:
    static Clips& get() {
        static Clips clips;
        return clips;
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    Clips() {
        for (const char* n : {"a.avi", "b.avi", "c.avi"})
            testmedia::makeAvClip(dir_.filePath(QString::fromLatin1(n)), 1.0, 160, 120);
        testmedia::makeAvClip(dir_.filePath(QStringLiteral("clip.mp4")), 1.5, 160, 120);
        testmedia::makeAvClip(dir_.filePath(QStringLiteral("longer.avi")), 2.6, 160, 120);
        // A raw H.264 stream: no container, so nothing tells its duration.
        testmedia::makeClip(dir_.filePath(QStringLiteral("raw.h264")),
                            {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=3"},
                            {"-c:v", "libx264"});
        QFile text(dir_.filePath(QStringLiteral("notes.txt")));
        if (text.open(QIODevice::WriteOnly))
            text.write("not a video\n");
    }
    QTemporaryDir dir_;
};

} // namespace

class WindowFlow : public ::testing::Test {
protected:
    void SetUp() override {
        out.mkpath(QStringLiteral("out"));
        QFile ini(dir.filePath(QStringLiteral("option.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[OutPath]\nOutPath=%1\n")
                      .arg(QDir::toNativeSeparators(outFolder()))
                      .toUtf8());
        ini.close();
        makeWindow();
    }
    void makeWindow() {
        const settings::SettingsFile file(dir.filePath(QStringLiteral("option.ini")));
        w = std::make_unique<TForm1>(file, recordingServices(&rec));
        opts = std::make_unique<settings::TForm5>(
            file, [this](bool on) { w->FFVCL->SetPreview(on); }, w.get(),
            [](QWidget*, const QString&) {});
        w->setDialogs(nullptr, opts.get());
    }
    QString outFolder() const { return dir.filePath(QStringLiteral("out")); }
    QString col(int row, S s) const {
        return w->lvFiles->topLevelItem(row)->text(static_cast<int>(s) + 1);
    }
    int rows() const { return w->lvFiles->topLevelItemCount(); }
    void addOne(const QString& path) {
        rec.nextFile = path;
        w->actAddOne->trigger();
    }
    // Runs the event loop until the window reaches Finished (Stop off, Clear on) or time ends.
    bool waitFinished(int ms = 60000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QTest::qWait(50);
            if (!w->FFVCL->Running() && w->tbClear->isEnabled() && !w->tbStop->isEnabled())
                return true;
        }
        return false;
    }

    QTemporaryDir dir;
    QDir out{dir.path()};
    Recorder rec;
    std::unique_ptr<TForm1> w;
    std::unique_ptr<settings::TForm5> opts;
};

TEST_F(WindowFlow, AddingAClipFillsItsRowAndKeepsTheShownPresets) {
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(w->lvFiles->topLevelItem(0)->text(0), Clips::get().path(QStringLiteral("clip.mp4")));
    EXPECT_EQ(col(0, S::Duration), QStringLiteral("00:00:01"));
    EXPECT_TRUE(col(0, S::FileSize).endsWith(QStringLiteral("MB")));
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("clip.flv"));
    EXPECT_EQ(col(0, S::TaskNumber), QStringLiteral("1"));
    EXPECT_EQ(col(0, S::FormatKey), QStringLiteral("100"));
    EXPECT_EQ(col(0, S::PresetPositions), QStringLiteral("000310000901"));
    EXPECT_EQ(col(0, S::AudioCodec), QStringLiteral("libmp3lame"));
    EXPECT_EQ(col(0, S::FileExt), QStringLiteral(".flv"));
    // what "816 kbps" says, also after the selection that ends the add
    EXPECT_EQ(col(0, S::VideoBitrate), QStringLiteral("816000"));
    EXPECT_EQ(col(0, S::FrameRate), QStringLiteral("25.00"));
    EXPECT_EQ(col(0, S::SampleRate), QStringLiteral("22050"));
    EXPECT_EQ(col(0, S::DisableVideo), QStringLiteral("False"));
    EXPECT_EQ(w->selectedRowIndex(), 0);
    EXPECT_FALSE(w->pnlEmptyList->isVisibleTo(w.get()));
    EXPECT_TRUE(w->tbStart->isEnabled());
    EXPECT_TRUE(w->logLines().contains(QStringLiteral("***Can do convert.")));
}

TEST_F(WindowFlow, AddingANewFileNeverRewritesTheSelectedRow) {
    addOne(Clips::get().path(QStringLiteral("a.avi")));
    w->selectPreset(catalogue::PresetKind::VideoBitrate, 5); // "1600 kbps"
    EXPECT_EQ(col(0, S::VideoBitrate), QStringLiteral("1600000"));
    addOne(Clips::get().path(QStringLiteral("b.avi")));
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(col(0, S::VideoBitrate), QStringLiteral("1600000"));
    EXPECT_EQ(col(1, S::VideoBitrate), QStringLiteral("1600000"));
    // back on row A, the lists show A's own choice
    w->selectRow(0);
    EXPECT_EQ(w->bsSkinComboBox2->currentText(), QStringLiteral("1600 kbps"));
    EXPECT_EQ(col(0, S::VideoBitrate), QStringLiteral("1600000"));
}

TEST_F(WindowFlow, SelectingARowRestoresItsFormatAndPresets) {
    addOne(Clips::get().path(QStringLiteral("a.avi")));
    w->selectCategory(2); // 常用音频, with row A selected: A becomes an MP3 row
    w->selectFormat(2);   // WAV
    EXPECT_EQ(col(0, S::FormatKey), QStringLiteral("302"));
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("a.wav"));
    EXPECT_EQ(col(0, S::DisableVideo), QStringLiteral("True"));
    // the lists move away; selecting the row brings back the third category, third format
    w->lvFiles->clearSelection();
    w->selectCategory(0);
    w->selectRow(0);
    EXPECT_EQ(w->bsSkinOfficeComboBox2->currentIndex(), 2);
    EXPECT_EQ(w->bsSkinOfficeComboBox1->currentIndex(), 2);
    EXPECT_FALSE(w->bsSkinComboBox1->isEnabled());
    // a letter in the stored positions restores nothing
    w->lvFiles->topLevelItem(0)->setText(static_cast<int>(S::PresetPositions) + 1,
                                         QStringLiteral("00a310000901"));
    w->lvFiles->clearSelection();
    w->selectCategory(4);
    w->selectRow(0);
    EXPECT_EQ(w->bsSkinOfficeComboBox2->currentIndex(), 4);
}

TEST_F(WindowFlow, SeveralFilesComeInReverseAndNonMediaIsSkipped) {
    rec.nextFiles = {
        Clips::get().path(QStringLiteral("a.avi")), Clips::get().path(QStringLiteral("notes.txt")),
        Clips::get().path(QStringLiteral("b.avi")), Clips::get().path(QStringLiteral("c.avi"))};
    w->actAddMany->trigger();
    ASSERT_EQ(rows(), 3);
    EXPECT_TRUE(w->lvFiles->topLevelItem(0)->text(0).endsWith(QStringLiteral("c.avi")));
    EXPECT_TRUE(w->lvFiles->topLevelItem(2)->text(0).endsWith(QStringLiteral("a.avi")));
    EXPECT_EQ(w->selectedRowIndex(), 2);
    EXPECT_TRUE(w->logLines().join('\n').contains(QStringLiteral("***File load error: ")));

    // a non-media file alone adds nothing and changes no group
    const auto groups = w->groupStates();
    addOne(Clips::get().path(QStringLiteral("notes.txt")));
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(w->groupStates(), groups);
}

TEST_F(WindowFlow, DroppedFilesAndFoldersAreAddedButNotDuringAConversion) {
    QTemporaryDir media;
    QFile::copy(Clips::get().path(QStringLiteral("b.avi")),
                media.filePath(QStringLiteral("b.avi")));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Clips::get().path(QStringLiteral("a.avi"))),
                  QUrl::fromLocalFile(media.path()),
                  QUrl(QStringLiteral("https://example.com/x.avi"))});
    // Enter then drop, as a drag from a file manager delivers them; true when the drop was taken.
    auto drop = [&](QWidget* target) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        return true;
    };
    // The empty list shows its drop zone first.
    ASSERT_TRUE(drop(w->pnlEmptyList));
    ASSERT_EQ(rows(), 2); // a.avi and the folder's b.avi; the web address is not a file
    QStringList names;
    for (int i = 0; i < rows(); ++i)
        names << QFileInfo(w->lvFiles->topLevelItem(i)->text(0)).fileName();
    EXPECT_EQ(names, QStringList({"b.avi", "a.avi"}));

    // Onto the list itself; then, once Start has locked the list, a drag is refused.
    data.setUrls({QUrl::fromLocalFile(Clips::get().path(QStringLiteral("c.avi")))});
    ASSERT_TRUE(drop(w->lvFiles->viewport()));
    ASSERT_EQ(rows(), 3);
    w->tbStart->click();
    EXPECT_FALSE(drop(w->lvFiles->viewport()));
    EXPECT_EQ(rows(), 3);
    ASSERT_TRUE(waitFinished());
}

TEST_F(WindowFlow, FolderAddsItsMediaOrSaysItFoundNone) {
    QTemporaryDir media;
    QFile::copy(Clips::get().path(QStringLiteral("a.avi")),
                media.filePath(QStringLiteral("a.avi")));
    QFile::copy(Clips::get().path(QStringLiteral("b.avi")),
                media.filePath(QStringLiteral("b.avi")));
    QFile::copy(Clips::get().path(QStringLiteral("notes.txt")),
                media.filePath(QStringLiteral("notes.txt")));
    rec.nextFolder = media.path();
    w->actAddFolder->trigger();
    EXPECT_EQ(rows(), 2);
    EXPECT_TRUE(rec.messages.isEmpty());

    QTemporaryDir texts;
    QFile::copy(Clips::get().path(QStringLiteral("notes.txt")),
                texts.filePath(QStringLiteral("x.txt")));
    rec.nextFolder = texts.path();
    w->ddAddFolder->trigger();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(rec.messages,
              QStringList({QStringLiteral("提示|在该目录没有发现可以用的视频或音频文件！")}));
}

TEST_F(WindowFlow, MovingRemovingAndClearing) {
    for (const char* n : {"a.avi", "b.avi", "c.avi"})
        addOne(Clips::get().path(QString::fromLatin1(n)));
    auto names = [this] {
        QStringList n;
        for (int i = 0; i < rows(); ++i)
            n << QFileInfo(w->lvFiles->topLevelItem(i)->text(0)).fileName();
        return n;
    };
    ASSERT_EQ(names(), QStringList({"a.avi", "b.avi", "c.avi"}));
    w->selectRow(1);
    w->actMoveUp->trigger();
    EXPECT_EQ(names(), QStringList({"b.avi", "a.avi", "c.avi"}));
    EXPECT_EQ(w->selectedRowIndex(), 0);
    EXPECT_EQ(col(0, S::TaskNumber), QStringLiteral("2")); // numbers travel with the content
    w->actMoveUp->trigger();
    EXPECT_EQ(names(), QStringList({"b.avi", "a.avi", "c.avi"}));
    w->actMoveDown->trigger();
    w->actMoveDown->trigger();
    EXPECT_EQ(names(), QStringList({"a.avi", "c.avi", "b.avi"}));
    EXPECT_EQ(w->selectedRowIndex(), 2);
    EXPECT_EQ(w->OO1.size(), 3u);

    // remove the middle row (task number 3): the numbers above it come down
    w->selectRow(1);
    w->tbRemove->click();
    EXPECT_EQ(names(), QStringList({"a.avi", "b.avi"}));
    EXPECT_EQ(col(0, S::TaskNumber), QStringLiteral("1"));
    EXPECT_EQ(col(1, S::TaskNumber), QStringLiteral("2"));
    EXPECT_EQ(w->FFVCL->TaskCount(), 2);
    EXPECT_EQ(w->selectedRowIndex(), 0);

    w->tbClear->click();
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(w->IO1.empty());
    EXPECT_TRUE(w->pnlEmptyList->isVisibleTo(w.get()));
    EXPECT_FALSE(w->tbStart->isEnabled());
    EXPECT_TRUE(w->tbAdd->isEnabled());

    w->tbRemove->click(); // disabled: nothing
    w->btnRemoveClick();
    EXPECT_EQ(rec.messages.last(), QStringLiteral("提示|请先选择您需要删除的项目！"));
}

TEST_F(WindowFlow, RenameTakesTheCurrentFormatsExtension) {
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    w->selectCategory(1);
    w->selectFormat(1); // MP4
    ASSERT_EQ(col(0, S::OutputFile), QStringLiteral("clip.mp4"));
    w->N26->trigger();
    EXPECT_TRUE(w->edt->isVisibleTo(w.get()));
    EXPECT_EQ(w->edt->text(), QStringLiteral("clip"));
    w->edt->setText(QString());
    w->edtExit(); // empty: nothing changes, the editor stays
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("clip.mp4"));
    w->edt->setText(QStringLiteral("holiday"));
    w->edtExit();
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("holiday.mp4"));
    EXPECT_FALSE(w->edt->isVisibleTo(w.get()));

    w->selectCategory(2);
    w->selectFormat(10); // FLAC, with the row selected
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("holiday.flac"));
    w->bsSkinButton21->click();
    w->edt->setText(QStringLiteral("holiday"));
    w->edtExit();
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("holiday.flac"));
}

TEST_F(WindowFlow, SameFileTwiceGetsTwoNamesUnlessOverwriting) {
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    EXPECT_EQ(col(0, S::OutputFile), QStringLiteral("clip.flv"));
    EXPECT_EQ(col(1, S::OutputFile), QStringLiteral("clip_1.flv"));
}

TEST_F(WindowFlow, AFullListRefusesTheNextFile) {
    QStringList many;
    for (int i = 0; i < 502; ++i)
        many << Clips::get().path(QStringLiteral("a.avi"));
    rec.nextFiles = many;
    w->actAddMany->trigger();
    EXPECT_EQ(rows(), 501);
    EXPECT_EQ(rec.messages.last(), QStringLiteral("提示|文件列表已满，最多只能添加501个文件！"));
}

TEST_F(WindowFlow, ConvertingThreeRowsOneAfterAnotherThenTheChosenAction) {
    for (const char* n : {"a.avi", "b.avi", "c.avi"})
        addOne(Clips::get().path(QString::fromLatin1(n)));
    // the last row converts without video
    w->lvFiles->topLevelItem(2)->setText(static_cast<int>(S::DisableVideo) + 1,
                                         QStringLiteral("True"));
    w->tbStart->click();
    EXPECT_FALSE(w->tbAdd->isEnabled());
    EXPECT_TRUE(w->tbStop->isEnabled());
    EXPECT_FALSE(w->bsSkinOfficeComboBox1->isEnabled());
    ASSERT_TRUE(waitFinished());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(col(i, S::Progress), QStringLiteral("100%")) << i;
    EXPECT_EQ(col(0, S::CurrentTime), QStringLiteral("00:00:01"));
    // Finished: Add stays off until Clear
    EXPECT_FALSE(w->tbAdd->isEnabled());
    EXPECT_FALSE(w->actAddOne->isEnabled());
    EXPECT_TRUE(w->tbClear->isEnabled());
    EXPECT_FALSE(w->tbRemove->isEnabled());
    EXPECT_TRUE(w->bsSkinOfficeComboBox1->isEnabled());
    // the default completion action, exactly once: open the output folder
    ASSERT_EQ(rec.opened.size(), 1);
    EXPECT_EQ(QUrl(rec.opened.first()).toLocalFile(), QDir::toNativeSeparators(outFolder()));
    EXPECT_EQ(rec.powerOffs, 0);
    const QString noVideo = out.filePath(QStringLiteral("out/c.flv"));
    EXPECT_EQ(testmedia::probe(noVideo, "stream=codec_type"), QStringLiteral("audio"));
    EXPECT_EQ(
        testmedia::probe(out.filePath(QStringLiteral("out/a.flv")), "stream=codec_name", "v:0"),
        QStringLiteral("flv1"));
    w->tbClear->click();
    EXPECT_TRUE(w->tbAdd->isEnabled());
}

TEST_F(WindowFlow, AMovedRowConvertsInItsNewPlaceAndGetsItsOwnReports) {
    addOne(Clips::get().path(QStringLiteral("a.avi")));
    addOne(Clips::get().path(QStringLiteral("longer.avi")));
    w->selectRow(1);
    w->actMoveUp->trigger(); // longer.avi is now first
    w->tbStart->click();
    ASSERT_TRUE(waitFinished());
    // Each row's last report is its own file's: 2.6 s against 1 s.
    EXPECT_EQ(col(0, S::CurrentTime), QStringLiteral("00:00:02"));
    EXPECT_EQ(col(1, S::CurrentTime), QStringLiteral("00:00:01"));
    EXPECT_EQ(col(0, S::Progress), QStringLiteral("100%"));
    EXPECT_EQ(col(1, S::Progress), QStringLiteral("100%"));
    // One after another in the new order: the first row's file was complete first.
    const QFileInfo first(out.filePath(QStringLiteral("out/longer.flv")));
    const QFileInfo second(out.filePath(QStringLiteral("out/a.flv")));
    ASSERT_TRUE(first.exists() && second.exists());
    EXPECT_LE(first.lastModified(), second.lastModified());
    EXPECT_EQ(testmedia::probe(first.filePath(), "format=duration").left(3), QStringLiteral("2.6"));
}

TEST_F(WindowFlow, AnUnknownDurationShowsNotApplicableWhileTimeAndSizeAdvance) {
    addOne(Clips::get().path(QStringLiteral("raw.h264")));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(col(0, S::Duration), QStringLiteral("N/A"));
    QStringList progress, sizes;
    QObject::connect(w->FFVCL, &engine::TFFmpegVCL::OnProgress, w.get(), [&] {
        progress << col(0, S::Progress);
        sizes << col(0, S::ConvertedSize);
    });
    w->tbStart->click();
    ASSERT_TRUE(waitFinished());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.count(QStringLiteral("N/A")), progress.size())
        << progress.join(' ').toStdString();
    EXPECT_FALSE(sizes.last().isEmpty());
    EXPECT_EQ(col(0, S::CurrentTime), QStringLiteral("00:00:03"));
    EXPECT_EQ(col(0, S::Progress), QStringLiteral("100%")) << rec.messages.join('\n').toStdString();
    EXPECT_EQ(
        testmedia::probe(out.filePath(QStringLiteral("out/raw.flv")), "stream=codec_name", "v:0"),
        QStringLiteral("flv1"));
}

TEST_F(WindowFlow, AFailingRowReportsWhileTheOthersFinish) {
    QTemporaryDir gone;
    const QString doomed = gone.filePath(QStringLiteral("gone.avi"));
    QFile::copy(Clips::get().path(QStringLiteral("a.avi")), doomed);
    addOne(doomed);
    addOne(Clips::get().path(QStringLiteral("b.avi")));
    QFile::remove(doomed);
    w->tbStart->click();
    ASSERT_TRUE(waitFinished());
    EXPECT_NE(col(0, S::Progress), QStringLiteral("100%"));
    EXPECT_EQ(col(1, S::Progress), QStringLiteral("100%"));
    ASSERT_FALSE(rec.messages.isEmpty());
    EXPECT_TRUE(rec.messages.first().startsWith(QStringLiteral("晨帆FLV视频转换器|")));
    EXPECT_TRUE(rec.messages.first().contains(QStringLiteral("gone.avi")))
        << rec.messages.first().toStdString();
}

TEST_F(WindowFlow, StopKeepsTheRowsAndRunsNoCompletionAction) {
    // a longer clip so that Stop comes in the middle of it
    const QString longer = dir.filePath(QStringLiteral("long.mp4"));
    ASSERT_TRUE(testmedia::makeAvClip(longer, 20.0, 640, 480));
    addOne(longer);
    w->tbStart->click();
    QTest::qWait(400);
    w->tbStop->click();
    EXPECT_FALSE(w->FFVCL->Running());
    EXPECT_TRUE(w->tbStart->isEnabled());
    EXPECT_FALSE(w->actStart->isEnabled());
    EXPECT_FALSE(w->tbStop->isEnabled());
    QTest::qWait(300);
    EXPECT_TRUE(rec.opened.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("out/long.flv"))));
    // "开始" converts the list again from the first row
    w->tbStart->click();
    ASSERT_TRUE(waitFinished(120000));
    EXPECT_EQ(col(0, S::Progress), QStringLiteral("100%"));
    EXPECT_EQ(rec.opened.size(), 1);
}

TEST_F(WindowFlow, SnapshotsOfThePausedFrameAreNumberedAndFollowTheFile) {
    const QString shots = dir.filePath(QStringLiteral("shots"));
    const settings::SettingsFile ini(dir.filePath(QStringLiteral("option.ini")));
    ini.WriteValue(QStringLiteral("SnapShot"), QStringLiteral("Dir"),
                   QDir::toNativeSeparators(shots));
    ini.WriteValue(QStringLiteral("SnapShot"), QStringLiteral("Picture"), QStringLiteral("png"));
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    // the selection opened the file paused, with its first picture on show
    ASSERT_FALSE(w->FFPlayer->CurrentFrame().isNull());
    for (int i = 0; i < 5; ++i)
        w->bsSkinButton22->click();
    QStringList saved = QDir(shots).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(saved,
              QStringList({"clip_1.bmp", "clip_2.bmp", "clip_3.bmp", "clip_4.bmp", "clip_5.bmp"}));
    // "png" is not a format name: BMP was used and written back, and its item is checked
    EXPECT_EQ(ini.ReadValue(QStringLiteral("SnapShot"), QStringLiteral("Picture")).value_or(""),
              QStringLiteral("BMP"));
    EXPECT_TRUE(w->BMP1->isChecked());
    QFile::remove(QDir(shots).filePath(QStringLiteral("clip_1.bmp")));
    w->JPG1->trigger();
    w->bsSkinButton22->click();
    w->PNG1->trigger();
    w->bsSkinButton22->click();
    EXPECT_TRUE(QFileInfo::exists(QDir(shots).filePath(QStringLiteral("clip_1.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(QDir(shots).filePath(QStringLiteral("clip_1.png"))));
    EXPECT_EQ(QImage(QDir(shots).filePath(QStringLiteral("clip_1.png"))).size(), QSize(160, 120));

    // cancelling the folder chooser stores nothing
    rec.nextFolder.clear();
    w->MenuItem2->trigger();
    EXPECT_EQ(ini.ReadValue(QStringLiteral("SnapShot"), QStringLiteral("Dir")).value_or(""),
              QDir::toNativeSeparators(shots));
}

TEST_F(WindowFlow, SliderReleaseSeeksAndPlays) {
    addOne(Clips::get().path(QStringLiteral("clip.mp4")));
    ASSERT_GT(w->FDuration, 0);
    EXPECT_EQ(w->bsSkinSlider1->value(), 0);
    w->bsSkinSlider1MouseDown();
    EXPECT_EQ(w->bsSkinSlider1_down_UP, QStringLiteral("Down"));
    w->bsSkinSlider1->setValue(w->bsSkinSlider1->maximum() / 2);
    w->bsSkinSlider1MouseUp();
    EXPECT_EQ(w->bsSkinSlider1_down_UP, QStringLiteral("UP"));
    QTest::qWait(300);
    EXPECT_FALSE(w->FFPlayer->IsPaused());
    EXPECT_GE(w->FFPlayer->Position(), w->FDuration / 2 - 100000);
    w->bsSkinButton14->click();
    EXPECT_TRUE(w->FFPlayer->IsPaused());
    // clearing the list stops the pane and puts the slider back
    w->tbClear->click();
    EXPECT_FALSE(w->FFPlayer->IsOpen());
    EXPECT_EQ(w->bsSkinSlider1->value(), 0);
}

TEST_F(WindowFlow, ClosingDuringAConversionStopsItAndLeavesNoPartialFile) {
    const QString longer = dir.filePath(QStringLiteral("long.mp4"));
    ASSERT_TRUE(testmedia::makeAvClip(longer, 20.0, 640, 480));
    addOne(longer);
    w->tbStart->click();
    QTest::qWait(300);
    QElapsedTimer t;
    t.start();
    w->close();
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(w->FFVCL->Running());
    QTest::qWait(300);
    EXPECT_TRUE(rec.opened.isEmpty()); // no completion action reached the closed window
    EXPECT_TRUE(QDir(outFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
