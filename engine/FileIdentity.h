#pragma once
// Whether two paths name the same file: the same spelling after cleaning, the same canonical
// path (links, "." and ".."), or the same file on disk (hard links).

#include <QString>

namespace engine {

bool isSameFile(const QString& a, const QString& b);

} // namespace engine
