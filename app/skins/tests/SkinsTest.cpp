#include "Skins.h"
#include "SkinChooserDialog.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QResource>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace skins;

namespace {

const char* const kResourceFiles[SkinCount] = {
    "office2007_remix.json", "imetal2.json",          "easylinecolor.json", "snowleopard.json",
    "ampix2.json",           "ampix3.json",           "ampix.json",         "powerform_green.json",
    "cyberobject.json",      "office2007_silver.json"};

// A small main window with one of each control the program's windows use.
std::unique_ptr<QMainWindow> sampleWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setFixedSize(420, 300);
    window->menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("退出"));
    window->menuBar()->addMenu(QStringLiteral("帮助"));
    QToolBar* tools = window->addToolBar(QStringLiteral("tools"));
    tools->addAction(QStringLiteral("添加"));
    tools->addAction(QStringLiteral("开始"));
    auto* central = new QWidget;
    auto* list = new QTreeWidget;
    list->setHeaderLabels({QStringLiteral("文件名"), QStringLiteral("进度")});
    list->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("clip.avi"), QStringLiteral("50%")}));
    list->setCurrentItem(list->topLevelItem(0));
    auto* group = new QGroupBox(QStringLiteral("预置选项"));
    auto* combo = new QComboBox;
    combo->addItem(QStringLiteral("320*240"));
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setValue(30);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(combo);
    groupLayout->addWidget(new QLineEdit(QStringLiteral("/out")));
    groupLayout->addWidget(slider);
    groupLayout->addWidget(new QPushButton(QStringLiteral("浏览")));
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(list);
    layout->addWidget(group);
    window->setCentralWidget(central);
    window->show();
    return window;
}

QImage render(QWidget& w) {
    QApplication::processEvents();
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

double differingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 1.0;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                40)
                ++differing;
        }
    return double(differing) / (double(a.width()) * a.height());
}

double meanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += QColor(image.pixel(x, y)).lightnessF();
    return sum / (double(image.width()) * image.height());
}

// Collects every warning Qt prints (a style sheet it cannot parse says so this way).
struct WarningCatcher {
    static std::vector<QString>& caught() {
        static std::vector<QString> c;
        return c;
    }
    QtMessageHandler previous;
    WarningCatcher() {
        caught().clear();
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type != QtDebugMsg && type != QtInfoMsg)
                    caught().push_back(text);
            });
    }
    ~WarningCatcher() { qInstallMessageHandler(previous); }
};

TEST(Skins, TenNamedSkinsInListOrder) {
    EXPECT_EQ(SkinNames(),
              (QStringList{QStringLiteral("OFFICE2007蓝色"), QStringLiteral("金属光泽"),
                           QStringLiteral("银色天地"), QStringLiteral("Mac风格"),
                           QStringLiteral("条纹色调"), QStringLiteral("纹理风格"),
                           QStringLiteral("Ampix效果"), QStringLiteral("绿色世界"),
                           QStringLiteral("深蓝色彩"), QStringLiteral("OFFICE2007")}));
    EXPECT_TRUE(SkinName(-1).isEmpty());
    EXPECT_TRUE(SkinName(10).isEmpty());
}

TEST(Skins, EverySkinIsCompiledInCompressedAndComplete) {
    for (int i = 0; i < SkinCount; ++i) {
        SCOPED_TRACE(SkinName(i).toStdString());
        LoadSkin(i); // makes sure the resource is registered
        const QResource data(QStringLiteral(":/skins/") + QLatin1String(kResourceFiles[i]));
        ASSERT_TRUE(data.isValid());
        EXPECT_NE(data.compressionAlgorithm(), QResource::NoCompression);

        const SkinLook look = LoadSkin(i);
        EXPECT_GT(look.styleSheet.size(), 3000);
        EXPECT_FALSE(look.styleSheet.contains(QStringLiteral("${"))) << "unfilled slot";
        for (const char* control : {"QMenuBar", "QMenu", "QToolBar", "QTreeView", "QComboBox",
                                    "QPushButton", "QGroupBox", "QSlider", "QMessageBox"})
            EXPECT_TRUE(look.styleSheet.contains(QLatin1String(control))) << control;
        // Text stays readable on what it is drawn on.
        const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
            {QPalette::Window, QPalette::WindowText},
            {QPalette::Base, QPalette::Text},
            {QPalette::Button, QPalette::ButtonText},
            {QPalette::Highlight, QPalette::HighlightedText},
            {QPalette::ToolTipBase, QPalette::ToolTipText}};
        for (const auto& [back, fore] : pairs)
            EXPECT_GT(std::abs(look.palette.color(back).lightnessF() -
                               look.palette.color(fore).lightnessF()),
                      0.35)
                << back << "/" << fore;
    }
    EXPECT_TRUE(LoadSkin(10).styleSheet.isEmpty());
    const QResource sheet(QStringLiteral(":/skins/template.qss"));
    EXPECT_NE(sheet.compressionAlgorithm(), QResource::NoCompression);
}

class SkinEngineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    settings::SettingsFile file{dir.filePath(QStringLiteral("option.ini"))};

    void put(const QByteArray& bytes) {
        QFile f(file.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const {
        QFile f(file.path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }
};

TEST_F(SkinEngineTest, EverySheetParsesAndEverySkinLooksClearlyDifferent) {
    SkinEngine engine;
    const auto window = sampleWindow();
    std::vector<QImage> shots;
    {
        WarningCatcher warnings;
        for (int i = 0; i < SkinCount; ++i) {
            engine.SelectSkin(i == InitialSkin ? 0 : i);
            engine.SelectSkin(i);
            shots.push_back(render(*window));
        }
        EXPECT_EQ(warnings.caught(), std::vector<QString>{});
    }
    for (int a = 0; a < SkinCount; ++a)
        for (int b = a + 1; b < SkinCount; ++b)
            EXPECT_GT(differingShare(shots[a], shots[b]), 0.25)
                << SkinName(a).toStdString() << " vs " << SkinName(b).toStdString();
}

TEST_F(SkinEngineTest, IndexRuleKeepsTheSkinForTheSameOrAnOutOfRangeIndex) {
    SkinEngine engine;
    EXPECT_EQ(engine.activeIndex(), InitialSkin);
    EXPECT_EQ(qApp->styleSheet(), LoadSkin(InitialSkin).styleSheet);
    QSignalSpy changed(&engine, &SkinEngine::activeSkinChanged);

    for (int index : {1, -1, 10, 12}) {
        EXPECT_FALSE(engine.SelectSkin(index)) << index;
        EXPECT_EQ(engine.activeIndex(), InitialSkin);
        EXPECT_EQ(qApp->styleSheet(), LoadSkin(InitialSkin).styleSheet);
    }
    EXPECT_TRUE(engine.SelectSkin(9));
    EXPECT_EQ(engine.activeIndex(), 9);
    EXPECT_EQ(qApp->styleSheet(), LoadSkin(9).styleSheet);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              LoadSkin(9).palette.color(QPalette::Window));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 9);
}

TEST_F(SkinEngineTest, OpenWindowsAndMessageBoxesFollowTheSkinAtOnce) {
    SkinEngine engine;
    engine.SelectSkin(2); // light silver
    const auto window = sampleWindow();
    const QImage before = render(*window);
    QMessageBox lightBox(QMessageBox::Information, QStringLiteral("提示"),
                         QStringLiteral("文件列表已满"), QMessageBox::Ok);
    lightBox.show();
    const double lightBoxLightness = meanLightness(render(lightBox));

    engine.SelectSkin(8); // dark navy
    EXPECT_GT(differingShare(before, render(*window)), 0.5);
    EXPECT_LT(meanLightness(render(lightBox)), lightBoxLightness - 0.3);
    QMessageBox newBox(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("确定？"),
                       QMessageBox::Yes | QMessageBox::No);
    newBox.show();
    EXPECT_LT(meanLightness(render(newBox)), 0.35);
    EXPECT_EQ(newBox.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(newBox.button(QMessageBox::No)->text(), QStringLiteral("&No"));
}

TEST_F(SkinEngineTest, DropDownListsShowEightRowsInEverySkin) {
    SkinEngine engine;
    QComboBox combo;
    for (int n = 1; n <= 19; ++n)
        combo.addItem(QString::number(n));
    combo.setMaxVisibleItems(8);
    combo.show();
    for (int i = 0; i < SkinCount; ++i) {
        engine.SelectSkin(i);
        combo.showPopup();
        QApplication::processEvents();
        const QAbstractItemView* view = combo.view();
        int whole = 0;
        for (int row = 0; row < combo.count(); ++row)
            if (view->viewport()->rect().contains(view->visualRect(combo.model()->index(row, 0))))
                ++whole;
        EXPECT_EQ(whole, 8) << SkinName(i).toStdString();
        combo.hidePopup();
    }
}

TEST_F(SkinEngineTest, CheckAndRadioIndicatorsStayVisibleInEverySkin) {
    SkinEngine engine;
    QDialog window;
    auto* radio = new QRadioButton(&window);
    auto* check = new QCheckBox(&window);
    radio->setGeometry(10, 10, 24, 24);
    check->setGeometry(10, 40, 24, 24);
    window.resize(80, 80);
    window.show();
    for (int i = 0; i < SkinCount; ++i) {
        engine.SelectSkin(i);
        const QImage image = render(window);
        for (const QWidget* w : {static_cast<QWidget*>(radio), static_cast<QWidget*>(check)}) {
            // Unchecked and without text, all there is to see is the indicator itself; the
            // window's backgrounds run top to bottom, so each row is compared with its own
            // background to the right of the control.
            int strongest = 0;
            for (int y = w->y(); y <= w->geometry().bottom(); ++y) {
                const QRgb back = image.pixel(70, y);
                for (int x = w->x(); x <= w->geometry().right(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    strongest = std::max(strongest, std::abs(qRed(p) - qRed(back)) +
                                                        std::abs(qGreen(p) - qGreen(back)) +
                                                        std::abs(qBlue(p) - qBlue(back)));
                }
            }
            EXPECT_GT(strongest, 90)
                << SkinName(i).toStdString() << " " << w->metaObject()->className();
        }
    }
}

TEST_F(SkinEngineTest, StoredSkinIsAppliedByTheIndexRule) {
    struct Case {
        const char* content; // nullptr: no file
        int active;
        const char* after; // nullptr: unchanged
    };
    const Case cases[] = {
        {"[Skin]\nSetSkin=9\n", 9, nullptr},
        {"[Skin]\nSetSkin=12\n", InitialSkin, nullptr},
        {"[Skin]\nSetSkin=-3\n", InitialSkin, nullptr},
        {"[Skin]\nSetSkin=blue\n", InitialSkin, nullptr},
        {"[Skin]\nSetSkin=1\n", 1, nullptr},
        {nullptr, 0, "[Skin]\nSetSkin=0\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(file.path());
        if (c.content)
            put(c.content);
        SkinEngine engine;
        EXPECT_EQ(LoadSkinSetting(engine, file), QString());
        EXPECT_EQ(engine.activeIndex(), c.active) << (c.content ? c.content : "<no file>");
        EXPECT_EQ(qApp->styleSheet(), LoadSkin(c.active).styleSheet);
        EXPECT_EQ(bytes(), QByteArray(c.after ? c.after : c.content));
    }
    put("[Skin]\nSetSkin=9\n");
    SkinEngine engine;
    LoadSkinSetting(engine, file);
    EXPECT_EQ(SkinName(engine.activeIndex()), QStringLiteral("OFFICE2007"));
}

TEST_F(SkinEngineTest, ChooserStoresTheSkinInForceWhetherConfirmedOrCancelled) {
    put("[Skin]\nSetSkin=12\n");
    SkinEngine engine;
    LoadSkinSetting(engine, file);
    ASSERT_EQ(engine.activeIndex(), InitialSkin);

    int offered = -1;
    ChooseSkin(engine, file, nullptr, [&](QWidget*, int active) -> std::optional<int> {
        offered = active;
        return std::nullopt;
    });
    EXPECT_EQ(offered, InitialSkin);
    EXPECT_EQ(engine.activeIndex(), InitialSkin);
    EXPECT_EQ(bytes(), QByteArray("[Skin]\nSetSkin=1\n"));

    ChooseSkin(engine, file, nullptr, [](QWidget*, int) { return std::optional<int>(4); });
    EXPECT_EQ(engine.activeIndex(), 4);
    EXPECT_EQ(qApp->styleSheet(), LoadSkin(4).styleSheet);
    EXPECT_EQ(bytes(), QByteArray("[Skin]\nSetSkin=4\n"));

    // A store that fails is reported; the chosen skin stays applied.
    const settings::SettingsFile nowhere(dir.filePath(QStringLiteral("gone/option.ini")));
    EXPECT_THROW(
        ChooseSkin(engine, nowhere, nullptr, [](QWidget*, int) { return std::optional<int>(7); }),
        settings::SettingsWriteError);
    EXPECT_EQ(engine.activeIndex(), 7);
}

TEST_F(SkinEngineTest, SelectSkinDialogPreselectsTheActiveSkinAndPreviewsTheSelection) {
    SkinEngine engine;
    SkinChooserDialog dialog(engine.activeIndex());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select skin"));
    EXPECT_EQ(dialog.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(dialog.font().pixelSize(), 14);
    ASSERT_EQ(dialog.list()->count(), SkinCount);
    for (int i = 0; i < SkinCount; ++i)
        EXPECT_EQ(dialog.list()->item(i)->text(), SkinName(i));
    EXPECT_EQ(dialog.chosenIndex(), InitialSkin);
    EXPECT_EQ(dialog.preview()->styleSheet(), LoadSkin(InitialSkin).styleSheet);

    dialog.show();
    const QImage metal = render(*dialog.preview());
    dialog.list()->setCurrentRow(7);
    EXPECT_EQ(dialog.preview()->styleSheet(), LoadSkin(7).styleSheet);
    EXPECT_GT(differingShare(metal, render(*dialog.preview())), 0.25);
    // Previewing changes nothing else.
    EXPECT_EQ(engine.activeIndex(), InitialSkin);
    EXPECT_EQ(qApp->styleSheet(), LoadSkin(InitialSkin).styleSheet);

    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenIndex(), 7);
}

// Closes whatever modal dialog is up once the event loop runs, choosing row `row` first.
void answerChooser(int row, bool confirm) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<SkinChooserDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return answerChooser(row, confirm);
        dialog->list()->setCurrentRow(row);
        confirm ? dialog->accept() : dialog->reject();
    });
}

TEST_F(SkinEngineTest, RealChooserReturnsTheChoiceOrNothing) {
    answerChooser(5, true);
    EXPECT_EQ(ExecSkinChooser(nullptr, 2), 5);
    answerChooser(5, false);
    EXPECT_EQ(ExecSkinChooser(nullptr, 2), std::nullopt);
}

} // namespace
