// The preview pane: the selected file opened paused in the player, its buttons and slider,
// snapshots of the frame on show, and the window's event filter (drops, the slider's mouse
// buttons, the rename editor's focus).
#include "MainWindow.h"

#include "FFPlayer.h"
#include "PreviewScreen.h"
#include "SettingRules.h"
#include "Snapshot.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const char* const kStateNames[] = {"Play", "Pause", "Resume", "Step", "Stop", "End"};
} // namespace

void TForm1::Button31Click() {
    if (!FFPlayer->AVLibLoaded() &&
        !FFPlayer->LoadAVLib(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("LibAV")))) {
        log(FFPlayer->LastErrMsg());
        return;
    }
    FScreenControl = findChild<QWidget*>(QStringLiteral("Panel6"));
    const int v = cboVideoDriver->currentIndex(), a = cboAudioDriver->currentIndex();
    FFPlayer->SetVideoDriver(v == 1   ? engine::vdDirectDraw
                             : v == 2 ? engine::vdGDI
                                      : engine::vdDefault);
    FFPlayer->SetAudioDriver(a == 1   ? engine::adDirectSound
                             : a == 2 ? engine::adWaveOut
                                      : engine::adDefault);
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, FScreenControl, chkOpenPaused->isChecked()))
        log(FFPlayer->LastErrMsg());
}

void TForm1::stopPreview() {
    FFPlayer->Stop(true);
}

void TForm1::FFPlayerFileOpen(qint64 duration, int frameWidth, int frameHeight, int* screenWidth,
                              int* screenHeight) {
    log(FFPlayer->FileInfoText());
    log(QString::asprintf("duration: %f, frame size: %dx%d",
                          static_cast<double>(duration) / 1000000.0, frameWidth, frameHeight));
    *screenWidth = FScreenControl ? FScreenControl->width() : Panel6->width();
    *screenHeight = FScreenControl ? FScreenControl->height() : Panel6->height();
    FDuration = duration;
    bsSkinSlider1->setSingleStep(5);
    bsSkinSlider1->setMaximum(bsSkinSlider1->width());
    bsSkinSlider1->setValue(0);
}

void TForm1::FFPlayerPosition(qint64 pts) {
    // the slider does not jump under a held mouse button
    if (bsSkinSlider1_down_UP != QLatin1String("UP"))
        return;
    if (pts >= 0 && FDuration > 0)
        bsSkinSlider1->setValue(
            static_cast<int>(static_cast<qint64>(bsSkinSlider1->maximum()) * pts / FDuration));
}

void TForm1::FFPlayerState(int state) {
    if (state >= 0 && state < 6)
        log(QString::fromLatin1(kStateNames[state]));
    if (state == engine::psStop) {
        if (FFPlayer->ScreenHandle() != 0 && FScreenControl)
            FScreenControl->repaint();
    } else if (state == engine::psEnd) {
        // at the end the pane goes back to the start and waits
        FFPlayer->Seek(0, engine::sfAny, false);
        FFPlayer->Pause();
    }
}

void TForm1::bsSkinButton13Click() {
    FFPlayer->Resume();
    lvFiles->setFocus();
}

void TForm1::bsSkinButton14Click() {
    FFPlayer->Pause();
    lvFiles->setFocus();
}

void TForm1::bsSkinButton15Click() {
    if (!selectedRow())
        return;
    FFPlayer->Stop(true);
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, Panel6, true))
        log(FFPlayer->LastErrMsg());
    lvFiles->setFocus();
}

void TForm1::bsSkinButton16Click() {
    FFPlayer->SetMute(true);
    bsSkinButton20->show();
    bsSkinButton16->hide();
}

void TForm1::bsSkinButton20Click() {
    FFPlayer->SetMute(false);
    bsSkinButton16->show();
    bsSkinButton20->hide();
}

void TForm1::bsSkinSlider1MouseDown() {
    bsSkinSlider1_down_UP = QStringLiteral("Down");
    FFPlayer->Pause();
}

void TForm1::bsSkinSlider1MouseUp() {
    FFPlayer->Pause();
    const int maximum = std::max(1, bsSkinSlider1->maximum());
    FFPlayer->Seek(FDuration * bsSkinSlider1->value() / maximum, 0, false);
    FFPlayer->Resume();
    bsSkinSlider1_down_UP = QStringLiteral("UP");
}

// ---------------------------------------------------------------------------------------------
// Snapshots

void TForm1::buildPreviewMenu() {
    bsSkinPopupMenu2 = new QMenu(this);
    MenuItem1 = bsSkinPopupMenu2->addAction(QStringLiteral("打开快照目录"));
    MenuItem2 = bsSkinPopupMenu2->addAction(QStringLiteral("设置快照目录"));
    bsSkinPopupMenu2->addSeparator();
    QMenu* N27 = bsSkinPopupMenu2->addMenu(QStringLiteral("快照保存类型"));
    auto* group = new QActionGroup(N27);
    group->setExclusive(true);
    const char* names[] = {"BMP文件", "JPG文件", "GIF文件", "PNG文件"};
    QAction** items[] = {&BMP1, &JPG1, &GIF1, &PNG1};
    for (int i = 0; i < 4; ++i) {
        QAction* a = N27->addAction(QString::fromUtf8(names[i]));
        a->setCheckable(true);
        group->addAction(a);
        *items[i] = a;
        connect(a, &QAction::triggered, this, [this, i] { pictureItemClick(i); });
    }
    BMP1->setChecked(true);
    connect(MenuItem1, &QAction::triggered, this, &TForm1::MenuItem1Click);
    connect(MenuItem2, &QAction::triggered, this, &TForm1::MenuItem2Click);
    bsSkinButton23->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bsSkinButton23, &QWidget::customContextMenuRequested, this,
            [this] { bsSkinPopupMenu2->popup(QCursor::pos()); });
}

void TForm1::checkPictureItem(int format) {
    QAction* items[] = {BMP1, JPG1, GIF1, PNG1};
    if (format >= 0 && format < 4)
        items[format]->setChecked(true);
}

void TForm1::bsSkinButton22Click() {
    const QImage picture = FFPlayer->CurrentFrame();
    const auto folder = settings::ReadSnapshotFolder(ini_);
    reportError(folder.writeError);
    const auto format = settings::ReadPictureFormat(ini_);
    reportError(format.writeError);
    checkPictureItem(static_cast<int>(format.value));
    if (picture.isNull() || picture.width() == 0)
        return;
    const QString path =
        preview::nextSnapshotPath(folder.value, T_Movie_PLayer_FileName, format.value);
    QString error;
    if (!preview::writeSnapshot(picture, path, format.value, &error))
        reportError(error);
}

void TForm1::bsSkinButton23Click() {
    const auto format = settings::ReadPictureFormat(ini_);
    reportError(format.writeError);
    checkPictureItem(static_cast<int>(format.value));
}

void TForm1::pictureItemClick(int format) {
    try {
        settings::WritePictureFormat(ini_, static_cast<settings::PictureFormat>(format));
    } catch (const settings::SettingsWriteError& e) {
        reportError(e.text());
    }
    checkPictureItem(format);
}

void TForm1::MenuItem1Click() {
    const auto folder = settings::ReadSnapshotFolder(ini_);
    reportError(folder.writeError);
    services_.openUrl(QUrl::fromLocalFile(folder.value));
}

void TForm1::MenuItem2Click() {
    // the same chooser as "浏览": it opens where it was last confirmed for either purpose
    const QString folder =
        services_.existingDirectory(this, QStringLiteral("选择输出目录"), folderChooserStart_);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    folderChooserStart_ = folder;
    try {
        settings::WriteSnapshotFolder(ini_, QDir::toNativeSeparators(folder));
    } catch (const settings::SettingsWriteError& e) {
        reportError(e.text());
    }
}

// ---------------------------------------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == bsSkinSlider1) {
        if (type == QEvent::MouseButtonPress)
            bsSkinSlider1MouseDown();
        else if (type == QEvent::MouseButtonRelease)
            bsSkinSlider1MouseUp();
    } else if (watched == bsSkinButton23 && type == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            bsSkinPopupMenu2->popup(QCursor::pos());
    } else if (watched == edt && type == QEvent::FocusOut) {
        edtExit();
    } else if (watched == Video_OutPut_Folder_Edit && type == QEvent::MouseButtonPress) {
        Video_OutPut_Folder_EditClick();
        return true;
    } else if (watched == lvFiles->viewport() || watched == pnlEmptyList) {
        if (type == QEvent::DragEnter || type == QEvent::DragMove) {
            auto* e = static_cast<QDropEvent*>(event);
            if (e->mimeData()->hasUrls() && appstate::at(groups_, appstate::Group::Add).menu) {
                e->acceptProposedAction();
                return true;
            }
        } else if (type == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            QStringList paths;
            for (const QUrl& url : e->mimeData()->urls())
                if (url.isLocalFile())
                    paths << url.toLocalFile();
            e->acceptProposedAction();
            addPaths(paths);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
