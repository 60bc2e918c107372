#include "AboutBox.h"
#include "FFmpegVCL.h"
#include "Glyphs.h"
#include "MainWindow.h"
#include "OptionsDialog.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("晨帆FLV视频转换器"));
    QApplication::setApplicationDisplayName(QStringLiteral("晨帆FLV视频转换器"));
    QApplication::setApplicationVersion(QStringLiteral("17.1.0.0"));
    QApplication::setWindowIcon(glyphs::appIcon());

    TForm1 form1(settings::SettingsFile::forProgram());
    about::TForm2 form2(&form1);
    settings::TForm5 form5(
        form1.ini(), [&form1](bool on) { form1.FFVCL->SetPreview(on); }, &form1);
    form1.setDialogs(&form2, &form5);
    form1.show();

    // files named on the command line join the list once the window runs
    QStringList files = QApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty())
        QTimer::singleShot(0, &form1, [&form1, files] { form1.addPaths(files); });
    return QApplication::exec();
}
