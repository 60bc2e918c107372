// chenfan-cli over a short clip for every format code, each output judged by ffprobe against
// what the format's profile and default entries ask for.
#include "CliArguments.h"
#include "Formats.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The stream names ffprobe reports for the encoders the catalogue names.
QString probedCodecName(const QString& encoder) {
    static const QHash<QString, QString> names{
        {"libx264", "h264"},
        {"libxvid", "mpeg4"},
        {"msmpeg4", "msmpeg4v3"},
        {"libmp3lame", "mp3"},
        {"libfaac", "aac"},
        {"libvorbis", "vorbis"},
        {"libopencore_amrnb", "amr_nb"},
    };
    return names.value(encoder, encoder);
}

struct Container {
    const char* formatName; // ffprobe format_name
    const char* brand;      // major_brand prefix for the ISO family, else nullptr
    const char* video;      // the muxer's default encoders, as ffprobe names their streams
    const char* audio;
};

// Keyed by the extension that chooses the container (the record's FileExt, else the name's).
const Container* containerOf(const QString& ext) {
    static const QHash<QString, Container> table{
        {".flv", {"flv", nullptr, "flv1", "mp3"}},
        {".swf", {"swf", nullptr, "flv1", "mp3"}},
        {".avi", {"avi", nullptr, "mpeg4", "mp3"}},
        {".mp4", {"mov,mp4,m4a,3gp,3g2,mj2", "isom", "h264", "aac"}},
        {".mov", {"mov,mp4,m4a,3gp,3g2,mj2", "qt", "h264", "aac"}},
        {".m4a", {"mov,mp4,m4a,3gp,3g2,mj2", "M4A", nullptr, "aac"}},
        {".3gp", {"mov,mp4,m4a,3gp,3g2,mj2", "3gp", "h263", "amr_nb"}},
        {".mkv", {"matroska,webm", nullptr, "h264", "vorbis"}},
        {".mpg", {"mpeg", nullptr, "mpeg1video", "mp2"}},
        {".asf", {"asf", nullptr, "msmpeg4v3", "wmav2"}},
        {".wmv", {"asf", nullptr, "msmpeg4v3", "wmav2"}},
        {".wma", {"asf", nullptr, nullptr, "wmav2"}},
        {".rm", {"rm", nullptr, "rv10", "ac3"}},
        {".ra", {"rm", nullptr, nullptr, "ac3"}},
        {".mp3", {"mp3", nullptr, nullptr, "mp3"}},
        {".mp2", {"mp3", nullptr, nullptr, "mp2"}}, // ffprobe reads layer 2 with its mp3 demuxer
        {".wav", {"wav", nullptr, nullptr, "pcm_s16le"}},
        {".aiff", {"aiff", nullptr, nullptr, "pcm_s16be"}},
        {".aac", {"aac", nullptr, nullptr, "aac"}},
        {".ogg", {"ogg", nullptr, nullptr, "vorbis"}},
        {".ac3", {"ac3", nullptr, nullptr, "ac3"}},
        {".flac", {"flac", nullptr, nullptr, "flac"}},
        {".amr", {"amr", nullptr, nullptr, "amr_nb"}},
    };
    const auto it = table.find(ext);
    return it == table.end() ? nullptr : &it.value();
}

double rateOf(const QString& text) {
    const QStringList parts = text.split('/');
    if (parts.size() == 2 && parts[1].toDouble() != 0)
        return parts[0].toDouble() / parts[1].toDouble();
    return text.toDouble();
}

class EveryFormat : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        sourceDir = std::make_unique<QTemporaryDir>();
        source = sourceDir->path() + "/source.avi";
        ASSERT_TRUE(testmedia::makeAvClip(source, 1.0, 320, 240));
        sourceDuration = testmedia::probe(source, "format=duration").toDouble();
        ASSERT_GT(sourceDuration, 0.5);
    }
    static void TearDownTestSuite() { sourceDir.reset(); }

    static std::unique_ptr<QTemporaryDir> sourceDir;
    static QString source;
    static double sourceDuration;
};
std::unique_ptr<QTemporaryDir> EveryFormat::sourceDir;
QString EveryFormat::source;
double EveryFormat::sourceDuration = 0;

TEST_P(EveryFormat, ConvertsWithTheDefaultEntries) {
    const int code = GetParam();
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());

    // What the window would convert with: the plan of the same arguments.
    const auto args =
        cli::parseArguments({"-f", QString::number(code), "-o", out.path(), source}, out.path());
    ASSERT_TRUE(args.arguments) << args.error.toStdString();
    const auto plan = cli::planConversions(args.arguments->convert);
    ASSERT_EQ(plan.size(), 1u);
    const engine::TOutputOptions& want = plan[0].options;

    QProcess p;
    p.start(QStringLiteral(CHENFAN_CLI_PATH),
            {"-f", QString::number(code), "-o", out.path(), source});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString printed = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    ASSERT_EQ(p.exitCode(), 0) << QString::fromUtf8(p.readAllStandardError()).toStdString();
    ASSERT_EQ(printed, plan[0].output);
    ASSERT_TRUE(QFileInfo(printed).isFile());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file may stay behind";

    const QString ext =
        !want.FileExt.isEmpty() ? want.FileExt : "." + QFileInfo(printed).suffix().toLower();
    const Container* c = containerOf(ext);
    ASSERT_NE(c, nullptr) << ext.toStdString();
    EXPECT_EQ(testmedia::probe(printed, "format=format_name"), c->formatName);
    if (c->brand) {
        EXPECT_TRUE(testmedia::probe(printed, "format_tags=major_brand").startsWith(c->brand));
    }

    const QString video = testmedia::probe(printed, "stream=codec_name", "v");
    if (want.DisableVideo) {
        EXPECT_TRUE(video.isEmpty()) << video.toStdString();
    } else {
        QString codec = probedCodecName(want.VideoCodec);
        if (want.TargetType == engine::ttDVD || want.TargetType == engine::ttSVCD)
            codec = "mpeg2video";
        else if (want.TargetType == engine::ttVCD)
            codec = "mpeg1video";
        else if (codec.isEmpty())
            codec = QString::fromUtf8(c->video);
        EXPECT_EQ(video, codec);
        const QString size = want.FrameSize.isEmpty() ? QStringLiteral("320*240") : want.FrameSize;
        EXPECT_EQ(testmedia::probe(printed, "stream=width", "v") + "*" +
                      testmedia::probe(printed, "stream=height", "v"),
                  size);
        const double rate = want.FrameRate.isEmpty() ? 25.0 : want.FrameRate.toDouble();
        EXPECT_NEAR(rateOf(testmedia::probe(printed, "stream=avg_frame_rate", "v")), rate, 0.02);
        if (!want.FrameAspectRatio.isEmpty()) {
            EXPECT_EQ(testmedia::probe(printed, "stream=display_aspect_ratio", "v"),
                      want.FrameAspectRatio);
        }
    }

    const QString audioCodec =
        want.AudioCodec.isEmpty()
            ? (want.TargetType == engine::ttDVD      ? QStringLiteral("ac3")
               : want.TargetType != engine::ttIgnore ? QStringLiteral("mp2")
                                                     : QString::fromUtf8(c->audio))
            : probedCodecName(want.AudioCodec);
    EXPECT_EQ(testmedia::probe(printed, "stream=codec_name", "a"), audioCodec);
    EXPECT_EQ(testmedia::probe(printed, "stream=sample_rate", "a").toInt(), want.AudioSampleRate);
    EXPECT_EQ(testmedia::probe(printed, "stream=channels", "a").toInt(),
              want.AudioChannels > 0 ? want.AudioChannels : 2);

    double duration = testmedia::probe(printed, "format=duration").toDouble();
    if (duration <= 0 && !want.DisableVideo) {
        // SWF keeps no duration (neither does the ffmpeg program's): count the frames instead
        const double frames =
            testmedia::runProgram("ffprobe", {"-v", "error", "-count_frames", "-select_streams",
                                              "v:0", "-show_entries", "stream=nb_read_frames",
                                              "-of", "csv=p=0", printed})
                .trimmed()
                .toDouble();
        const QString rate = testmedia::probe(printed, "stream=r_frame_rate", "v:0");
        const QStringList parts = rate.split(QLatin1Char('/'));
        const double fps = parts.size() == 2 && parts[1].toDouble() > 0
                               ? parts[0].toDouble() / parts[1].toDouble()
                               : 25.0;
        duration = frames / fps;
    }
    EXPECT_NEAR(duration, sourceDuration, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Cli, EveryFormat, ::testing::ValuesIn(catalogue::allFormatCodes()),
                         [](const auto& p) { return "code_" + std::to_string(p.param); });

TEST(CliBatch, SeveralFilesAtOnceEachGetTheirOwnName) {
    QTemporaryDir dir;
    ASSERT_TRUE(testmedia::makeAvClip(dir.path() + "/clip.avi", 1.0, 160, 120));
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    QProcess p;
    p.start(QStringLiteral(CHENFAN_CLI_PATH), {"-f", "1", "-j", "2", "-o", dir.path() + "/out",
                                               dir.path() + "/clip.avi", dir.path() + "/clip.avi"});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << QString::fromUtf8(p.readAllStandardError()).toStdString();
    QStringList printed =
        QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    printed.sort();
    EXPECT_EQ(printed, (QStringList{QDir::toNativeSeparators(dir.path() + "/out/clip.mp4"),
                                    QDir::toNativeSeparators(dir.path() + "/out/clip_1.mp4")}));
}

TEST(CliBatch, AFileThatIsNoMediaStopsTheBatchBeforeAnythingConverts) {
    QTemporaryDir dir;
    ASSERT_TRUE(testmedia::makeAvClip(dir.path() + "/clip.avi", 1.0, 160, 120));
    QFile text(dir.path() + "/notes.avi");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a video");
    text.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    QProcess p;
    p.start(QStringLiteral(CHENFAN_CLI_PATH),
            {"-f", "1100", "-o", dir.path() + "/out", dir.path() + "/clip.avi", text.fileName()});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("notes.avi"));
    EXPECT_TRUE(QDir(dir.path() + "/out").isEmpty());
}

} // namespace
