#pragma once
// Naming output files: the output folder, the input's base name and the format's extension,
// numbered "_1", "_2", ... so that nothing already there is written over unless the user chose
// to overwrite.

#include <QSet>
#include <QString>

namespace conversion {

// `fileName` (no folder) with its extension replaced by `ext` (which has its dot); a name
// without extension gets `ext` appended. A leading dot (".hidden") is not an extension.
QString withExtension(const QString& fileName, const QString& ext);

// The folder, the native separator and the input's file name with `ext`.
QString rawOutputPath(const QString& folder, const QString& inputPath, const QString& ext);

struct OutputNameRequest {
    QString folder;         // the output folder as the output-folder box shows it
    QString inputPath;      // the file being added
    QString extension;      // the output extension of the format, with its dot
    bool overwrite = false; // "直接覆盖输出文件"
    // Bare file names already given to rows of the list (the rows all write into the output
    // folder at Start). They count as taken only when renaming, so that no row of one run
    // writes over another's result; with overwrite chosen two rows may share a name.
    QSet<QString> takenFileNames;
    // Paths that are never chosen whatever `overwrite` says: the inputs of the run. The input
    // being added is always one of them, so a file is never converted over itself.
    QSet<QString> inputsToKeep;
};

// The full output path: the raw path when it is free (or when overwriting), else the first of
// base_1.ext, base_2.ext, ... that no file on disk, no taken name and no kept input holds.
QString outputPathForNewFile(const OutputNameRequest& request);

} // namespace conversion
