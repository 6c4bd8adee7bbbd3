#pragma once
// The difference dialog of "verify ECU" and "compare with file...": the outcome line, a table of
// the differing locations by name with the PC's and the other side's values in the units the
// pages show, and the controller's own locations in a table of their own (they are never
// written). For a verification it offers the two ways to make PC and controller agree; a file
// comparison is only shown.
//
// Every decision the installer makes here goes through a DifferenceQuestion, so the commands
// behind the dialog run without a screen in tests: the window's question shows this dialog.
#include <QDialog>

#include <functional>
#include <string>

#include "service/image_diff.h"
#include "service/setup_description.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kaldor {

enum class DifferenceChoice {
    Close,                 // nothing written, nothing taken
    WritePcValues,         // "write the PC's values"
    TakeControllerValues,  // "take the controller's values"
};

// What the dialog shows and which choices it offers.
struct DifferenceView {
    std::string title;       // the menu item's caption
    std::string summary;     // the outcome, with unread bytes or a short file's note
    std::string otherLabel;  // heading of the other side's column: "ECU" or the file's name
    ImageDiff diff;
    bool canWrite = false;  // "write the PC's values" offered
    bool canTake = false;   // "take the controller's values" offered
};

// Shows a view and returns the installer's choice; the tests answer from a script.
using DifferenceQuestion = std::function<DifferenceChoice(const DifferenceView&)>;

class DifferenceDialog : public QDialog {
    Q_OBJECT

public:
    // `texts`: the language of its captions and headings.
    explicit DifferenceDialog(QWidget* parent = nullptr, const SetupTexts& texts = {});

    void setView(const DifferenceView& view);
    // The button that closed the dialog; Close also for Escape or the window's close box.
    [[nodiscard]] DifferenceChoice choice() const { return m_choice; }

    // The window's DifferenceQuestion: the dialog, modal over `parent`.
    [[nodiscard]] static DifferenceChoice ask(QWidget* parent, const DifferenceView& view,
                                              const SetupTexts& texts = {});

    QLabel* LabelSummary = nullptr;
    QTableWidget* GridDifferences = nullptr;
    QLabel* LabelEcuOwned = nullptr;
    QTableWidget* GridEcuOwned = nullptr;
    QPushButton* ButtonWritePc = nullptr;
    QPushButton* ButtonTakeEcu = nullptr;
    QPushButton* ButtonClose = nullptr;

private:
    void choose(DifferenceChoice choice);

    DifferenceChoice m_choice = DifferenceChoice::Close;
    SetupTexts m_texts;
};

}  // namespace kaldor
