#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>
#include <vector>

namespace settings {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// One line of the file as it is on disk: its text without the line end, and the line end
// itself ("\r\n", "\n" or nothing for a last line without one). Lines that a write does not
// touch are written back with exactly these bytes.
struct Line {
    QByteArray text;
    QByteArray end;
};

struct Document {
    QByteArray bom; // kept when a hand-edited file starts with one
    std::vector<Line> lines;
};

Document parse(const QByteArray& bytes) {
    Document doc;
    qsizetype pos = 0;
    if (bytes.startsWith(kByteOrderMark)) {
        doc.bom = kByteOrderMark;
        pos = kByteOrderMark.size();
    }
    while (pos < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', pos);
        Line line;
        if (nl < 0) {
            line.text = bytes.mid(pos);
            pos = bytes.size();
        } else {
            qsizetype textEnd = nl;
            if (textEnd > pos && bytes.at(textEnd - 1) == '\r')
                --textEnd;
            line.text = bytes.mid(pos, textEnd - pos);
            line.end = bytes.mid(textEnd, nl + 1 - textEnd);
            pos = nl + 1;
        }
        doc.lines.push_back(std::move(line));
    }
    return doc;
}

QByteArray serialise(const Document& doc) {
    QByteArray out = doc.bom;
    for (const Line& line : doc.lines)
        out += line.text + line.end;
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

QByteArray trimmed(const QByteArray& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s.at(begin)))
        ++begin;
    while (end > begin && isBlank(s.at(end - 1)))
        --end;
    return s.mid(begin, end - begin);
}

bool sameName(const QByteArray& stored, const QString& wanted) {
    return QString::fromUtf8(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// The section name of a header line "[Name]", or nothing when the line is no header.
std::optional<QByteArray> sectionName(const Line& line) {
    const QByteArray t = trimmed(line.text);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed(t.mid(1, close - 1));
}

// Position of the "=" of a key line, or -1 for comments, blank lines and other text.
qsizetype equalsSign(const Line& line) {
    const QByteArray t = trimmed(line.text);
    if (t.isEmpty() || t.startsWith(';'))
        return -1;
    return line.text.indexOf('=');
}

// The lines [header, end) of the first section with that name; header is -1 when absent.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = 0;
};

SectionRange findSection(const Document& doc, const QString& section) {
    SectionRange range;
    const auto count = static_cast<qsizetype>(doc.lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        const auto name = sectionName(doc.lines[i]);
        if (!name)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(*name, section))
            range.header = i;
    }
    range.end = count;
    return range;
}

qsizetype findKey(const Document& doc, const SectionRange& range, const QString& key) {
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const Line& line = doc.lines[i];
        const qsizetype eq = equalsSign(line);
        if (eq >= 0 && sameName(trimmed(line.text.left(eq)), key))
            return i;
    }
    return -1;
}

// The line end that new lines get: the file's own convention, "\n" for a new file.
QByteArray lineEndOf(const Document& doc) {
    for (const Line& line : doc.lines)
        if (!line.end.isEmpty())
            return line.end;
    return QByteArrayLiteral("\n");
}

bool holdsLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString& filePath)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(filePath).toStdString()) {}

SettingsFile::SettingsFile(QString iniPath)
    : m_path(QDir::toNativeSeparators(QFileInfo(iniPath).absoluteFilePath())) {}

SettingsFile SettingsFile::forProgram() {
    return SettingsFile(QCoreApplication::applicationDirPath() + QStringLiteral("/option.ini"));
}

std::optional<QString> SettingsFile::ReadValue(const QString& section, const QString& key) const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Document doc = parse(file.readAll());
    file.close();

    const SectionRange range = findSection(doc, section);
    if (range.header < 0)
        return std::nullopt;
    const qsizetype at = findKey(doc, range, key);
    if (at < 0)
        return std::nullopt;
    const Line& line = doc.lines[at];
    QString value = QString::fromUtf8(trimmed(line.text.mid(equalsSign(line) + 1)));
    if (value.size() > MaxValueLength) {
        value.truncate(MaxValueLength);
        if (value.back().isHighSurrogate()) // never leave half a character behind
            value.chop(1);
    }
    if (value.isEmpty() || value == QLatin1String("Error"))
        return std::nullopt;
    return value;
}

void SettingsFile::WriteValue(const QString& section, const QString& key,
                              const QString& value) const {
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value) ||
        section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        throw SettingsWriteError(m_path);

    Document doc;
    const QFileInfo info(m_path);
    if (info.exists()) {
        // A file that cannot be read whole is left alone: rewriting it would lose its lines.
        QFile file(m_path);
        if (info.isDir() || !info.isWritable() || !file.open(QIODevice::ReadOnly))
            throw SettingsWriteError(m_path);
        doc = parse(file.readAll());
    }

    const QByteArray eol = lineEndOf(doc);
    const SectionRange range = findSection(doc, section);
    if (range.header < 0) {
        if (!doc.lines.empty() && doc.lines.back().end.isEmpty())
            doc.lines.back().end = eol;
        doc.lines.push_back({'[' + section.toUtf8() + ']', eol});
        doc.lines.push_back({key.toUtf8() + '=' + value.toUtf8(), eol});
    } else if (const qsizetype at = findKey(doc, range, key); at >= 0) {
        Line& line = doc.lines[at];
        line.text = line.text.left(equalsSign(line) + 1) + value.toUtf8();
    } else {
        // After the section's last non-blank line, so blank lines before the next header stay.
        qsizetype after = range.header;
        for (qsizetype i = range.header + 1; i < range.end; ++i)
            if (!trimmed(doc.lines[i].text).isEmpty())
                after = i;
        Line& previous = doc.lines[after];
        if (previous.end.isEmpty())
            previous.end = eol;
        doc.lines.insert(doc.lines.begin() + after + 1, {key.toUtf8() + '=' + value.toUtf8(), eol});
    }

    // Written beside the file and renamed over it, so a failed write leaves the old file whole.
    // Where the folder takes no new file but the file itself is writable, it is written directly.
    QSaveFile out(m_path);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        throw SettingsWriteError(m_path);
    const QByteArray bytes = serialise(doc);
    if (out.write(bytes) != bytes.size() || !out.commit())
        throw SettingsWriteError(m_path);
}

} // namespace settings
