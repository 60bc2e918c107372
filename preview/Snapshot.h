#pragma once
// Saving the frame on show as a picture: the file name (first free number per base name and
// extension) and the four encodings.

#include "SettingRules.h"

#include <QImage>
#include <QString>

namespace preview {

// The picture formats are the settings file's own ("BMP", "JPG", "GIF", "PNG").
using settings::PictureFormat;

// folder + separator + base name of `previewFile` without its last extension + "_" + n + ext,
// with n the first number from 1 for which no file exists (gaps are used again).
QString nextSnapshotPath(const QString& folder, const QString& previewFile, PictureFormat format);

// Writes `image` to `path`: BMP as captured, JPEG at quality 90 and baseline, GIF reduced to
// the GIF encoder's palette, PNG as captured. False with a readable reason on failure.
bool writeSnapshot(const QImage& image, const QString& path, PictureFormat format, QString* error);

} // namespace preview
