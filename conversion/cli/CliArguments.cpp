#include "CliArguments.h"

#include "CatalogueChoice.h"
#include "Formats.h"
#include "OutputNaming.h"
#include "OutputRecord.h"
#include "PresetChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace cli {

using catalogue::PresetKind;

namespace {

constexpr int kMaxJobs = 64;

bool isDecimal(const QString& s) {
    if (s.isEmpty() || s.size() > 9)
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

std::optional<int> liveCode(const QString& text) {
    if (!isDecimal(text))
        return std::nullopt;
    const int code = text.toInt();
    if (!catalogue::findFormat(code))
        return std::nullopt;
    return code;
}

QString unknownCode(const QString& text) {
    return QStringLiteral("未知的格式代码“%1”（用 --list-formats 查看全部格式）").arg(text);
}

// The categories' captions by format code, for listing.
QString categoryCaptionOf(int code) {
    for (const auto& c : catalogue::categories())
        for (const auto& f : c.formats)
            if (f.code == code)
                return QString::fromUtf8(c.caption);
    return {};
}

} // namespace

QString presetFlag(PresetKind kind) {
    switch (kind) {
    case PresetKind::FrameSize:
        return QStringLiteral("--frame-size");
    case PresetKind::VideoBitrate:
        return QStringLiteral("--video-bitrate");
    case PresetKind::FrameRate:
        return QStringLiteral("--frame-rate");
    case PresetKind::AudioBitrate:
        return QStringLiteral("--audio-bitrate");
    case PresetKind::SampleRate:
        return QStringLiteral("--sample-rate");
    case PresetKind::Aspect:
        return QStringLiteral("--aspect");
    }
    return {};
}

QString usageText() {
    return QStringLiteral(
        "用法：\n"
        "  chenfan-cli --list-formats\n"
        "  chenfan-cli --list-presets CODE\n"
        "  chenfan-cli -f CODE [-o DIR] [-j N] [--overwrite] [--frame-size TEXT]\n"
        "              [--video-bitrate TEXT] [--frame-rate TEXT] [--audio-bitrate TEXT]\n"
        "              [--sample-rate TEXT] [--aspect TEXT] FILE...\n"
        "\n"
        "  -f CODE      输出格式代码（见 --list-formats）\n"
        "  -o DIR       输出目录，默认为当前目录\n"
        "  -j N         同时转换的文件数，默认 1\n"
        "  --overwrite  直接覆盖输出文件（默认自动重命名：name_1、name_2……）\n"
        "  预置选项的取值必须与 --list-presets CODE 列出的条目完全一致，例如 \"1200 kbps\"。\n");
}

QString formatListText() {
    QString out;
    for (const auto& c : catalogue::categories())
        for (const auto& f : c.formats)
            out += QStringLiteral("%1\t%2\t%3\n")
                       .arg(f.code)
                       .arg(QString::fromUtf8(c.caption), QString::fromUtf8(f.title));
    return out;
}

QString presetListText(int code) {
    const catalogue::PresetAssignment* a = catalogue::presetAssignment(code);
    if (!a)
        return {};
    const auto* format = catalogue::findFormat(code);
    QString out = QStringLiteral("%1\t%2\t%3\n")
                      .arg(code)
                      .arg(categoryCaptionOf(code), QString::fromUtf8(format->title));
    for (PresetKind kind : catalogue::kPresetFillOrder) {
        const bool locked =
            a->videoListsDisabled &&
            std::find(catalogue::kVideoPresetKinds.begin(), catalogue::kVideoPresetKinds.end(),
                      kind) != catalogue::kVideoPresetKinds.end();
        out += QStringLiteral("\n%1 %2%3\n")
                   .arg(catalogue::presetLabel(kind), presetFlag(kind),
                        locked ? QStringLiteral("（该格式不可更改）") : QString());
        const auto& list = a->lists[static_cast<std::size_t>(catalogue::index(kind))];
        for (std::size_t i = 0; i < list.entries.size(); ++i)
            out += QStringLiteral("%1 %2\n").arg(static_cast<int>(i) == list.defaultPosition
                                                     ? QStringLiteral("*")
                                                     : QStringLiteral(" "),
                                                 QString::fromUtf8(list.entries[i]));
    }
    return out;
}

ParseResult parseArguments(const QStringList& args, const QString& currentFolder) {
    auto fail = [](const QString& message) { return ParseResult{std::nullopt, message}; };

    if (args.isEmpty())
        return fail(QStringLiteral("没有给出任何参数（用 --help 查看用法）"));

    Arguments result;
    if (args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))) {
        result.command = Command::Help;
        return {result, {}};
    }
    if (args.first() == QStringLiteral("--list-formats")) {
        if (args.size() != 1)
            return fail(QStringLiteral("--list-formats 不接受其他参数"));
        result.command = Command::ListFormats;
        return {result, {}};
    }
    if (args.first() == QStringLiteral("--list-presets")) {
        if (args.size() != 2)
            return fail(QStringLiteral("--list-presets 需要且只需要一个格式代码"));
        const auto code = liveCode(args[1]);
        if (!code)
            return fail(unknownCode(args[1]));
        result.command = Command::ListPresets;
        result.code = *code;
        return {result, {}};
    }

    // Conversion: collect first, check afterwards, so every check knows the format.
    QString codeText;
    bool haveCode = false;
    QString folder = currentFolder;
    QString jobsText = QStringLiteral("1");
    bool overwrite = false;
    std::array<std::optional<QString>, catalogue::kPresetKindCount> presetTexts;
    QStringList files;

    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg == QStringLiteral("-")) {
            files << arg;
            continue;
        }
        if (arg == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QStringLiteral("--overwrite")) {
            overwrite = true;
            continue;
        }
        if (arg == QStringLiteral("--list-formats") || arg == QStringLiteral("--list-presets"))
            return fail(QStringLiteral("%1 不能与转换参数一起使用").arg(arg));

        QString name = arg;
        std::optional<QString> value;
        if (arg.startsWith(QStringLiteral("--"))) {
            const qsizetype eq = arg.indexOf(u'=');
            if (eq > 0) {
                name = arg.left(eq);
                value = arg.mid(eq + 1);
            }
        }
        const bool known =
            name == QStringLiteral("-f") || name == QStringLiteral("-o") ||
            name == QStringLiteral("-j") ||
            std::any_of(catalogue::kPresetFillOrder.begin(), catalogue::kPresetFillOrder.end(),
                        [&](PresetKind k) { return presetFlag(k) == name; });
        if (!known)
            return fail(QStringLiteral("未知的选项“%1”（用 --help 查看用法）").arg(arg));
        if (!value) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("选项 %1 缺少取值").arg(name));
            value = args[++i];
        }
        if (name == QStringLiteral("-f")) {
            codeText = *value;
            haveCode = true;
        } else if (name == QStringLiteral("-o")) {
            folder = *value;
        } else if (name == QStringLiteral("-j")) {
            jobsText = *value;
        } else {
            for (PresetKind k : catalogue::kPresetFillOrder)
                if (presetFlag(k) == name)
                    presetTexts[static_cast<std::size_t>(catalogue::index(k))] = *value;
        }
    }

    if (!haveCode)
        return fail(
            QStringLiteral("需要用 -f CODE 指定输出格式（用 --list-formats 查看全部格式）"));
    const auto code = liveCode(codeText);
    if (!code)
        return fail(unknownCode(codeText));

    ConvertRequest& req = result.convert;
    req.code = *code;
    req.presets = *catalogue::defaultPresetPositions(*code);
    for (PresetKind k : catalogue::kPresetFillOrder) {
        const auto& text = presetTexts[static_cast<std::size_t>(catalogue::index(k))];
        if (!text)
            continue;
        const int pos = catalogue::findPresetEntry(*code, k, *text);
        if (pos < 0)
            return fail(QStringLiteral("“%1”不是格式 %2 的%3选项（用 --list-presets %2 查看）")
                            .arg(*text)
                            .arg(*code)
                            .arg(catalogue::presetLabel(k).chopped(1)));
        req.presets[static_cast<std::size_t>(catalogue::index(k))] = pos;
    }

    if (!isDecimal(jobsText) || jobsText.toInt() < 1 || jobsText.toInt() > kMaxJobs)
        return fail(
            QStringLiteral("-j 需要 1 到 %1 之间的整数，而不是“%2”").arg(kMaxJobs).arg(jobsText));
    req.jobs = jobsText.toInt();

    const QFileInfo folderInfo(folder);
    if (folder.isEmpty() || !folderInfo.isDir())
        return fail(QStringLiteral("输出目录不存在：%1").arg(folder));
    req.outputFolder = QDir::toNativeSeparators(folderInfo.absoluteFilePath());
    req.overwrite = overwrite;

    if (files.isEmpty())
        return fail(QStringLiteral("没有给出要转换的文件"));
    for (const QString& f : files) {
        const QFileInfo info(f);
        if (!info.exists())
            return fail(QStringLiteral("找不到输入文件：%1").arg(f));
        if (!info.isFile())
            return fail(QStringLiteral("不是文件：%1").arg(f));
        if (!info.isReadable())
            return fail(QStringLiteral("无法读取输入文件：%1").arg(f));
    }
    req.files = files;
    result.command = Command::Convert;
    return {result, {}};
}

std::vector<PlannedTask> planConversions(const ConvertRequest& req) {
    std::vector<PlannedTask> plan;
    // The same choice the window would show: the format, then each chosen entry.
    const auto positions = catalogue::positionsOfFormat(req.code);
    conversion::CatalogueChoice choice;
    if (!positions || !choice.chooseCategory(positions->category, nullptr) ||
        !choice.chooseFormat(positions->format, nullptr))
        return plan;
    for (PresetKind k : catalogue::kPresetFillOrder)
        if (!choice.choosePreset(k, req.presets[static_cast<std::size_t>(catalogue::index(k))],
                                 nullptr))
            return plan;

    conversion::OutputNameRequest naming;
    naming.folder = req.outputFolder;
    naming.overwrite = req.overwrite;
    for (const QString& f : req.files)
        naming.inputsToKeep.insert(QFileInfo(f).absoluteFilePath());

    QHash<QString, int> uses; // output path -> tasks planned for it so far
    for (const QString& f : req.files) {
        naming.inputPath = QFileInfo(f).absoluteFilePath();
        const auto added = choice.prepareNewFile(naming);
        naming.takenFileNames.insert(added.row[conversion::SubItem::OutputFile]);

        PlannedTask t;
        t.input = naming.inputPath;
        t.output = added.outputPath;
        t.round = uses[t.output]++;
        // What the window does: the record made when the file is added, then the row's
        // columns over it when the tasks are built at Start.
        t.options.reset();
        conversion::applyProfile(added.profile, t.options);
        conversion::applyRowColumns(added.row, t.options);
        plan.push_back(std::move(t));
    }
    return plan;
}

} // namespace cli
