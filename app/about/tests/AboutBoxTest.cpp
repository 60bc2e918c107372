#include "AboutBox.h"
#include "LinkLabel.h"
#include "Logo.h"
#include "MagneticEdges.h"

#include "QtPrinters.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace about;

namespace {

QLabel* labelWithText(const QWidget& parent, const QString& text) {
    for (QLabel* label : parent.findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    ADD_FAILURE() << "no label \"" << text.toStdString() << '"';
    return nullptr;
}

// A one-line label stands at its place: same left edge and vertical centre; it may be larger
// than the place where this system's font needs more room.
void expectPlaced(const QLabel* label, const QRect& place) {
    EXPECT_EQ(label->x(), place.x()) << label->text().toStdString();
    EXPECT_LE(std::abs(label->geometry().center().y() - place.center().y()), 1)
        << label->text().toStdString();
    EXPECT_GE(label->width(), place.width());
    EXPECT_GE(label->height(), place.height());
}

struct RecordingOpener {
    std::vector<QUrl> opened;
    bool succeed = true;
    UrlOpener fn() {
        return [this](const QUrl& url) {
            opened.push_back(url);
            return succeed;
        };
    }
};

TEST(AboutBox, ControlsSitAtTheirPlacesWithTheirTexts) {
    TForm2 box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("关于软件"));
    EXPECT_EQ(box.minimumSize(), QSize(332, 231));
    EXPECT_EQ(box.maximumSize(), QSize(332, 231));

    const QLabel* title = labelWithText(box, QStringLiteral("晨帆FLV视频转换器"));
    const QLabel* version = labelWithText(box, QStringLiteral("Ver:17.1.0.0"));
    const QLabel* site = labelWithText(box, QStringLiteral("官方网站："));
    const QLabel* logo = box.findChild<QLabel*>(QStringLiteral("logo"));
    const auto* ok = box.findChild<QPushButton*>();
    ASSERT_TRUE(title && version && site && logo && ok);
    expectPlaced(title, {99, 20, 170, 20});
    EXPECT_EQ(title->font().pixelSize(), 20);
    expectPlaced(version, {154, 72, 132, 19});
    EXPECT_EQ(version->font().pixelSize(), 19);
    EXPECT_TRUE(version->font().bold());
    expectPlaced(site, {48, 124, 60, 13});
    EXPECT_EQ(logo->geometry(), QRect(48, 58, 53, 57));
    EXPECT_EQ(box.link()->geometry(), QRect(107, 112, 153, 33));
    EXPECT_EQ(box.link()->text(), QString::fromLatin1(ProductWebSite));
    EXPECT_TRUE(box.link()->font().underline());
    EXPECT_EQ(box.link()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(box.link()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
    EXPECT_EQ(ok->geometry(), QRect(228, 180, 69, 25));
}

TEST(AboutBox, EveryTextFitsItsLabelAndTheChineseFontHasTheGlyphs) {
    TForm2 box;
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        const QFontMetrics fm(label->font());
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        } else {
            EXPECT_LE(fm.horizontalAdvance(label->text()), label->width());
            EXPECT_LE(fm.height(), label->height() + 1);
        }
        EXPECT_TRUE(box.rect().contains(label->geometry()));
        for (QChar c : label->text())
            EXPECT_TRUE(fm.inFont(c)) << "no glyph for U+" << std::hex << int(c.unicode());
    }
}

TEST(AboutBox, LogoIsDrawnOnATransparentBackground) {
    const QImage logo = ChenfanLogo().toImage();
    EXPECT_EQ(logo.size(), QSize(53, 57));
    EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(logo.pixel(52, 56)), 0);
    EXPECT_EQ(qAlpha(logo.pixel(26, 30)), 255);
    std::set<QRgb> colours;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            colours.insert(logo.pixel(x, y));
    EXPECT_GT(colours.size(), 50u); // a picture, not a filled box
}

TEST(AboutBox, LinkOpensTheProductsAddressAndOkCloses) {
    RecordingOpener opener;
    opener.succeed = false; // a failure is not reported
    TForm2 box(nullptr, opener.fn());
    box.open();
    QTest::mouseClick(box.link(), Qt::RightButton);
    EXPECT_TRUE(opener.opened.empty());
    QTest::mouseClick(box.link(), Qt::LeftButton);
    EXPECT_EQ(opener.opened,
              std::vector<QUrl>{QUrl(QStringLiteral("https://chenfan-converter.example/"))});
    EXPECT_TRUE(box.isVisible());

    box.findChild<QPushButton*>()->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, OpensCentredOnTheDesktopNotOnItsParent) {
    QWidget window;
    window.setGeometry(0, 0, 300, 200);
    window.show();
    TForm2 box(&window);
    box.open();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((box.frameGeometry().center() - centre).manhattanLength(), 2);
    box.accept();
}

TEST(MagneticEdges, EdgesWithinTheDistanceArePulledFlush) {
    const QRect area(0, 0, 1000, 700); // right edge after x 999, bottom after y 699
    struct Case {
        QPoint at;
        QPoint expected;
        const char* what;
    };
    const Case cases[] = {
        {{10, 10}, {0, 0}, "10 px from the top-left corner"},
        {{11, 300}, {11, 300}, "11 px from the left edge stays"},
        {{-8, 300}, {0, 300}, "partly outside on the left"},
        {{1000 - 332 - 6, 300}, {1000 - 332, 300}, "6 px from the right edge"},
        {{1000 - 332 + 9, 700 - 231 + 10}, {1000 - 332, 700 - 231}, "past the bottom-right"},
        {{400, 700 - 231 - 11}, {400, 700 - 231 - 11}, "11 px above the bottom stays"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(snapToEdges(QRect(c.at, QSize(332, 231)), area, 10), c.expected);
    }
    // A window taller than the area keeps its top on the area's top.
    EXPECT_EQ(snapToEdges(QRect(50, 4, 332, 900), area, 10), QPoint(50, 0));
    // An area that does not start at the origin (a panel on the left and at the top).
    EXPECT_EQ(snapToEdges(QRect(60, 30, 332, 231), QRect(64, 24, 900, 600), 10), QPoint(64, 24));
}

TEST(AboutBox, SnapsToTheDesktopsEdgesWhenMovedNearThem) {
    TForm2 box;
    box.open();
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    box.move(desk.topLeft() + QPoint(7, 9));
    EXPECT_EQ(box.frameGeometry().topLeft(), desk.topLeft());
    const QPoint free = desk.topLeft() + QPoint(40, 40);
    box.move(free);
    EXPECT_EQ(box.frameGeometry().topLeft(), free);
    box.accept();
}

TEST(AboutBox, RollUpLeavesAStripAndEachShowingStartsUnrolled) {
    TForm2 box;
    box.open();
    QToolButton* roll = box.rollButton();
    ASSERT_TRUE(roll);
    EXPECT_TRUE(box.rect().contains(roll->geometry()));
    const QRect titleArea(99, 20, 170, 20);
    EXPECT_FALSE(roll->geometry().intersects(titleArea));

    QTest::mouseClick(roll, Qt::LeftButton);
    EXPECT_TRUE(box.isRolledUp());
    EXPECT_EQ(box.size(), QSize(332, TForm2::RolledUpHeight));
    EXPECT_TRUE(box.rect().contains(roll->geometry())); // the way back stays in reach
    EXPECT_FALSE(box.rect().intersects(box.findChild<QPushButton*>()->geometry()));
    for (const QLabel* label : box.findChildren<QLabel*>())
        EXPECT_FALSE(label->isVisible()) << label->text().toStdString(); // no cut-off text
    EXPECT_EQ(roll->toolTip(), QStringLiteral("展开"));

    QTest::mouseClick(roll, Qt::LeftButton);
    EXPECT_FALSE(box.isRolledUp());
    EXPECT_EQ(box.size(), QSize(332, 231));
    EXPECT_TRUE(box.link()->isVisible());

    QTest::mouseClick(roll, Qt::LeftButton);
    box.accept();
    box.open();
    EXPECT_FALSE(box.isRolledUp());
    EXPECT_EQ(box.size(), QSize(332, 231));
    box.accept();
}

TEST(ShellCommands, HelpFileAndWebSiteGoToTheShell) {
    RecordingOpener opener;
    opener.succeed = false;
    OpenHelpFile(opener.fn());
    OpenProductWebSite(opener.fn());
    ASSERT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(opener.opened[0],
              QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/help.chm"));
    EXPECT_EQ(opener.opened[1], ProductWebSiteUrl());
}

} // namespace
