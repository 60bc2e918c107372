#include "AboutBox.h"
#include "LinkLabel.h"
#include "Logo.h"

#include "QtPrinters.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

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
