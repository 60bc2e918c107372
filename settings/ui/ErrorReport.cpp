#include "ErrorReport.h"

#include <QMessageBox>

namespace settings {

void ShowErrorReport(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("晨帆FLV视频转换器"), text);
}

} // namespace settings
