#pragma once
// Raw access to a settings file in tests: what is on disk, byte for byte, and a way to put
// exactly those bytes there, as a hand edit would.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

inline void putFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// The file's bytes, or "<no file>" when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}
