#pragma once
// What the main window asks of the desktop: dialogs, message boxes and the shell. Tests put
// recording fakes here, so no real modal dialog ever blocks them and nothing opens or plays.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace platform {
class PowerControl;
class SoundPlayer;
} // namespace platform

class QWidget;

struct WindowServices {
    // One existing file, or empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)>
        openFileName;
    // Several existing files in the dialog's order, or empty when cancelled.
    std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)>
        openFileNames;
    // A folder, or empty when cancelled. `start` is where the chooser opens.
    std::function<QString(QWidget* parent, const QString& title, const QString& start)>
        existingDirectory;
    // A message box with one OK button.
    std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                       const QString& text)>
        message;
    // The shell's "open" of a folder, file or web address; failures are silent.
    std::function<void(const QUrl& url)> openUrl;

    // Errors that would otherwise be lost (a settings file or snapshot that cannot be written).
    std::function<void(QWidget* parent, const QString& text)> errorReport;
    // The skin chooser: the chosen index, or nothing when cancelled.
    std::function<std::optional<int>(QWidget* parent, int activeIndex)> skinChooser;
    // Runs a modal dialog (the Options dialog, the About box).
    std::function<void(QWidget* dialog)> execDialog;
    std::shared_ptr<platform::PowerControl> power;
    std::shared_ptr<platform::SoundPlayer> sound;

    // Real dialogs and the desktop shell.
    static WindowServices desktop();
};
