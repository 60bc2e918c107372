// The file list: adding files and folders, moving, removing, clearing, renaming and selecting
// rows. Every row carries its conversion settings in hidden columns; the per-row records
// IO1/OO1 move and go with their rows.
#include "MainWindow.h"

#include "OfficeComboBox.h"
#include "ProgressDelegate.h"

#include "FFmpegVCL.h"
#include "Formats.h"
#include "OutputRecord.h"
#include "RowSettings.h"
#include "RowTexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

namespace {
using S = conversion::SubItem;
constexpr int columnOf(S s) {
    return static_cast<int>(s) + 1;
}
const char* const kInfoCaption = "提示";
} // namespace

void TForm1::info(const QString& text) {
    services_.message(this, QMessageBox::Information, QString::fromUtf8(kInfoCaption), text);
}

void TForm1::logFramed(const QString& line) {
    log(QString());
    log(line);
    log(QString());
}

QTreeWidgetItem* TForm1::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = lvFiles->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int TForm1::selectedRowIndex() const {
    QTreeWidgetItem* row = selectedRow();
    return row ? lvFiles->indexOfTopLevelItem(row) : -1;
}

void TForm1::selectRow(int index) {
    QTreeWidgetItem* row = lvFiles->topLevelItem(index);
    if (!row)
        return;
    {
        const QSignalBlocker block(lvFiles);
        lvFiles->clearSelection();
        lvFiles->setCurrentItem(row);
        row->setSelected(true);
    }
    // selecting from code runs the selection handling, as a user's click does
    lvFilesSelectItem();
}

void TForm1::Button15Click() {
    IO1.clear();
    OO1.clear();
}

bool TForm1::ensureEngineLoaded() {
    if (FFVCL->AVLibLoaded())
        return true;
    if (FFVCL->LoadAVLib(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("LibAV"))))
        return true;
    log(FFVCL->LastErrMsg());
    return false;
}

// ---------------------------------------------------------------------------------------------
// Adding

TForm1::AddResult TForm1::AddMediaFile(const QString& path) {
    if (lvFiles->topLevelItemCount() >= kMaxRows) {
        info(QStringLiteral("文件列表已满，最多只能添加501个文件！"));
        return AddResult::Stop;
    }
    engine::TAVProbe& probe = FFVCL->AVProbe();
    if (!probe.LoadFile(path)) {
        logFramed(QStringLiteral("***File load error: ") + probe.LastErrMsg());
        return AddResult::Skipped;
    }
    profile.Video_AddFileName = path;

    engine::TInputOptions io;
    io.reset();
    const int task = FFVCL->AddTask(path, io);
    if (task < 0) {
        logFramed(QStringLiteral("***File open error: ") + FFVCL->LastErrMsg());
        return AddResult::Stop;
    }
    log(QString());
    log(probe.FileInfoText());
    T_Movie_PLayer_FileName = path;

    engine::TOutputOptions oo;
    oo.reset();
    // The add builds the profile for the new file only; the row selected before keeps its own.
    buildProfile(false);
    Button13Click();
    conversion::applyProfile(profile, oo);

    if (!FFVCL->SetOutputFile(task, profile.Video_OutPutFileName, oo)) {
        const QString error = FFVCL->LastErrMsg();
        FFVCL->RemoveTask(task);
        logFramed(QStringLiteral("***Cannot do convert, error: ") + error);
        return AddResult::Stop;
    }

    pnlEmptyList->hide();
    conversion::RowColumns columns;
    columns.caption = path;
    columns[S::Duration] = medialist::durationText(probe.FileStreamInfo());
    columns[S::FileSize] = medialist::sizeText(probe.FileSize());
    columns[S::OutputFile] = QFileInfo(profile.Video_OutPutFileName).fileName();
    columns[S::TaskNumber] = QString::number(task + 1);
    // the row's format, its six positions and every setting that follows from them: what the
    // drop-downs show now is what this row converts with
    const conversion::RowChoice choice{
        {bsSkinOfficeComboBox2->currentIndex(), bsSkinOfficeComboBox1->currentIndex()},
        currentPresetPositions()};
    conversion::applyChoiceToRow(choice, columns);
    auto* row = new QTreeWidgetItem();
    storeRowColumns(row, columns);
    lvFiles->addTopLevelItem(row);

    enterRowsPresent();
    IO1.push_back(io);
    OO1.push_back(oo);
    logFramed(QStringLiteral("***Can do convert."));
    return AddResult::Added;
}

void TForm1::enterRowsPresent() {
    auto next = groups_;
    for (auto g : {appstate::Group::Remove, appstate::Group::Rename, appstate::Group::Clear,
                   appstate::Group::Start})
        appstate::at(next, g) = {true, true};
    applyGroups(next);
}

void TForm1::selectLastRowAndFocus() {
    if (lvFiles->topLevelItemCount() == 0)
        return;
    selectRow(lvFiles->topLevelItemCount() - 1);
    lvFiles->setFocus();
}

void TForm1::btnAddClick() {
    Button6Click();
    if (!ensureEngineLoaded())
        return;
    const QString path = services_.openFileName(this, QStringLiteral("打开文件"), openFilter());
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    if (AddMediaFile(path) == AddResult::Added)
        selectLastRowAndFocus();
}

// Takes the files from the last to the first; true when every file was taken.
bool TForm1::addFilesLastToFirst(const QStringList& files) {
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        if (!QFileInfo(files[i]).isFile())
            return false;
        if (AddMediaFile(files[i]) == AddResult::Stop)
            return false;
    }
    return true;
}

void TForm1::Button8Click() {
    Button6Click();
    if (!ensureEngineLoaded())
        return;
    const QStringList files =
        services_.openFileNames(this, QStringLiteral("打开文件"), openFilter());
    if (files.isEmpty() || !QFileInfo(files.first()).isFile())
        return;
    if (addFilesLastToFirst(files))
        selectLastRowAndFocus();
}

void TForm1::Button12Click() {
    const int rowsBefore = lvFiles->topLevelItemCount();
    Button6Click();
    if (!ensureEngineLoaded())
        return;
    const QString folder = services_.existingDirectory(this, QStringLiteral("选择目录"), QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    addFolder(folder, rowsBefore);
}

void TForm1::addFolder(const QString& folder, int rowsBefore) {
    if (!addFilesLastToFirst(medialist::GetFilenames(folder, QStringLiteral("*.*"))))
        return;
    selectLastRowAndFocus();
    if (lvFiles->topLevelItemCount() <= rowsBefore)
        info(QStringLiteral("在该目录没有发现可以用的视频或音频文件！"));
}

void TForm1::addPaths(const QStringList& paths) {
    // Dropped or named on the command line: folders as "添加整个目录", files as "添加多个文件".
    if (!appstate::at(groups_, appstate::Group::Add).menu)
        return;
    QStringList files;
    for (const QString& p : paths) {
        if (QFileInfo(p).isDir()) {
            Button6Click();
            if (!ensureEngineLoaded())
                return;
            addFolder(p, lvFiles->topLevelItemCount());
        } else {
            files << p;
        }
    }
    if (files.isEmpty())
        return;
    Button6Click();
    if (!ensureEngineLoaded())
        return;
    if (addFilesLastToFirst(files))
        selectLastRowAndFocus();
}

QString TForm1::openFilter() const {
    return medialist::openDialogNameFilters().join(QStringLiteral(";;"));
}

void TForm1::Button21Click() {
    openDialogFilter_ = medialist::openDialogFilterString();
}

// ---------------------------------------------------------------------------------------------
// Editing

void TForm1::swapRows(int a, int b) {
    QTreeWidgetItem* first = lvFiles->topLevelItem(a);
    QTreeWidgetItem* second = lvFiles->topLevelItem(b);
    // one update batch: no repaint until both rows hold their new content
    lvFiles->setUpdatesEnabled(false);
    for (int c = 0; c < lvFiles->columnCount(); ++c) {
        const QString t = first->text(c);
        first->setText(c, second->text(c));
        second->setText(c, t);
    }
    const QVariant progressA = first->data(columnOf(S::Progress), kProgressRole);
    first->setData(columnOf(S::Progress), kProgressRole,
                   second->data(columnOf(S::Progress), kProgressRole));
    second->setData(columnOf(S::Progress), kProgressRole, progressA);
    lvFiles->setUpdatesEnabled(true);
    std::swap(IO1[static_cast<std::size_t>(a)], IO1[static_cast<std::size_t>(b)]);
    std::swap(OO1[static_cast<std::size_t>(a)], OO1[static_cast<std::size_t>(b)]);
}

bool TForm1::conversionRunning() const {
    // Converting or Paused: progress is written by row position, so rows stay where they are.
    return appstate::at(groups_, appstate::Group::Stop).tool;
}

void TForm1::bsSkinButton3Click() {
    const int i = selectedRowIndex();
    if (i <= 0 || conversionRunning())
        return;
    swapRows(i, i - 1);
    selectRow(i - 1);
    lvFiles->setFocus();
}

void TForm1::bsSkinButton4Click() {
    const int i = selectedRowIndex();
    if (i < 0 || i >= lvFiles->topLevelItemCount() - 1 || conversionRunning())
        return;
    swapRows(i, i + 1);
    selectRow(i + 1);
    lvFiles->setFocus();
}

void TForm1::btnRemoveClick() {
    const int i = selectedRowIndex();
    if (i < 0) {
        info(QStringLiteral("请先选择您需要删除的项目！"));
        return;
    }
    bool ok = false;
    const int n = sub(lvFiles->topLevelItem(i), S::TaskNumber).toInt(&ok);
    if (ok)
        FFVCL->RemoveTask(n - 1);
    delete lvFiles->takeTopLevelItem(i);
    IO1.erase(IO1.begin() + i);
    OO1.erase(OO1.begin() + i);
    for (int r = 0; r < lvFiles->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = lvFiles->topLevelItem(r);
        const int number = sub(row, S::TaskNumber).toInt(&ok);
        if (ok && number > n)
            setSub(row, S::TaskNumber, QString::number(number - 1));
    }
    const bool rowsLeft = lvFiles->topLevelItemCount() > 0;
    auto next = groups_;
    for (auto g : {appstate::Group::Remove, appstate::Group::Rename, appstate::Group::Clear,
                   appstate::Group::Start})
        appstate::at(next, g) = {rowsLeft, rowsLeft};
    applyGroups(next);
    lvFiles->setFocus();
    if (rowsLeft) {
        selectRow(0);
        lvFiles->setFocus();
    } else {
        listBecameEmpty();
    }
}

void TForm1::btnClearClick() {
    FFVCL->ClearTasks();
    {
        const QSignalBlocker block(lvFiles);
        lvFiles->clear();
    }
    edt->hide();
    enterState(appstate::WindowState::Empty);
    Button15Click();
    listBecameEmpty();
}

void TForm1::listBecameEmpty() {
    pnlEmptyList->show();
    pnlEmptyList->raise();
    stopPreview();
    bsSkinSlider1->setValue(0);
}

void TForm1::startRenaming(bool fromButton) {
    QTreeWidgetItem* row = selectedRow();
    if (!row) {
        if (fromButton)
            info(QStringLiteral("请先选中您需要重命名的项目！"));
        return;
    }
    const QHeaderView* header = lvFiles->header();
    const int left = header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2) -
                     header->offset() + 2;
    const QRect cell = lvFiles->visualItemRect(row);
    edt->setGeometry(left, cell.top() + (cell.height() - 14) / 2, header->sectionSize(3), 14);
    edt->setText(QFileInfo(sub(row, S::OutputFile)).completeBaseName());
    edt->show();
    edt->raise();
    edt->setFocus();
}

void TForm1::bsSkinButton21Click() {
    startRenaming(true);
}
void TForm1::N26Click() {
    startRenaming(true);
}
void TForm1::lvFilesDblClick() {
    startRenaming(false);
}

void TForm1::edtExit() {
    if (edt->isHidden())
        return;
    const QString ext = catalogue::FormatExtension(
        bsSkinOfficeComboBox1->title(bsSkinOfficeComboBox1->currentIndex()));
    const QString text = edt->text();
    if (text.isEmpty())
        return;
    QTreeWidgetItem* row = selectedRow();
    edt->hide();
    if (!row)
        return;
    const QString name = text + ext;
    setSub(row, S::OutputFile, name);
    const int i = lvFiles->indexOfTopLevelItem(row);
    OO1[static_cast<std::size_t>(i)].FileName =
        Video_OutPut_Folder_Edit->text() + QDir::separator() + name;
}

void TForm1::lvFilesSelectItem() {
    QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    if (!restoreRowChoices(row))
        return;
    bsSkinSlider1->setValue(0);
    T_Movie_PLayer_FileName = row->text(0);
    Button31Click();
}

void TForm1::lvFilesClick() {
    if (!selectedRow())
        stopPreview();
}

// ---------------------------------------------------------------------------------------------
// Output folder

void TForm1::bsSkinButton5Click() {
    const QString folder =
        services_.existingDirectory(this, QStringLiteral("选择输出目录"), folderChooserStart_);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    folderChooserStart_ = folder;
    const QString native = QDir::toNativeSeparators(folder);
    Video_OutPut_Folder_Edit->setText(native);
    FileOutPutPath = native;
    Button16Click();
    lvFiles->setFocus();
}

void TForm1::Video_OutPut_Folder_EditClick() {
    lvFiles->setFocus();
}

void TForm1::btnOpenFolderClick() {
    Button20Click();
    lvFiles->setFocus();
}

void TForm1::Button20Click() {
    services_.openUrl(QUrl::fromLocalFile(Video_OutPut_Folder_Edit->text()));
}
