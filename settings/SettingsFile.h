#pragma once
// The settings file "option.ini": an INI text file read and written one value at a time.
// No data is held between calls: every ReadValue/WriteValue opens the file by its full path,
// does its one access and closes it, so a hand edit is seen by the next read and every write
// is on disk when the call returns. Any thread may call it; nothing locks the file.
//
// Format: "[Section]" header lines and "Key=Value" lines, UTF-8 without a byte-order mark.
// Section and key names match without regard to case; the first matching section and key win.
// A write replaces the value of an existing key in place (every other line keeps its bytes and
// its place), or appends the key to its section, or appends the section at the end of the file,
// or creates the file.

#include <QString>

#include <optional>
#include <stdexcept>

namespace settings {

// A write that could not be stored. what() is "Unable to write to <full path of the file>".
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString& filePath);
    QString text() const { return QString::fromUtf8(what()); }
};

class SettingsFile {
public:
    // The longest value a read returns; longer stored values are cut to this many characters.
    static constexpr int MaxValueLength = 2047;

    explicit SettingsFile(QString iniPath);
    // "option.ini" in the folder of the running program.
    static SettingsFile forProgram();

    QString path() const { return m_path; } // full path, native separators

    // The stored text, or nothing when the value counts as missing: no file, no such section
    // or key, an empty value, or exactly "Error" (the fallback every read passes).
    std::optional<QString> ReadValue(const QString& section, const QString& key) const;

    // Stores the text. Throws SettingsWriteError when the file cannot be read back whole or
    // written (folder missing or read-only, file read-only, path names a folder). A value,
    // key or section name that holds a line break would split into lines of its own and is
    // refused the same way; so is a key with "=" or a section name with "]".
    void WriteValue(const QString& section, const QString& key, const QString& value) const;

private:
    QString m_path;
};

} // namespace settings
