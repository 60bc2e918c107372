// Converting the list: Start, Stop, Pause, Resume, the engine's reports written into the rows,
// and the action after the last file.
#include "MainWindow.h"

#include "ProgressDelegate.h"

#include "FFmpegVCL.h"
#include "OptionsDialog.h"
#include "OutputNaming.h"
#include "OutputRecord.h"
#include "PlatformServices.h"
#include "PreviewScreen.h"
#include "RowTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <set>

namespace {
using S = conversion::SubItem;
constexpr int columnOf(S s) {
    return static_cast<int>(s) + 1;
}
} // namespace

void TForm1::btnStartClick() {
    static constexpr engine::TThreadPriority kPriorities[] = {engine::tpIdle, engine::tpLowest,
                                                              engine::tpLower, engine::tpNormal};
    const int priority = optionPriority();
    if (priority >= 0 && priority < 4)
        FFVCL->SetThreadPriority(kPriorities[priority]);
    button28Click();
    enterState(appstate::WindowState::Converting);
    bool ok = false;
    const int threads = optionThreadCountText().toInt(&ok);
    running_ = true;
    FFVCL->Start(ok && threads > 0 ? threads : 1);
}

void TForm1::button28Click() {
    FFVCL->ClearTasks();
    const bool overwrite = optionOverwrite();
    std::set<QString> claimed; // output paths of earlier rows of this run
    QSet<QString> claimedNames;
    for (int i = 0; i < lvFiles->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = lvFiles->topLevelItem(i);
        engine::TInputOptions& io = IO1[static_cast<std::size_t>(i)];
        engine::TOutputOptions& oo = OO1[static_cast<std::size_t>(i)];
        io.FileName = row->text(0);
        conversion::applyRowColumns(rowColumns(row), oo);

        QString target = FileOutPutPath + QDir::separator() + sub(row, S::OutputFile);
        if (!overwrite && claimed.count(target)) {
            // two rows of one run never write the same file: the later one gets a number
            conversion::OutputNameRequest request;
            request.folder = FileOutPutPath;
            request.inputPath = target;
            request.extension = QLatin1Char('.') + QFileInfo(target).suffix();
            request.takenFileNames = claimedNames;
            target = conversion::outputPathForNewFile(request);
            setSub(row, S::OutputFile, QFileInfo(target).fileName());
        }
        claimed.insert(target);
        claimedNames.insert(QFileInfo(target).fileName());

        int task = FFVCL->AddTask(io.FileName, io);
        if (task < 0) {
            // keep task i on row i: the row's task only reports why it cannot run
            task = FFVCL->AddFailedTask(io.FileName, FFVCL->LastErrMsg());
        } else {
            // a refused output stays with its task and is reported when the run reaches it
            FFVCL->SetOutputFile(task, target, oo);
        }
    }
}

void TForm1::btnStopClick() {
    auto next = groups_;
    appstate::at(next, appstate::Group::Stop) = {false, false};
    appstate::at(next, appstate::Group::Start).tool = true;
    appstate::at(next, appstate::Group::Settings) = {true, true};
    applyGroups(next);
    // a run ended by Stop gets no final report, so no completion action follows
    running_ = false;
    FFVCL->Stop(true);
    liveScreen_->clearFrame();
}

void TForm1::btnPauseClick() {
    auto next = groups_;
    appstate::at(next, appstate::Group::Pause) = {false, false};
    appstate::at(next, appstate::Group::Resume) = {true, true};
    applyGroups(next);
    FFVCL->Pause();
    tbPause->hide();
    tbResume->show();
}

void TForm1::btnResumeClick() {
    auto next = groups_;
    appstate::at(next, appstate::Group::Pause) = {true, true};
    appstate::at(next, appstate::Group::Resume) = {false, false};
    applyGroups(next);
    FFVCL->Resume();
    tbResume->hide();
    tbPause->show();
}

// ---------------------------------------------------------------------------------------------
// Reports

void TForm1::FFVCLProgress(const engine::TProgressInfo& p) {
    QTreeWidgetItem* row = lvFiles->topLevelItem(p.TaskIndex);
    if (!row)
        return;
    if (p.TotalDuration > 0) {
        const qint64 percent = p.CurrentDuration * 100 / p.TotalDuration;
        setSub(row, S::Progress, QString::number(percent) + QLatin1Char('%'));
        row->setData(columnOf(S::Progress), kProgressRole,
                     static_cast<int>(std::clamp<qint64>(percent, 0, 100)));
    } else {
        setSub(row, S::Progress, QStringLiteral("N/A"));
        row->setData(columnOf(S::Progress), kProgressRole, QVariant());
    }
    if (p.FPS > 0)
        setSub(row, S::Fps, QString::number(p.FPS));
    setSub(row, S::CurrentTime, medialist::SecToDate(p.CurrentDuration / 1000000));
    setSub(row, S::ConvertedSize, medialist::sizeText(p.CurrentSize));
}

void TForm1::FFVCLTerminate(const engine::TTerminateInfo& t) {
    if (t.TaskIndex < 0) {
        auto next = groups_;
        appstate::at(next, appstate::Group::Remove) = {false, false};
        appstate::at(next, appstate::Group::Rename) = {false, false};
        appstate::at(next, appstate::Group::Clear) = {true, true};
        appstate::at(next, appstate::Group::Stop) = {false, false};
        appstate::at(next, appstate::Group::Pause) = {false, false};
        appstate::at(next, appstate::Group::Resume) = {false, false};
        appstate::at(next, appstate::Group::Settings) = {true, true};
        applyGroups(next);
        running_ = false;
        liveScreen_->clearFrame();
        switch (optionAfterDone()) {
        case 0:
            Button20Click();
            break;
        case 1:
            Button25Click();
            break;
        case 2:
            Button29Click();
            break;
        default:
            break;
        }
    } else if (t.Finished) {
        if (QTreeWidgetItem* row = lvFiles->topLevelItem(t.TaskIndex)) {
            setSub(row, S::Progress, QStringLiteral("100%"));
            row->setData(columnOf(S::Progress), kProgressRole, 100);
        }
    }
    if (t.Exception)
        services_.message(this, QMessageBox::Warning, windowTitle(), t.ExceptionMsg);
}

void TForm1::FFLoggerLog(quint64 threadId, int level, const QString& message) {
    mmoLog->appendPlainText(QStringLiteral("#%1.%2: %3").arg(threadId).arg(level).arg(message));
}

// ---------------------------------------------------------------------------------------------
// Completion actions

void TForm1::Button25Click() {
    if (!services_.power)
        return;
    const QString privilege = QStringLiteral("SeShutdownPrivilege");
    services_.power->SetPrivilege(privilege, true);
    if (!services_.power->PowerOff())
        services_.power->SetPrivilege(privilege, false);
}

void TForm1::Button29Click() {
    if (services_.sound)
        services_.sound->PlayAsync(QDir(QCoreApplication::applicationDirPath())
                                       .filePath(QStringLiteral("sounds/ring001.wav")));
}

// ---------------------------------------------------------------------------------------------
// What the Options dialog's controls say; the defaults of the dialog when there is none.

int TForm1::optionPriority() const {
    return Form5 ? Form5->priority() : 3;
}
QString TForm1::optionThreadCountText() const {
    return Form5 ? Form5->threadCountText() : QStringLiteral("1");
}
bool TForm1::optionOverwrite() const {
    return Form5 && Form5->overwrite();
}
int TForm1::optionAfterDone() const {
    return Form5 ? Form5->afterDone() : 0;
}
