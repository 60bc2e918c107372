#include "SettingRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>

namespace settings {

namespace {

QString defaultFolder(const QString& leaf) {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\晨帆视频软件\\") + leaf;
#else
    return QDir::toNativeSeparators(QDir::homePath() + QStringLiteral("/晨帆视频软件/") + leaf);
#endif
}

// Failure is not reported: the caller uses the folder anyway, and whatever later writes into
// it reports its own error.
void createFolder(const QString& folder) {
    QDir().mkpath(folder);
}

bool folderExists(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

// The number 0..last whose decimal text is exactly the stored value, or -1.
int storedChoice(const std::optional<QString>& stored, int first, int last) {
    if (!stored)
        return -1;
    for (int n = first; n <= last; ++n)
        if (*stored == QString::number(n))
            return n;
    return -1;
}

// Writes a default back; returns the error text, empty when it was stored.
QString writeBack(const SettingsFile& file, QLatin1String section, QLatin1String key,
                  const QString& value) {
    try {
        file.WriteValue(section, key, value);
    } catch (const SettingsWriteError& e) {
        return e.text();
    }
    return {};
}

// Reads a folder key: a stored folder is created and used, a missing one gets the default,
// which is created and written back.
Loaded<QString> readFolder(const SettingsFile& file, QLatin1String section, QLatin1String key,
                           const QString& fallback) {
    if (const auto stored = file.ReadValue(section, key)) {
        createFolder(*stored);
        return {*stored, {}};
    }
    createFolder(fallback);
    return {fallback, writeBack(file, section, key, fallback)};
}

constexpr std::array kPictureFormats{PictureFormat::BMP, PictureFormat::JPG, PictureFormat::GIF,
                                     PictureFormat::PNG};

} // namespace

QString DefaultOutputFolder() {
    return defaultFolder(QStringLiteral("输出"));
}
QString DefaultSnapshotFolder() {
    return defaultFolder(QStringLiteral("快照"));
}

Loaded<QString> LoadOutputFolder(const SettingsFile& file) {
    const QString fallback = DefaultOutputFolder();
    try {
        Loaded<QString> loaded = readFolder(file, keys::OutPathSection, keys::OutPath, fallback);
        if (loaded.writeError.isEmpty())
            return loaded;
    } catch (...) {
        // Whatever failed, the default folder is applied below.
    }
    createFolder(fallback);
    return {fallback, writeBack(file, keys::OutPathSection, keys::OutPath, fallback)};
}

bool SaveOutputFolder(const SettingsFile& file, const QString& folder) {
    if (!folderExists(folder))
        return false;
    file.WriteValue(keys::OutPathSection, keys::OutPath, folder);
    return true;
}

Loaded<int> ReadSkinIndex(const SettingsFile& file) {
    const auto stored = file.ReadValue(keys::SkinSection, keys::SetSkin);
    if (!stored)
        return {0, writeBack(file, keys::SkinSection, keys::SetSkin, QStringLiteral("0"))};
    // Decimal digits with an optional minus sign; anything else is no index at all.
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+$"));
    bool ok = false;
    const int index = decimal.match(*stored).hasMatch() ? stored->toInt(&ok) : -1;
    return {ok ? index : -1, {}};
}

void WriteSkinIndex(const SettingsFile& file, int index) {
    file.WriteValue(keys::SkinSection, keys::SetSkin, QString::number(index));
}

QString LoadOptions(const SettingsFile& file, OptionControls& controls) {
    const auto read = [&](QLatin1String key) { return file.ReadValue(keys::OptionsSection, key); };
    const auto store = [&](QLatin1String key, int value) {
        return writeBack(file, keys::OptionsSection, key, QString::number(value));
    };

    // "0" means "not chosen yet": it shows 1 and stays in the file as it is.
    const int threads = storedChoice(read(keys::ThreadCount), 0, ThreadCountEntries);
    controls.setThreadCount(threads > 0 ? threads : 1);
    if (threads < 0)
        if (QString error = store(keys::ThreadCount, 0); !error.isEmpty())
            return error;

    const int afterDone = storedChoice(read(keys::AfterDone), OpenOutputFolder, DoNothing);
    controls.setAfterDone(afterDone >= 0 ? afterDone : OpenOutputFolder);
    if (afterDone < 0)
        if (QString error = store(keys::AfterDone, OpenOutputFolder); !error.isEmpty())
            return error;

    const int priority = storedChoice(read(keys::ThreadPriority), IdlePriority, NormalPriority);
    controls.setThreadPriority(priority >= 0 ? priority : NormalPriority);
    if (priority < 0)
        if (QString error = store(keys::ThreadPriority, NormalPriority); !error.isEmpty())
            return error;

    const int overwrite = storedChoice(read(keys::OverwriteFile), 0, 1);
    controls.setOverwrite(overwrite == 0);
    if (overwrite < 0)
        if (QString error = store(keys::OverwriteFile, 1); !error.isEmpty())
            return error;

    const int preview = storedChoice(read(keys::ShowPreview), 0, 1);
    controls.setShowPreview(preview == 1);
    if (preview < 0)
        return store(keys::ShowPreview, 0);
    return {};
}

void SaveOptions(const SettingsFile& file, const OptionValues& values) {
    const auto write = [&](QLatin1String key, const QString& value) {
        file.WriteValue(keys::OptionsSection, key, value);
    };
    write(keys::ThreadCount, values.threadCountText);
    write(keys::AfterDone, QString::number(values.afterDone));
    write(keys::ShowPreview, values.showPreview ? QStringLiteral("1") : QStringLiteral("0"));
    write(keys::ThreadPriority, QString::number(values.threadPriority));
    write(keys::OverwriteFile, values.overwrite ? QStringLiteral("0") : QStringLiteral("1"));
}

QString PictureFormatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::BMP:
        return QStringLiteral("BMP");
    case PictureFormat::JPG:
        return QStringLiteral("JPG");
    case PictureFormat::GIF:
        return QStringLiteral("GIF");
    case PictureFormat::PNG:
        return QStringLiteral("PNG");
    }
    return QStringLiteral("BMP");
}

QString PictureFormatExtension(PictureFormat format) {
    return QLatin1Char('.') + PictureFormatName(format).toLower();
}

Loaded<QString> ReadSnapshotFolder(const SettingsFile& file) {
    return readFolder(file, keys::SnapShotSection, keys::Dir, DefaultSnapshotFolder());
}

bool WriteSnapshotFolder(const SettingsFile& file, const QString& folder) {
    if (!folderExists(folder))
        return false;
    file.WriteValue(keys::SnapShotSection, keys::Dir, folder);
    return true;
}

Loaded<PictureFormat> ReadPictureFormat(const SettingsFile& file) {
    if (const auto stored = file.ReadValue(keys::SnapShotSection, keys::Picture))
        for (PictureFormat format : kPictureFormats)
            if (*stored == PictureFormatName(format))
                return {format, {}};
    return {PictureFormat::BMP, writeBack(file, keys::SnapShotSection, keys::Picture,
                                          PictureFormatName(PictureFormat::BMP))};
}

void WritePictureFormat(const SettingsFile& file, PictureFormat format) {
    file.WriteValue(keys::SnapShotSection, keys::Picture, PictureFormatName(format));
}

} // namespace settings
