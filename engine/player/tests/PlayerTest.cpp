// The player on clips of known content, made with the ffmpeg program. The counting clip's
// frame N is a flat grey of luma 40 + 3·N, so a picture tells which frame it is. None of these
// needs an audio device: without one the sound is timed by the system clock.

#include "FFPlayer.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using namespace engine;

namespace {

constexpr qint64 kSecond = 1000000;
constexpr qint64 kFrameUs = 40000; // 25 fps

// Processes events until `done` or `ms` passed; returns `done()`.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void settle(int ms) {
    waitFor([] { return false; }, ms);
}

// Which frame of the counting clip `image` shows; -1 when it is not one of them.
int frameIndex(const QImage& image) {
    if (image.isNull())
        return -1;
    long sum = 0;
    int count = 0;
    const QPoint c = image.rect().center();
    for (int y = c.y() - 2; y <= c.y() + 2; ++y)
        for (int x = c.x() - 2; x <= c.x() + 2; ++x, ++count)
            sum += qGreen(image.pixel(x, y));
    const double grey = double(sum) / count;
    const double luma = grey * 219.0 / 255.0 + 16.0;
    return static_cast<int>(std::lround((luma - 40.0) / 3.0));
}

// Everything the player tells, in order.
struct Recorder {
    explicit Recorder(TFFPlayer& p) : player(p) {
        QObject::connect(&player, &TFFPlayer::OnFileOpen,
                         [this](qint64 duration, int w, int h, int* sw, int* sh) {
                             opens.push_back({duration, w, h, *sw, *sh});
                             if (answerWidth > 0) {
                                 *sw = answerWidth;
                                 *sh = answerHeight;
                             }
                         });
        QObject::connect(&player, &TFFPlayer::OnPosition,
                         [this](qint64 pts) { positions.push_back(pts); });
        QObject::connect(&player, &TFFPlayer::OnState, [this](TPlayState s) {
            states.push_back(s);
            if (onState)
                onState(s);
        });
    }
    struct Open {
        qint64 duration;
        int width, height, screenWidth, screenHeight;
    };
    TFFPlayer& player;
    std::vector<Open> opens;
    std::vector<qint64> positions;
    std::vector<TPlayState> states;
    std::function<void(TPlayState)> onState;
    int answerWidth = 0;
    int answerHeight = 0;

    bool has(TPlayState s) const {
        return std::find(states.begin(), states.end(), s) != states.end();
    }
    void clear() {
        opens.clear();
        positions.clear();
        states.clear();
    }
};

// Makes the clips that are missing in `folder`. A clip is written under another name first, so
// an interrupted run leaves no half clip behind.
void makeClips(const QString& folder) {
    QDir dir(folder);
    auto clip = [&](const QString& name, const QStringList& input, const QStringList& output) {
        if (dir.exists(name))
            return;
        const QString part = dir.filePath("part-" + name);
        ASSERT_TRUE(testmedia::makeClip(part, input, output));
        ASSERT_TRUE(QFile::rename(part, dir.filePath(name)));
    };
    auto file = [&](const QString& name, const QByteArray& content) {
        if (dir.exists(name))
            return;
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    const QString counterSource = "nullsrc=s=64x48:r=25:d=2,geq=lum='40+3*N':cb=128:cr=128";
    const QStringList x264{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-g",
                           "25",   "-bf",     "2",        "-crf",    "8"};
    clip("counter.mp4",
         {"-f", "lavfi", "-i", counterSource, "-f", "lavfi", "-i",
          "sine=frequency=440:sample_rate=44100:duration=2"},
         x264 + QStringList{"-c:a", "aac", "-ac", "2", "-shortest"});
    clip("counter-silent.mp4", {"-f", "lavfi", "-i", counterSource}, x264);
    clip("tone.m4a", {"-f", "lavfi", "-i", "sine=frequency=660:sample_rate=22050:d=1"},
         {"-c:a", "aac"});
    // Another container and codec, red, 96x40.
    clip("red.mkv", {"-f", "lavfi", "-i", "color=c=red:s=96x40:r=25:d=1"},
         {"-c:v", "mpeg4", "-q:v", "2"});
    // Damaged files.
    QByteArray noise(64 * 1024, '\0');
    quint32 seed = 12345;
    for (char& c : noise) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    file("random.mp4", noise);
    QFile whole(dir.filePath("counter.mp4"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    file("truncated.mp4", whole.read(whole.size() / 2)); // the index (moov) is at the end: lost
    file("empty.flv", {});
    file("notes.avi", "this is not a video\n");
}

// Where the clips are: the folder named by PLAYER_TEST_CLIPS (CTest makes them there in a run
// of their own), else a temporary folder of this run. The separate run matters under
// ThreadSanitizer: starting the ffmpeg program from the test process (Qt starts programs with
// a vfork-like clone) makes it lose track of the main thread's locks, and every later report
// is then false.
QString clipFolder(std::unique_ptr<QTemporaryDir>& temporary) {
    const QString named = qEnvironmentVariable("PLAYER_TEST_CLIPS");
    if (!named.isEmpty()) {
        QDir().mkpath(named);
        return named;
    }
    temporary = std::make_unique<QTemporaryDir>();
    return temporary->path();
}

TEST(PlayerClips, AreMade) {
    std::unique_ptr<QTemporaryDir> temporary;
    const QString folder = clipFolder(temporary);
    makeClips(folder);
    for (const char* name : {"counter.mp4", "counter-silent.mp4", "tone.m4a", "red.mkv",
                             "random.mp4", "truncated.mp4", "empty.flv", "notes.avi"})
        EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(name))) << name;
}

class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = clipFolder(temporary);
        makeClips(folder);
    }
    static void TearDownTestSuite() { temporary.reset(); }
    static QString path(const QString& name) { return QDir(folder).filePath(name); }

    void SetUp() override {
        screen.resize(200, 124);
        screen.setAutoFillBackground(true);
        QPalette pal = screen.palette();
        pal.setColor(QPalette::Window, Qt::darkGreen); // not black: bars must be the player's
        screen.setPalette(pal);
        screen.show();
    }

    // Opens the counting clip paused at frame 0.
    void openCounter(const QString& name = "counter.mp4", bool paused = true) {
        ASSERT_TRUE(player.Open(path(name), &screen, paused)) << player.LastErrMsg().toStdString();
    }

    static inline std::unique_ptr<QTemporaryDir> temporary;
    static inline QString folder;
    QWidget screen;
    TFFPlayer player;
    Recorder rec{player};
};

TEST_F(PlayerTest, OpenPausedShowsFrameZeroAndStaysThere) {
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.ScreenHandle(), WId(0));
    openCounter();
    ASSERT_EQ(rec.opens.size(), 1u);
    EXPECT_NEAR(rec.opens[0].duration, 2 * kSecond, kFrameUs);
    EXPECT_EQ(rec.opens[0].width, 64);
    EXPECT_EQ(rec.opens[0].height, 48);
    EXPECT_EQ(rec.opens[0].screenWidth, 200); // filled with the screen's size
    EXPECT_EQ(rec.opens[0].screenHeight, 124);
    EXPECT_EQ(player.Duration(), rec.opens[0].duration);
    EXPECT_EQ(rec.states, std::vector<TPlayState>{psPause});

    QImage frame = player.CurrentFrame(); // on show when Open returns
    EXPECT_EQ(frame.size(), QSize(64, 48));
    EXPECT_EQ(frameIndex(frame), 0);
    EXPECT_NE(player.ScreenHandle(), WId(0));
    const QString info = player.FileInfoText();
    EXPECT_TRUE(info.contains("h264")) << info.toStdString();
    EXPECT_TRUE(info.contains("aac")) << info.toStdString();
    EXPECT_TRUE(info.contains("64x48")) << info.toStdString();

    settle(600); // paused: nothing moves
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
    EXPECT_EQ(player.Position(), 0);
    EXPECT_TRUE(rec.positions.empty() || rec.positions.back() == 0);
    EXPECT_TRUE(player.IsPaused());
}

TEST_F(PlayerTest, DrawsThePictureWithBlackBarsIntoTheScreen) {
    openCounter();
    player.Seek(kSecond, sfAny, true); // frame 25: a clear grey
    settle(100);
    const QImage shot = screen.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(200, 124));
    // 64x48 is 4:3: 165x124 in the middle, bars of 17 or 18 pixels left and right.
    EXPECT_EQ(shot.pixelColor(3, 62), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(196, 62), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(3, 2), QColor(Qt::black)); // the screen's own colour is covered
    EXPECT_EQ(frameIndex(shot.copy(30, 10, 140, 104)), 25);

    // Answered screen size: the picture goes into a centred area of that size.
    rec.answerWidth = 100;
    rec.answerHeight = 100;
    openCounter();
    settle(100);
    const QImage small = screen.grab().toImage();
    // 4:3 in the 100x100 area: 100x75 at (50, 25).
    EXPECT_EQ(small.pixelColor(40, 62), QColor(Qt::black));
    EXPECT_EQ(small.pixelColor(100, 20), QColor(Qt::black));
    EXPECT_EQ(frameIndex(small.copy(80, 50, 40, 24)), 0);

    // The drawing follows the screen's size.
    rec.answerWidth = 0;
    openCounter();
    screen.resize(300, 124);
    player.UpdateScreenPosition();
    settle(100);
    const QImage wide = screen.grab().toImage();
    EXPECT_EQ(wide.pixelColor(295, 62), QColor(Qt::black));
    EXPECT_EQ(frameIndex(wide.copy(120, 40, 60, 40)), 0);
}

struct SeekCase {
    const char* name;
    qint64 fromUs; // where the player stands before (exact seek)
    qint64 targetUs;
    int flags;
    int expectedFrame;
    qint64 expectedPositionUs;
    // A keyframe landing is where the decoders start; the sound starts at its own nearest
    // frame, up to one audio frame away.
    qint64 toleranceUs = 1000;
};

class PlayerSeekTest : public PlayerTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(PlayerSeekTest, LandsOnTheFrameOfThatTime) {
    const SeekCase& c = GetParam();
    openCounter();
    if (c.fromUs > 0)
        player.Seek(c.fromUs, sfAny, true);
    rec.positions.clear();
    player.Seek(c.targetUs, c.flags, true);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), c.expectedFrame);
    ASSERT_TRUE(waitFor([&] { return !rec.positions.empty(); }, 3000));
    EXPECT_NEAR(rec.positions.back(), c.expectedPositionUs, c.toleranceUs);
    EXPECT_TRUE(player.IsPaused()); // a seek keeps the pause
    settle(200);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), c.expectedFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PlayerSeekTest,
    ::testing::Values(
        SeekCase{"HalfTheDuration", 0, kSecond, sfAny, 25, kSecond},
        SeekCase{"BetweenKeyframesNeedsDecodingForward", 0, 1520000, sfAny, 38, 1520000},
        SeekCase{"InsideAFrame", 0, 1530000, 0, 38, 1530000},
        SeekCase{"Backwards", 1800000, 400000, sfAny, 10, 400000},
        SeekCase{"BackToZero", 1500000, 0, sfAny, 0, 0},
        SeekCase{"PastTheEndShowsTheLastFrame", 0, 5 * kSecond, sfAny, 49, 2 * kSecond},
        SeekCase{"KeyFrameOnly", 0, 1520000, sfKeyFrame, 25, kSecond, 30000},
        SeekCase{"KeyFrameBackwards", 1900000, 900000, sfKeyFrame, 0, 0, 30000}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PlayerTest, SeekWithoutWaitingLandsLater) {
    openCounter();
    player.Seek(kSecond, 0, false);
    ASSERT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) == 25; }, 3000));
    ASSERT_TRUE(waitFor([&] { return !rec.positions.empty(); }, 3000));
    EXPECT_EQ(rec.positions.back(), kSecond);
    // Several seeks in a row: only the last one counts.
    for (qint64 t : {200000, 1200000, 600000})
        player.Seek(t, sfAny, false);
    ASSERT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) == 15; }, 3000));
    settle(300);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 15);
}

class PlayerClockTest : public PlayerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PlayerClockTest, PlayAdvancesPositionInRealTimeAndPauseHolds) {
    openCounter(GetParam());
    rec.clear();
    QElapsedTimer elapsed;
    player.Resume();
    elapsed.start();
    EXPECT_EQ(rec.states, std::vector<TPlayState>{psResume});
    settle(900);
    const qint64 realUs = elapsed.nsecsElapsed() / 1000;
    ASSERT_GE(rec.positions.size(), 2u) << "a few position reports a second";
    EXPECT_TRUE(std::is_sorted(rec.positions.begin(), rec.positions.end()));
    EXPECT_GT(rec.positions.back(), 300000);
    EXPECT_LE(rec.positions.back(), realUs + kFrameUs);
    // The picture belongs to the position.
    const qint64 at = player.Position();
    const int shown = frameIndex(player.CurrentFrame());
    EXPECT_NEAR(shown, at / kFrameUs, 3) << "position " << at;

    player.Pause();
    EXPECT_EQ(rec.states.back(), psPause);
    const qint64 held = player.Position();
    const int heldFrame = frameIndex(player.CurrentFrame());
    rec.positions.clear();
    settle(400);
    EXPECT_EQ(player.Position(), held);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), heldFrame);
    EXPECT_TRUE(rec.positions.empty());

    // The slider's release: pause, seek, resume; playing goes on from the new place.
    player.Seek(1200000, 0, false);
    player.Resume();
    ASSERT_TRUE(waitFor([&] { return !rec.positions.empty(); }, 3000));
    settle(300);
    EXPECT_GE(rec.positions.back(), 1200000);
    EXPECT_GE(frameIndex(player.CurrentFrame()), 30);
}

INSTANTIATE_TEST_SUITE_P(Clips, PlayerClockTest,
                         ::testing::Values("counter.mp4", "counter-silent.mp4"),
                         [](const auto& param) {
                             return std::string(param.param).find("silent") != std::string::npos
                                        ? std::string("VideoOnly")
                                        : std::string("WithSound");
                         });

class PlayerEndTest : public PlayerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PlayerEndTest, EndOfFileReportsEndAndTheWindowCanRewindAndPause) {
    const QString name = GetParam();
    ASSERT_TRUE(player.Open(path(name), &screen, true)) << player.LastErrMsg().toStdString();
    const bool video = name.startsWith("counter");
    const qint64 duration = player.Duration();
    player.Seek(duration - 500000, sfAny, true);
    // What the window does at the end: back to the start, then pause.
    int ends = 0;
    rec.onState = [&](TPlayState s) {
        if (s == psEnd) {
            ++ends;
            player.Seek(0, sfAny, false);
            player.Pause();
        }
    };
    rec.clear();
    QElapsedTimer elapsed;
    player.Resume();
    elapsed.start();
    ASSERT_TRUE(waitFor([&] { return ends > 0; }, 5000));
    EXPECT_GE(elapsed.elapsed(), 350) << "the last half second is played, not skipped";
    ASSERT_GE(rec.positions.size(), 1u);
    EXPECT_EQ(rec.states, (std::vector<TPlayState>{psResume, psEnd, psPause}));
    // The report at the end stands at the end (the last one before the rewind).
    auto atEnd = std::find_if(rec.positions.begin(), rec.positions.end(),
                              [&](qint64 p) { return p >= duration - kFrameUs; });
    EXPECT_NE(atEnd, rec.positions.end());
    // Rewound and waiting.
    ASSERT_TRUE(waitFor([&] { return rec.positions.back() == 0; }, 3000));
    EXPECT_TRUE(player.IsPaused());
    if (video) {
        EXPECT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) == 0; }, 3000));
    }
    settle(400);
    EXPECT_EQ(player.Position(), 0);
    if (video) {
        EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
    }
    EXPECT_EQ(ends, 1);
    // And plays again from the start.
    rec.onState = nullptr;
    rec.positions.clear();
    player.Resume();
    ASSERT_TRUE(waitFor([&] { return !rec.positions.empty() && rec.positions.back() > 0; }, 3000));
    EXPECT_LT(rec.positions.back(), duration / 2 + 300000);
}

TEST_P(PlayerEndTest, ResumeAfterTheEndStartsAgain) {
    ASSERT_TRUE(player.Open(path(GetParam()), &screen, true)) << player.LastErrMsg().toStdString();
    player.Seek(player.Duration() - 200000, sfAny, true);
    player.Resume();
    ASSERT_TRUE(waitFor([&] { return rec.has(psEnd); }, 5000));
    EXPECT_TRUE(player.IsPaused());
    rec.clear();
    player.Resume();
    ASSERT_TRUE(waitFor([&] { return !rec.positions.empty(); }, 3000));
    settle(300);
    EXPECT_LT(player.Position(), 700000);
    EXPECT_FALSE(rec.has(psEnd));
}

INSTANTIATE_TEST_SUITE_P(Clips, PlayerEndTest,
                         ::testing::Values("counter.mp4", "counter-silent.mp4", "tone.m4a"),
                         [](const auto& param) {
                             const std::string n = param.param;
                             return n == "counter.mp4" ? std::string("WithSound")
                                    : n == "tone.m4a"  ? std::string("SoundOnly")
                                                       : std::string("VideoOnly");
                         });

TEST_F(PlayerTest, StopClosesAndTheFileCanBeOpenedAgain) {
    openCounter("counter.mp4", false);
    settle(300);
    rec.clear();
    player.Stop(true);
    EXPECT_EQ(rec.states, std::vector<TPlayState>{psStop});
    EXPECT_FALSE(player.IsOpen());
    EXPECT_TRUE(player.CurrentFrame().isNull());
    EXPECT_EQ(player.CurrentFrame().width(), 0);
    EXPECT_EQ(player.ScreenHandle(), WId(0));
    EXPECT_TRUE(player.FileInfoText().isEmpty());
    EXPECT_EQ(player.Position(), 0);
    settle(300);
    EXPECT_TRUE(rec.positions.empty()) << "nothing of the stopped file arrives";
    const QImage blank = screen.grab().toImage();
    EXPECT_EQ(blank.pixelColor(100, 62), QColor(Qt::darkGreen)) << "the picture is gone";

    player.Stop(true); // nothing open: nothing to report
    EXPECT_EQ(rec.states.size(), 1u);

    openCounter(); // the window's Stop button: stop, then open paused again
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
    EXPECT_EQ(rec.opens.size(), 1u);

    player.Resume();
    settle(200);
    player.Stop(false); // without waiting: collected by the next Open
    EXPECT_FALSE(player.IsOpen());
    openCounter();
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
    settle(300);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
}

TEST_F(PlayerTest, OpeningAnotherFileReplacesTheOpenOne) {
    openCounter("counter.mp4", false);
    settle(400);
    rec.clear();
    ASSERT_TRUE(player.Open(path("red.mkv"), &screen, true)) << player.LastErrMsg().toStdString();
    EXPECT_FALSE(rec.has(psStop)) << "a replacement is not a stop";
    ASSERT_EQ(rec.opens.size(), 1u);
    EXPECT_EQ(rec.opens[0].width, 96);
    EXPECT_EQ(rec.opens[0].height, 40);
    EXPECT_NEAR(rec.opens[0].duration, kSecond, kFrameUs);
    const QImage frame = player.CurrentFrame();
    ASSERT_EQ(frame.size(), QSize(96, 40));
    const QColor c = frame.pixelColor(48, 20);
    EXPECT_GT(c.red(), 200);
    EXPECT_LT(c.green(), 40);
    EXPECT_LT(c.blue(), 40);
    EXPECT_TRUE(player.FileInfoText().contains("mpeg4"));
    EXPECT_FALSE(player.FileInfoText().contains("h264"));
    settle(500); // no late report of the old file reaches the window: only the new landing
    for (qint64 p : rec.positions)
        EXPECT_EQ(p, 0);
    EXPECT_EQ(player.CurrentFrame().size(), QSize(96, 40));
    // 96x40 into 200x124: 200x83, bars above and below.
    const QImage shot = screen.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 5), QColor(Qt::black));
    EXPECT_GT(shot.pixelColor(100, 62).red(), 200);
}

struct BrokenCase {
    const char* name;
    const char* file;
};

class PlayerBrokenTest : public PlayerTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(PlayerBrokenTest, FailsWithAMessageAndShowsNothing) {
    openCounter("counter.mp4", false); // something was playing before
    settle(200);
    rec.clear();
    QElapsedTimer elapsed;
    elapsed.start();
    const QString file = path(GetParam().file);
    EXPECT_FALSE(player.Open(file, &screen, true));
    EXPECT_LT(elapsed.elapsed(), 2000) << "a broken file must not hold the window";
    EXPECT_FALSE(player.LastErrMsg().isEmpty());
    EXPECT_TRUE(player.LastErrMsg().contains(file)) << player.LastErrMsg().toStdString();
    EXPECT_TRUE(rec.opens.empty());
    EXPECT_TRUE(rec.states.empty());
    EXPECT_FALSE(player.IsOpen());
    EXPECT_TRUE(player.CurrentFrame().isNull());
    EXPECT_EQ(player.ScreenHandle(), WId(0));
    settle(300);
    EXPECT_TRUE(rec.positions.empty());
    EXPECT_EQ(screen.grab().toImage().pixelColor(100, 62), QColor(Qt::darkGreen));
    // And the player still works.
    openCounter();
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, PlayerBrokenTest,
                         ::testing::Values(BrokenCase{"RandomBytes", "random.mp4"},
                                           BrokenCase{"TruncatedMp4", "truncated.mp4"},
                                           BrokenCase{"EmptyFile", "empty.flv"},
                                           BrokenCase{"TextFile", "notes.avi"},
                                           BrokenCase{"Missing", "missing.mp4"},
                                           BrokenCase{"Folder", ""}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(PlayerTest, AFifoIsRefusedAtOnce) {
    // Opening a pipe with no writer would wait in the operating system, beyond any timeout.
    const QString fifo = path("pipe.flv");
    QFile::remove(fifo);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(player.Open(fifo, &screen, true));
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_FALSE(player.LastErrMsg().isEmpty());
    QFile::remove(fifo);
}

TEST_F(PlayerTest, SoundOnlyFilePlaysWithABlackScreen) {
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(player.Open(path("tone.m4a"), &screen, false)) << player.LastErrMsg().toStdString();
    ASSERT_EQ(rec.opens.size(), 1u);
    EXPECT_EQ(rec.opens[0].width, 0);
    EXPECT_EQ(rec.opens[0].height, 0);
    EXPECT_NEAR(rec.opens[0].duration, kSecond, 50000);
    EXPECT_EQ(rec.states, std::vector<TPlayState>{psPlay});
    EXPECT_TRUE(player.CurrentFrame().isNull());
    EXPECT_TRUE(player.FileInfoText().contains("Audio: aac"));
    EXPECT_FALSE(player.FileInfoText().contains("Video:"));
    settle(100);
    const QImage shot = screen.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 62), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::black));
    ASSERT_TRUE(waitFor([&] { return rec.has(psEnd); }, 5000));
    EXPECT_GE(elapsed.elapsed(), 800) << "played in real time";
    EXPECT_GE(rec.positions.size(), 2u);
    EXPECT_TRUE(std::is_sorted(rec.positions.begin(), rec.positions.end()));
    EXPECT_TRUE(player.CurrentFrame().isNull());
}

TEST_F(PlayerTest, StepShowsTheNextFramesAndStaysPaused) {
    openCounter();
    rec.clear();
    player.Step();
    ASSERT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) == 1; }, 2000));
    player.Step();
    ASSERT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) == 2; }, 2000));
    EXPECT_EQ(rec.states, (std::vector<TPlayState>{psStep, psStep}));
    settle(300);
    EXPECT_EQ(frameIndex(player.CurrentFrame()), 2);
    EXPECT_TRUE(player.IsPaused());
    EXPECT_EQ(player.Position(), 2 * kFrameUs);
    // Playing on goes from the stepped frame, with the sound caught up.
    player.Resume();
    ASSERT_TRUE(waitFor([&] { return frameIndex(player.CurrentFrame()) >= 6; }, 3000));
    EXPECT_GE(player.Position(), 2 * kFrameUs);
}

TEST_F(PlayerTest, MuteAndDriversAreKeptAcrossFiles) {
    EXPECT_FALSE(player.Mute());
    player.SetMute(true);
    player.SetVideoDriver(vdGDI);
    player.SetAudioDriver(adWaveOut);
    openCounter("counter.mp4", false); // other drivers play as the default
    settle(300);
    EXPECT_GT(player.Position(), 0);
    EXPECT_TRUE(player.Mute());
    EXPECT_EQ(player.VideoDriver(), vdGDI);
    EXPECT_EQ(player.AudioDriver(), adWaveOut);
    player.SetMute(false);
    EXPECT_FALSE(player.Mute());
}

TEST_F(PlayerTest, LibrariesAreTheOnesBuiltAgainst) {
    EXPECT_FALSE(player.AVLibLoaded());
    EXPECT_TRUE(player.LoadAVLib(QCoreApplication::applicationDirPath() + "/LibAV"))
        << player.LastErrMsg().toStdString();
    EXPECT_TRUE(player.AVLibLoaded());
    EXPECT_TRUE(player.LastErrMsg().isEmpty());
}

TEST_F(PlayerTest, ClosingTheScreenWhilePlayingIsSafe) {
    auto own = std::make_unique<QWidget>();
    own->resize(200, 124);
    own->show();
    ASSERT_TRUE(player.Open(path("counter.mp4"), own.get(), false))
        << player.LastErrMsg().toStdString();
    settle(200);
    own.reset();
    settle(300);
    EXPECT_EQ(player.ScreenHandle(), WId(0));
    EXPECT_FALSE(player.CurrentFrame().isNull()); // still playing, just not drawn
    player.UpdateScreenPosition();
    player.Stop(true);
}

TEST_F(PlayerTest, DestroyingAPlayingPlayerEndsItsThreads) {
    auto p = std::make_unique<TFFPlayer>();
    ASSERT_TRUE(p->Open(path("counter.mp4"), &screen, false)) << p->LastErrMsg().toStdString();
    settle(150);
    p->Stop(false);
    ASSERT_TRUE(p->Open(path("counter.mp4"), &screen, false));
    settle(150);
    QElapsedTimer elapsed;
    elapsed.start();
    p.reset();
    EXPECT_LT(elapsed.elapsed(), 1000);
    settle(100); // posted reports of the destroyed player go nowhere
}

} // namespace
