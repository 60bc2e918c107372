#pragma once
// The skin chooser "Select skin": the ten skin names and a small preview drawn in the skin
// under the cursor. It only reports the choice; applying and storing it is ChooseSkin's work.

#include <QDialog>

class QListWidget;
class QWidget;

namespace skins {

class SkinChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinChooserDialog(int activeIndex, QWidget* parent = nullptr);

    int chosenIndex() const; // the selected row, -1 when none
    QListWidget* list() const { return m_list; }
    QWidget* preview() const { return m_preview; }

private:
    void showPreview(int index);

    QListWidget* m_list = nullptr;
    QWidget* m_preview = nullptr;
};

} // namespace skins
