// chenfan-cli: converts files with the catalogue's formats and presets from a shell.
#include "CliArguments.h"

#ifdef CHENFAN_CLI_WITH_ENGINE
#include "BatchConversion.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("chenfan-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("17.1.0.0"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();

    const cli::ParseResult parsed = cli::parseArguments(args, QDir::currentPath());
    if (!parsed.arguments) {
        err << "chenfan-cli: " << parsed.error << Qt::endl;
        return 2;
    }
    const cli::Arguments& a = *parsed.arguments;
    switch (a.command) {
    case cli::Command::Help:
        out << cli::usageText() << Qt::flush;
        return 0;
    case cli::Command::ListFormats:
        out << cli::formatListText() << Qt::flush;
        return 0;
    case cli::Command::ListPresets:
        out << cli::presetListText(a.code) << Qt::flush;
        return 0;
    case cli::Command::Convert:
        break;
    }

    const auto plan = cli::planConversions(a.convert);
    if (plan.size() != static_cast<std::size_t>(a.convert.files.size())) {
        err << "chenfan-cli: 无法为格式 " << a.convert.code << " 生成转换设置" << Qt::endl;
        return 2;
    }
#ifdef CHENFAN_CLI_WITH_ENGINE
    return cli::runBatch(plan, a.convert.jobs, out, err);
#else
    err << "chenfan-cli: 此版本构建时没有转换引擎，不能转换文件" << Qt::endl;
    return 2;
#endif
}
