#include "CliArguments.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace cli;
using catalogue::PresetKind;

namespace {

class CliArguments : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("in/a"));
        ASSERT_TRUE(QDir(dir.path()).mkpath("in/b"));
        ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
        for (const char* f : {"in/a/clip.avi", "in/b/clip.avi", "out/clip.mp4"})
            touch(f);
    }
    void touch(const QString& name) const {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QString file(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString out(const QString& name) const { return QDir::toNativeSeparators(file("out/" + name)); }
    ParseResult parse(QStringList args) const { return parseArguments(args, file("out")); }

    QTemporaryDir dir;
};

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};
CliRun runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(CHENFAN_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST_F(CliArguments, PresetFlagsTakeEntriesExactlyAsShown) {
    const auto r = parse({"-f", "1100", "--video-bitrate", "1200 kbps", "--aspect=宽屏视频16:9模式",
                          "-j", "3", "--overwrite", file("in/a/clip.avi")});
    ASSERT_TRUE(r.arguments) << r.error.toStdString();
    const ConvertRequest& c = r.arguments->convert;
    EXPECT_EQ(r.arguments->command, Command::Convert);
    EXPECT_EQ(c.code, 1100);
    EXPECT_EQ(c.jobs, 3);
    EXPECT_TRUE(c.overwrite);
    EXPECT_EQ(c.outputFolder, QDir::toNativeSeparators(file("out")));
    auto expected = *catalogue::defaultPresetPositions(1100);
    expected[catalogue::index(PresetKind::VideoBitrate)] = 4;
    expected[catalogue::index(PresetKind::Aspect)] = 2;
    EXPECT_EQ(c.presets, expected);
}

TEST_F(CliArguments, EachWrongInputIsOneClearError) {
    struct Case {
        QStringList args;
        const char* mentions;
    } cases[] = {
        {{"-f", "999", file("in/a/clip.avi")}, "999"},
        {{"-f", "abc", file("in/a/clip.avi")}, "abc"},
        {{"-f", "1100", "--video-bitrate", "1200kbps", file("in/a/clip.avi")}, "1200kbps"},
        {{"-f", "500", "--frame-size", "保持原分辨率", file("in/a/clip.avi")}, "保持原分辨率"},
        {{"-f", "2409", "--frame-rate", "25.00", file("in/a/clip.avi")}, "25.00"},
        {{"-f", "1100", file("in/a/missing.avi")}, "missing.avi"},
        {{"-f", "1100", file("in/a")}, "in/a"},
        {{"-f", "1100", "-o", file("nowhere"), file("in/a/clip.avi")}, "nowhere"},
        {{"-f", "1100", "-j", "0", file("in/a/clip.avi")}, "-j"},
        {{"-f", "1100", "-j", "two", file("in/a/clip.avi")}, "two"},
        {{"-f", "1100", "--speed", "9", file("in/a/clip.avi")}, "--speed"},
        {{"-f", "1100", "--aspect"}, "--aspect"},
        {{"-f", "1100"}, "文件"},
        {{file("in/a/clip.avi")}, "-f"},
        {{"--list-presets", "15"}, "15"},
        {{"--list-formats", "x"}, "--list-formats"},
    };
    for (const auto& c : cases) {
        const auto r = parse(c.args);
        EXPECT_FALSE(r.arguments) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.mentions)))
            << r.error.toStdString() << " / " << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.error.contains('\n'));
    }
}

TEST_F(CliArguments, OutputsAreNumberedAgainstDiskAndEachOther) {
    const auto r = parse({"-f", "2502", file("in/a/clip.avi"), file("in/b/clip.avi")});
    ASSERT_TRUE(r.arguments) << r.error.toStdString();
    const auto plan = planConversions(r.arguments->convert);
    ASSERT_EQ(plan.size(), 2u);
    // out/clip.mp4 exists: the first gets _1, the second must not take the first's name.
    EXPECT_EQ(plan[0].output, out("clip_1.mp4"));
    EXPECT_EQ(plan[1].output, out("clip_2.mp4"));
    EXPECT_EQ(plan[0].round, 0);
    EXPECT_EQ(plan[1].round, 0);
    EXPECT_EQ(plan[0].options.FrameAspectRatio, "16:9");
    EXPECT_EQ(plan[0].options.FileExt, ".mp4");
}

TEST_F(CliArguments, OverwriteSharesNamesButNeverAtOnceAndNeverOverAnInput) {
    auto r = parse({"--overwrite", "-f", "2502", file("in/a/clip.avi"), file("in/b/clip.avi")});
    ASSERT_TRUE(r.arguments) << r.error.toStdString();
    auto plan = planConversions(r.arguments->convert);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].output, out("clip.mp4"));
    EXPECT_EQ(plan[1].output, out("clip.mp4"));
    EXPECT_EQ(plan[0].round, 0);
    EXPECT_EQ(plan[1].round, 1);

    // An input lying where an output would go is kept, overwrite or not.
    touch("out/talk.mp3");
    r = parse({"--overwrite", "-f", "100", "-o", file("out"), file("out/talk.mp3")});
    ASSERT_TRUE(r.arguments) << r.error.toStdString();
    plan = planConversions(r.arguments->convert);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].output, out("talk_1.mp3"));
}

TEST_F(CliArguments, PlanCarriesTheWindowsRecord) {
    const auto r = parse({"-f", "2400", "--video-bitrate", "2500 kbps", file("in/a/clip.avi")});
    ASSERT_TRUE(r.arguments) << r.error.toStdString();
    const auto plan = planConversions(r.arguments->convert);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].output, out("clip.avi")); // 2400 writes AVI
    EXPECT_EQ(plan[0].options.FileExt, ".avi");
    EXPECT_EQ(plan[0].options.VideoCodec, "libx264");
    EXPECT_EQ(plan[0].options.VideoPreset, "libx264-default");
    EXPECT_EQ(plan[0].options.VideoBitrate, 2500000);
    EXPECT_EQ(plan[0].options.AudioSampleRate, 48000);
    EXPECT_EQ(plan[0].input, file("in/a/clip.avi"));
}

TEST(CliProgram, ListsFormatsOnePerLine) {
    const CliRun run = runCli({"--list-formats"});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 71);
    EXPECT_EQ(lines.first(), "1100\tFlash视频\tFLV在线网络视频(*.flv)");
    EXPECT_TRUE(lines.contains("103\t常用音频\tAAC - 高级音频格式(*.aac)"));
    EXPECT_EQ(lines.last(), "2512\t平板电脑\t平板电脑MP3音频(*.mp3)");
    for (const QString& l : lines)
        EXPECT_EQ(l.count('\t'), 2) << l.toStdString();
}

TEST(CliProgram, ListsPresetsWithTheDefaultMarked) {
    const CliRun run = runCli({"--list-presets", "2409"});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split('\n');
    EXPECT_TRUE(lines.contains("* 12"));
    EXPECT_TRUE(lines.contains("  15"));
    EXPECT_FALSE(run.out.contains("保持原帧速率"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const QString& l) { return l.startsWith("* "); }),
              6);
    const CliRun audio = runCli({"--list-presets", "112"});
    EXPECT_TRUE(audio.out.split('\n').contains("* 7.4 kbps"));
    EXPECT_TRUE(audio.out.contains("不可更改"));
}

TEST(CliProgram, RefusesBeforeConvertingAnything) {
    QTemporaryDir dir;
    ASSERT_TRUE(testmedia::makeAvClip(dir.path() + "/clip.avi", 0.5, 64, 48));
    for (const QStringList& args :
         {QStringList{"-f", "999", "-o", dir.path(), dir.path() + "/clip.avi"},
          QStringList{"-f", "1100", "--video-bitrate", "999 kbps", "-o", dir.path(),
                      dir.path() + "/clip.avi"},
          QStringList{"-f", "1100", "-o", dir.path(), dir.path() + "/clip.avi",
                      dir.path() + "/gone.avi"}}) {
        const CliRun run = runCli(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.trimmed().count('\n'), 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("chenfan-cli: "));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"clip.avi"});
    }
}
