#pragma once
// How an error that no operation handles (a settings file that cannot be written) reaches the
// user: a message box with its text, after which the program goes on. Windows and dialogs take
// the function as a parameter so that tests record the text instead of opening a modal box.

#include <QString>

#include <functional>

class QWidget;

namespace settings {

using ErrorReport = std::function<void(QWidget* parent, const QString& text)>;

// A critical message box captioned with the product title, with an "OK" button.
void ShowErrorReport(QWidget* parent, const QString& text);

} // namespace settings
