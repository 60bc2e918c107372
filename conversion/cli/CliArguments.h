#pragma once
// chenfan-cli's command line: what it asks for, the texts it lists, and the plan of tasks a
// conversion request gives (input, numbered output path, output record). Everything here is
// checked before the first file is converted.

#include "EngineTypes.h"
#include "Presets.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace cli {

enum class Command { Help, ListFormats, ListPresets, Convert };

struct ConvertRequest {
    int code = -1;
    QString outputFolder;
    int jobs = 1;
    bool overwrite = false;
    catalogue::PresetPositions presets{}; // the format's defaults unless a flag chose another
    QStringList files;                    // as given on the command line
};

struct Arguments {
    Command command = Command::Help;
    int code = -1; // --list-presets
    ConvertRequest convert;
};

struct ParseResult {
    std::optional<Arguments> arguments;
    QString error; // one line, without the program name; set when `arguments` is empty
};

// `args` without the program name; `currentFolder` is the default output folder. Checks the
// code, each preset entry against that code's list, -j, the output folder and every input.
ParseResult parseArguments(const QStringList& args, const QString& currentFolder);

// The long flag that sets a drop-down ("--frame-size", ...).
QString presetFlag(catalogue::PresetKind kind);

QString usageText();
// One line per format: code, tab, category caption, tab, title.
QString formatListText();
// The six lists of `code` in fill order, default entry marked "*"; empty for an unknown code.
QString presetListText(int code);

struct PlannedTask {
    QString input;
    QString output;
    engine::TOutputOptions options; // FileName left to SetOutputFile
    int round = 0;                  // tasks of one round run together; see planConversions
};

// One task per input, in the order given. Outputs are numbered against files on disk and
// against the outputs planned before them; no output ever names an input of the run. With
// overwrite, inputs sharing an output go into successive rounds so that they never convert
// at the same time.
std::vector<PlannedTask> planConversions(const ConvertRequest& request);

} // namespace cli
