#pragma once
// TForm2 ("SET"): the map editor's entry of one number and how to apply it. The caller fills
// the text, shows the dialog modally and on QDialog::Accepted reads the text and the mode.
#include <QDialog>
#include <QString>

class QComboBox;
class QPushButton;
class QShowEvent;

namespace kaldor {

class FilteredLineEdit;

class TForm2 : public QDialog {
    Q_OBJECT

public:
    // ComboBox1's entries, by index.
    enum Mode { kModeAbsolute = 0, kModeOffset = 1, kModePercent = 2 };

    explicit TForm2(QWidget* parent = nullptr);

    void setText(const QString& text);
    // Edit1's text, unchecked: the caller converts it.
    [[nodiscard]] QString text() const;
    // ComboBox1's index; the choice stays from one use to the next.
    [[nodiscard]] int modeIndex() const;
    void setModeIndex(int index);

    // Lets digits, Backspace, Enter, "-" and "+" through and swallows every other character.
    void Edit1KeyPress(int& key);

protected:
    void showEvent(QShowEvent* event) override;

private:
    FilteredLineEdit* m_edit = nullptr;
    QComboBox* m_mode = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_abort = nullptr;
};

}  // namespace kaldor
