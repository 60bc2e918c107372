#include "BatchConversion.h"

#include "FFmpegVCL.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <algorithm>

namespace cli {
namespace {

struct Outcome {
    bool done = false;
    bool converted = false;
};

// Hands the tasks of `round` (or all of them for round -1) to the engine; `indexes` receives,
// per engine task index, the position in `plan`.
bool addTasks(engine::TFFmpegVCL& vcl, const std::vector<PlannedTask>& plan, int round,
              std::vector<std::size_t>& indexes, QTextStream& err) {
    vcl.ClearTasks();
    indexes.clear();
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlannedTask& t = plan[i];
        if (round >= 0 && t.round != round)
            continue;
        engine::TInputOptions in;
        in.reset();
        in.FileName = t.input;
        const int task = vcl.AddTask(t.input, in);
        if (task < 0) {
            err << "chenfan-cli: 无法打开输入文件 " << QDir::toNativeSeparators(t.input) << "："
                << vcl.LastErrMsg() << Qt::endl;
            return false;
        }
        if (!vcl.SetOutputFile(task, t.output, t.options)) {
            err << "chenfan-cli: 无法转换 " << QDir::toNativeSeparators(t.input) << "："
                << vcl.LastErrMsg() << Qt::endl;
            return false;
        }
        if (static_cast<std::size_t>(task) >= indexes.size())
            indexes.resize(static_cast<std::size_t>(task) + 1, plan.size());
        indexes[static_cast<std::size_t>(task)] = i;
    }
    return true;
}

} // namespace

int runBatch(const std::vector<PlannedTask>& plan, int jobs, QTextStream& out, QTextStream& err) {
    engine::TFFmpegVCL vcl;
    if (!vcl.AVLibLoaded() &&
        !vcl.LoadAVLib(QCoreApplication::applicationDirPath() + QStringLiteral("/LibAV"))) {
        err << "chenfan-cli: 无法加载 FFmpeg 库：" << vcl.LastErrMsg() << Qt::endl;
        return 2;
    }

    // Every task is checked first: nothing is converted when one of them cannot be. A single
    // round then runs as checked; several rounds are handed over one after another.
    std::vector<std::size_t> indexes;
    if (!addTasks(vcl, plan, -1, indexes, err))
        return 2;

    const int rounds =
        plan.empty()
            ? 0
            : 1 + std::max_element(plan.begin(), plan.end(), [](const auto& a, const auto& b) {
                      return a.round < b.round;
                  })->round;
    std::vector<Outcome> outcomes(plan.size());
    std::vector<int> shownPercent(plan.size(), -1);
    const int total = static_cast<int>(plan.size());

    for (int round = 0; round < rounds; ++round) {
        if (rounds > 1 && !addTasks(vcl, plan, round, indexes, err))
            return 2;

        QEventLoop loop;
        auto planIndex = [&](int task) -> std::optional<std::size_t> {
            if (task < 0 || static_cast<std::size_t>(task) >= indexes.size() ||
                indexes[static_cast<std::size_t>(task)] >= plan.size())
                return std::nullopt;
            return indexes[static_cast<std::size_t>(task)];
        };
        const auto progress = QObject::connect(
            &vcl, &engine::TFFmpegVCL::OnProgress, &loop, [&](const engine::TProgressInfo& info) {
                const auto i = planIndex(info.TaskIndex);
                if (!i || info.TotalDuration <= 0)
                    return;
                const int percent = static_cast<int>(
                    std::clamp<int64_t>(info.CurrentDuration * 100 / info.TotalDuration, 0, 100));
                if (percent == shownPercent[*i])
                    return;
                shownPercent[*i] = percent;
                err << "[" << (*i + 1) << "/" << total << "] " << percent << "% "
                    << QDir::toNativeSeparators(plan[*i].input) << Qt::endl;
            });
        const auto terminate = QObject::connect(
            &vcl, &engine::TFFmpegVCL::OnTerminate, &loop, [&](const engine::TTerminateInfo& info) {
                if (info.TaskIndex < 0) {
                    loop.quit();
                    return;
                }
                const auto i = planIndex(info.TaskIndex);
                if (!i || outcomes[*i].done)
                    return;
                outcomes[*i].done = true;
                outcomes[*i].converted = info.Finished && !info.Exception;
                const QString input = QDir::toNativeSeparators(plan[*i].input);
                if (outcomes[*i].converted)
                    out << QDir::toNativeSeparators(plan[*i].output) << Qt::endl;
                else if (info.Exception)
                    err << "chenfan-cli: 转换失败 " << input << "：" << info.ExceptionMsg
                        << Qt::endl;
                else
                    err << "chenfan-cli: 转换未完成 " << input << Qt::endl;
            });

        vcl.Start(jobs);
        loop.exec();
        QObject::disconnect(progress);
        QObject::disconnect(terminate);
    }

    bool all = true;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].done) {
            err << "chenfan-cli: 引擎没有报告结果 " << QDir::toNativeSeparators(plan[i].input)
                << Qt::endl;
        }
        all = all && outcomes[i].converted;
    }
    return all ? 0 : 1;
}

} // namespace cli
