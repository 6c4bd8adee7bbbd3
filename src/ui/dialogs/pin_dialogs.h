#pragma once
// The two PIN dialogs: TForm4 asks for the controller's PIN, TForm3 takes a new PIN typed twice.
// Both are created once at start-up and shown modally; OK gives QDialog::Accepted, the abort
// button, Escape and any other way of closing give QDialog::Rejected.
#include "ui/dialogs/filtered_line_edit.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QPushButton;
class QShowEvent;

namespace kaldor {

// One digit of a PIN: at most one character, drawn as "#" in large type; text() keeps the digit.
class PinEdit : public FilteredLineEdit {
    Q_OBJECT

public:
    explicit PinEdit(QWidget* parent = nullptr);

    // The digit held, or -1 while the edit is empty or holds anything but a digit.
    [[nodiscard]] int digit() const;
};

// What the two PIN dialogs share: rows of four digit edits, the abort and OK buttons, the digit
// filter and the moves from edit to edit.
class PinDialog : public QDialog {
    Q_OBJECT

public:
    // The first row's four characters as typed.
    [[nodiscard]] QString digits() const { return rowDigits(0); }
    // The first row packed one digit per hexadecimal digit; empty unless all four hold a digit.
    [[nodiscard]] std::optional<std::uint16_t> pin() const { return rowPin(0); }

    // Runs each time the dialog is shown.
    virtual void FormActivate() = 0;

protected:
    PinDialog(const QString& caption, int rows, QWidget* parent);

    [[nodiscard]] QString rowDigits(int row) const;
    [[nodiscard]] std::optional<std::uint16_t> rowPin(int row) const;
    [[nodiscard]] int editCount() const { return static_cast<int>(m_edits.size()); }
    // The edit at index in tab order (row by row); index must be below editCount().
    [[nodiscard]] PinEdit* edit(int index) const { return m_edits.at(static_cast<size_t>(index)); }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    // Whether the entry so far allows OK.
    [[nodiscard]] virtual bool entryComplete() const = 0;

    void bindKeys(int index, FilteredLineEdit::KeyPressHandler keyPress,
                  FilteredLineEdit::KeyUpHandler keyUp);
    // The body of every OnKeyPress handler: the typed character through the digit filter.
    static void filterDigit(int& key);
    // The body of every OnKeyUp handler, for the edit at index.
    void moveOn(int index, int key);
    void validate();
    void clearEdits();

    void showEvent(QShowEvent* event) override;

private:
    std::vector<PinEdit*> m_edits;
    QPushButton* m_abort = nullptr;
    QPushButton* m_ok = nullptr;
};

// Asks for the four digits of the controller's PIN.
class TForm4 : public PinDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    void FormActivate() override;

    void MaskEditPin1KeyPress(int& key);
    void MaskEditPin2KeyPress(int& key);
    void MaskEditPin3KeyPress(int& key);
    void MaskEditPin4KeyPress(int& key);
    void MaskEditPin1KeyUp(int key);
    void MaskEditPin2KeyUp(int key);
    void MaskEditPin3KeyUp(int key);
    void MaskEditPin4KeyUp(int key);

protected:
    [[nodiscard]] bool entryComplete() const override;
};

// Takes a new PIN: four digits, then the same four again.
class TForm3 : public PinDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    // The retype row's four characters as typed.
    [[nodiscard]] QString retypedDigits() const { return rowDigits(1); }

    void FormActivate() override;

    void MaskEditPin1KeyPress(int& key);
    void MaskEditPin2KeyPress(int& key);
    void MaskEditPin3KeyPress(int& key);
    void MaskEditPin4KeyPress(int& key);
    void MaskEditPin11KeyPress(int& key);
    void MaskEditPin12KeyPress(int& key);
    void MaskEditPin13KeyPress(int& key);
    void MaskEditPin14KeyPress(int& key);
    void MaskEditPin1KeyUp(int key);
    void MaskEditPin2KeyUp(int key);
    void MaskEditPin3KeyUp(int key);
    void MaskEditPin4KeyUp(int key);
    void MaskEditPin11KeyUp(int key);
    void MaskEditPin12KeyUp(int key);
    void MaskEditPin13KeyUp(int key);
    void MaskEditPin14KeyUp(int key);

protected:
    [[nodiscard]] bool entryComplete() const override;
};

}  // namespace kaldor
