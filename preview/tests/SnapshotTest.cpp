#include "Snapshot.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace preview;

namespace {
QImage testPicture() {
    QImage img(200, 124, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.fillRect(0, 0, 100, 124, QColor(220, 30, 30));
    p.fillRect(100, 0, 100, 124, QColor(30, 60, 220));
    return img;
}
} // namespace

TEST(SnapshotNames, FirstFreeNumberPerBaseNameAndExtension) {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const QString sep = QDir::separator();
    const QString movie = QStringLiteral("/videos/holiday.2019.avi");
    EXPECT_EQ(nextSnapshotPath(dir, movie, PictureFormat::PNG), dir + sep + "holiday.2019_1.png");

    auto touch = [](const QString& p) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    touch(dir + sep + "holiday.2019_1.png");
    touch(dir + sep + "holiday.2019_2.png");
    EXPECT_EQ(nextSnapshotPath(dir, movie, PictureFormat::PNG), dir + sep + "holiday.2019_3.png");
    // another extension counts on its own
    EXPECT_EQ(nextSnapshotPath(dir, movie, PictureFormat::BMP), dir + sep + "holiday.2019_1.bmp");
    // a gap is used again
    QFile::remove(dir + sep + "holiday.2019_1.png");
    EXPECT_EQ(nextSnapshotPath(dir, movie, PictureFormat::PNG), dir + sep + "holiday.2019_1.png");
    // no extension, and only the last of several is cut
    EXPECT_EQ(nextSnapshotPath(dir, QStringLiteral("/d/clip"), PictureFormat::BMP),
              dir + sep + "clip_1.bmp");
    EXPECT_EQ(nextSnapshotPath(dir, QStringLiteral("/d/a.b.c.mp4"), PictureFormat::BMP),
              dir + sep + "a.b.c_1.bmp");
}

TEST(SnapshotFiles, EveryFormatDecodesAgainAtItsSize) {
    QTemporaryDir tmp;
    const QImage img = testPicture();
    struct Case {
        PictureFormat format;
        const char* codec; // as ffprobe names it
    } cases[] = {{PictureFormat::BMP, "bmp"},
                 {PictureFormat::JPG, "mjpeg"},
                 {PictureFormat::GIF, "gif"},
                 {PictureFormat::PNG, "png"}};
    for (const auto& c : cases) {
        const QString path = nextSnapshotPath(tmp.path(), QStringLiteral("/v/clip.mp4"), c.format);
        QString error;
        ASSERT_TRUE(writeSnapshot(img, path, c.format, &error)) << error.toStdString();
        EXPECT_EQ(testmedia::probe(path, "stream=codec_name,width,height"),
                  QStringLiteral("%1\n200\n124").arg(QString::fromLatin1(c.codec)))
            << path.toStdString();
        // the colours survive (the GIF palette and JPEG are close, not exact)
        const QImage back(path);
        ASSERT_FALSE(back.isNull()) << path.toStdString();
        const QColor left = back.pixelColor(50, 60), right = back.pixelColor(150, 60);
        EXPECT_GT(left.red(), 150) << path.toStdString();
        EXPECT_LT(left.blue(), 90) << path.toStdString();
        EXPECT_GT(right.blue(), 150) << path.toStdString();
    }
    // the JPEG is baseline: its frame header is SOF0, not the progressive SOF2
    QFile jpg(tmp.path() + QDir::separator() + "clip_1.jpg");
    ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
    const QByteArray data = jpg.readAll();
    EXPECT_TRUE(data.contains(QByteArray("\xFF\xC0", 2)));
    EXPECT_FALSE(data.contains(QByteArray("\xFF\xC2", 2)));
    EXPECT_TRUE(QFile(tmp.path() + QDir::separator() + "clip_1.gif").size() > 0);
}

TEST(SnapshotFiles, UnwritableFolderGivesAReasonAndNoFile) {
    QString error;
    const QString path = QStringLiteral("/nonexistent-folder/clip_1.png");
    EXPECT_FALSE(writeSnapshot(testPicture(), path, PictureFormat::PNG, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeSnapshot(testPicture(), QStringLiteral("/nonexistent-folder/clip_1.gif"),
                               PictureFormat::GIF, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("clip_1.gif")));
    EXPECT_FALSE(writeSnapshot(QImage(), path, PictureFormat::BMP, &error));
}
