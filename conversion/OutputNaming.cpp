#include "OutputNaming.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace conversion {
namespace {

constexpr Qt::CaseSensitivity kFileNameCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

// The same file on disk, however it is spelt (links, "..", a relative path).
QString samePathKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    return kFileNameCase == Qt::CaseInsensitive ? key.toLower() : key;
}

bool containsName(const QSet<QString>& names, const QString& name) {
    if (kFileNameCase == Qt::CaseSensitive)
        return names.contains(name);
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Where the extension starts in a bare file name, or -1.
qsizetype extensionStart(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? dot : -1;
}

QString fileNameOf(const QString& path) {
    // Both separators: an input path may come in either spelling on Windows.
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

} // namespace

QString withExtension(const QString& fileName, const QString& ext) {
    const qsizetype dot = extensionStart(fileName);
    return (dot < 0 ? fileName : fileName.left(dot)) + ext;
}

QString rawOutputPath(const QString& folder, const QString& inputPath, const QString& ext) {
    QString f = QDir::toNativeSeparators(folder);
    const QChar sep = QDir::separator();
    if (!f.endsWith(sep))
        f += sep;
    return f + withExtension(fileNameOf(inputPath), ext);
}

QString outputPathForNewFile(const OutputNameRequest& req) {
    const QString raw = rawOutputPath(req.folder, req.inputPath, req.extension);
    const qsizetype nameStart = raw.size() - fileNameOf(raw).size();
    const QString fileName = raw.mid(nameStart);
    const qsizetype dot = extensionStart(fileName);
    const QString stem = raw.left(nameStart) + (dot < 0 ? fileName : fileName.left(dot));
    const QString ext = dot < 0 ? QString() : fileName.mid(dot);

    QSet<QString> kept{samePathKey(req.inputPath)};
    for (const QString& p : req.inputsToKeep)
        kept.insert(samePathKey(p));

    auto free = [&](const QString& candidate) {
        if (kept.contains(samePathKey(candidate)))
            return false;
        if (req.overwrite)
            return true;
        return !QFileInfo::exists(candidate) &&
               !containsName(req.takenFileNames, fileNameOf(candidate));
    };

    QString candidate = stem + ext;
    for (int n = 1; !free(candidate); ++n)
        candidate = stem + QLatin1Char('_') + QString::number(n) + ext;
    return candidate;
}

} // namespace conversion
