#include "WindowServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>

#include "ErrorReport.h"
#include "PlatformServices.h"
#include "Skins.h"

WindowServices WindowServices::desktop() {
    WindowServices s;
    s.openFileName = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
    s.openFileNames = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
    };
    s.existingDirectory = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start);
    };
    s.message = [](QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                   const QString& text) {
        QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    };
    s.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    s.errorReport = settings::ShowErrorReport;
    s.skinChooser = skins::ExecSkinChooser;
    s.execDialog = [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->exec();
    };
    s.power = platform::makeSystemPowerControl();
    s.sound = platform::makeSystemSoundPlayer();
    return s;
}
