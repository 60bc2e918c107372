// Converting the list: Start, Stop, Pause, Resume, the engine's reports written into the rows,
// and the action after the last file.
#include "MainWindow.h"

#include "RowColumns.h"

#include "FFmpegVCL.h"
#include "PlatformServices.h"
#include "RowTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <set>

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
    for (int i = 0; i < lvFiles->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = lvFiles->topLevelItem(i);
        engine::TInputOptions& io = IO1[static_cast<std::size_t>(i)];
        engine::TOutputOptions& oo = OO1[static_cast<std::size_t>(i)];
        io.FileName = row->text(0);
        columnsToOutputOptions(row, oo);

        QString target = FileOutPutPath + QDir::separator() + sub(row, rowcol::OutputFile);
        if (!overwrite && claimed.count(target)) {
            // two rows of one run never write the same file: the later one gets a number
            target = numberedFreeName(target, claimed);
            setSub(row, rowcol::OutputFile, QFileInfo(target).fileName());
        }
        claimed.insert(target);

        int task = FFVCL->AddTask(io.FileName, io);
        if (task < 0) {
            // keep task i on row i: the row's task only reports why it cannot run
            task = FFVCL->AddFailedTask(io.FileName, FFVCL->LastErrMsg());
        } else if (!FFVCL->SetOutputFile(task, target, oo)) {
            FFVCL->MarkTaskFailed(task, FFVCL->LastErrMsg());
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
        setSub(row, rowcol::Progress, QString::number(percent) + QLatin1Char('%'));
        row->setData(rowcol::column(rowcol::Progress), kProgressRole,
                     static_cast<int>(std::clamp<qint64>(percent, 0, 100)));
    } else {
        setSub(row, rowcol::Progress, QStringLiteral("N/A"));
        row->setData(rowcol::column(rowcol::Progress), kProgressRole, QVariant());
    }
    if (p.FPS > 0)
        setSub(row, rowcol::Fps, QString::number(p.FPS));
    setSub(row, rowcol::CurrentTime, medialist::SecToDate(p.CurrentDuration / 1000000));
    setSub(row, rowcol::ConvertedSize, medialist::sizeText(p.CurrentSize));
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
            setSub(row, rowcol::Progress, QStringLiteral("100%"));
            row->setData(rowcol::column(rowcol::Progress), kProgressRole, 100);
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
    if (!power_)
        return;
    const QString privilege = QStringLiteral("SeShutdownPrivilege");
    power_->SetPrivilege(privilege, true);
    if (!power_->PowerOff())
        power_->SetPrivilege(privilege, false);
}

void TForm1::Button29Click() {
    if (sound_)
        sound_->PlayAsync(QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("sounds/ring001.wav")));
}
