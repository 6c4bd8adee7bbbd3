#include "ui/dialogs/pin_dialogs.h"

#include "model/pin.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kaldor {

namespace {

constexpr int kDigitsPerRow = 4;
constexpr int kSeparatorsPerRow = kDigitsPerRow - 1;
constexpr int kMaxRows = 2;
constexpr int kDigitPointSize = 18;
constexpr int kDigitPadding = 14;

constexpr const char* kUseOnlyText = "USE ONLY: 0 1 2 3 4 5 6 7 8 9";
constexpr const char* kSeparatorText = "-";
constexpr const char* kAbortText = "Abort";
constexpr const char* kOkText = "OK";

struct RowNames {
    const char* label;
    const char* labelText;
    int firstEditNumber;  // MaskEditPin<n>, n counting up along the row
};

constexpr RowNames kRows[kMaxRows] = {
    {"Label7", "enter pin:", 1},
    {"Label8", "retype pin:", 11},
};

// Draws every character of a password edit as "#" instead of the platform's bullet, at once.
class HashMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return '#';
        }
        if (hint == SH_LineEdit_PasswordMaskDelay) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

PinEdit::PinEdit(QWidget* parent) : FilteredLineEdit(parent) {
    auto* style = new HashMaskStyle;
    style->setParent(this);
    setStyle(style);
    setEchoMode(QLineEdit::Password);
    setMaxLength(1);
    setAlignment(Qt::AlignCenter);
    QFont large = font();
    large.setPointSize(kDigitPointSize);
    large.setBold(true);
    setFont(large);
    setFixedWidth(QFontMetrics(large).height() + kDigitPadding);
    // Only typed keys pass the digit filter; other ways in are closed.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

int PinEdit::digit() const {
    const QString shown = text();
    if (shown.size() != 1) {
        return -1;
    }
    const int c = shown.at(0).unicode();
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

PinDialog::PinDialog(const QString& caption, int rows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(caption);
    setModal(true);

    auto* useOnly = new QLabel(kUseOnlyText, this);
    useOnly->setObjectName("Label9");
    QPalette red = useOnly->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    useOnly->setPalette(red);

    auto* grid = new QGridLayout;
    grid->addWidget(useOnly, 0, 0, 1, 1 + kDigitsPerRow + kSeparatorsPerRow);
    rows = std::clamp(rows, 1, kMaxRows);
    for (int row = 0; row < rows; ++row) {
        const RowNames& names = kRows[row];
        auto* label = new QLabel(names.labelText, this);
        label->setObjectName(names.label);
        grid->addWidget(label, row + 1, 0);
        for (int i = 0; i < kDigitsPerRow; ++i) {
            auto* edit = new PinEdit(this);
            edit->setObjectName(QStringLiteral("MaskEditPin%1").arg(names.firstEditNumber + i));
            grid->addWidget(edit, row + 1, 1 + 2 * i);
            m_edits.push_back(edit);
            // Validation also follows edits that pass no key-up move (Delete, the mouse), so OK
            // is never left enabled beside an empty edit.
            connect(edit, &QLineEdit::textChanged, this, [this] { validate(); });
            if (i + 1 < kDigitsPerRow) {
                auto* separator = new QLabel(kSeparatorText, this);
                separator->setObjectName(
                    QStringLiteral("Label%1").arg(row * kSeparatorsPerRow + i + 1));
                grid->addWidget(separator, row + 1, 2 + 2 * i);
            }
        }
    }

    m_abort = new QPushButton(kAbortText, this);
    m_abort->setObjectName("BitBtnAnuluj");
    m_ok = new QPushButton(kOkText, this);
    m_ok->setObjectName("BitBtnOK");
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    connect(m_abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_abort);
    buttons->addWidget(m_ok);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* previous = nullptr;
    for (QWidget* next : m_edits) {
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    }
    setTabOrder(previous, m_abort);
    setTabOrder(m_abort, m_ok);
}

QString PinDialog::rowDigits(int row) const {
    QString typed;
    for (int i = 0; i < kDigitsPerRow; ++i) {
        const int index = row * kDigitsPerRow + i;
        if (index >= 0 && index < editCount()) {
            typed += edit(index)->text();
        }
    }
    return typed;
}

std::optional<std::uint16_t> PinDialog::rowPin(int row) const {
    if (row < 0 || (row + 1) * kDigitsPerRow > editCount()) {
        return std::nullopt;
    }
    int d[kDigitsPerRow];
    for (int i = 0; i < kDigitsPerRow; ++i) {
        d[i] = edit(row * kDigitsPerRow + i)->digit();
        if (d[i] < 0) {
            return std::nullopt;
        }
    }
    return packPin(d[0], d[1], d[2], d[3]);
}

void PinDialog::bindKeys(int index, FilteredLineEdit::KeyPressHandler keyPress,
                         FilteredLineEdit::KeyUpHandler keyUp) {
    if (index < 0 || index >= editCount()) {
        return;
    }
    edit(index)->setKeyPressHandler(std::move(keyPress));
    edit(index)->setKeyUpHandler(std::move(keyUp));
}

void PinDialog::filterDigit(int& key) {
    key = pinDigitFilter(key);
}

void PinDialog::moveOn(int index, int key) {
    if (pinDigitFilter(key) == 0 || index < 0 || index >= editCount()) {
        return;
    }
    if (index + 1 < editCount()) {
        // As by Tab, so that a digit already there is selected and the next key replaces it.
        edit(index + 1)->setFocus(Qt::TabFocusReason);
        validate();
        return;
    }
    validate();
    if (m_ok->isEnabled()) {
        m_ok->setFocus(Qt::TabFocusReason);
    }
}

void PinDialog::validate() {
    m_ok->setEnabled(entryComplete());
}

void PinDialog::clearEdits() {
    for (PinEdit* e : m_edits) {
        e->clear();
    }
}

void PinDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A spontaneous show is the window coming back from minimised, not a new use.
    if (!event->spontaneous()) {
        FormActivate();
    }
}

TForm4::TForm4(QWidget* parent) : PinDialog("Form4", 1, parent) {
    setObjectName("Form4");
    using Handlers = std::pair<void (TForm4::*)(int&), void (TForm4::*)(int)>;
    constexpr Handlers kHandlers[] = {
        {&TForm4::MaskEditPin1KeyPress, &TForm4::MaskEditPin1KeyUp},
        {&TForm4::MaskEditPin2KeyPress, &TForm4::MaskEditPin2KeyUp},
        {&TForm4::MaskEditPin3KeyPress, &TForm4::MaskEditPin3KeyUp},
        {&TForm4::MaskEditPin4KeyPress, &TForm4::MaskEditPin4KeyUp},
    };
    int index = 0;
    for (const Handlers& h : kHandlers) {
        bindKeys(
            index++, [this, h](int& key) { (this->*h.first)(key); },
            [this, h](int key) { (this->*h.second)(key); });
    }
}

void TForm4::FormActivate() {
    clearEdits();
    okButton()->setEnabled(false);
    // Shown again, the dialog would keep the focus where the last use left it (often on OK).
    edit(0)->setFocus(Qt::OtherFocusReason);
}

bool TForm4::entryComplete() const {
    for (int i = 0; i < editCount(); ++i) {
        if (edit(i)->text().isEmpty()) {
            return false;
        }
    }
    return true;
}

void TForm4::MaskEditPin1KeyPress(int& key) {
    filterDigit(key);
}
void TForm4::MaskEditPin2KeyPress(int& key) {
    filterDigit(key);
}
void TForm4::MaskEditPin3KeyPress(int& key) {
    filterDigit(key);
}
void TForm4::MaskEditPin4KeyPress(int& key) {
    filterDigit(key);
}
void TForm4::MaskEditPin1KeyUp(int key) {
    moveOn(0, key);
}
void TForm4::MaskEditPin2KeyUp(int key) {
    moveOn(1, key);
}
void TForm4::MaskEditPin3KeyUp(int key) {
    moveOn(2, key);
}
void TForm4::MaskEditPin4KeyUp(int key) {
    moveOn(3, key);
}

TForm3::TForm3(QWidget* parent) : PinDialog("PASS CTRL", 2, parent) {
    setObjectName("Form3");
    using Handlers = std::pair<void (TForm3::*)(int&), void (TForm3::*)(int)>;
    constexpr Handlers kHandlers[] = {
        {&TForm3::MaskEditPin1KeyPress, &TForm3::MaskEditPin1KeyUp},
        {&TForm3::MaskEditPin2KeyPress, &TForm3::MaskEditPin2KeyUp},
        {&TForm3::MaskEditPin3KeyPress, &TForm3::MaskEditPin3KeyUp},
        {&TForm3::MaskEditPin4KeyPress, &TForm3::MaskEditPin4KeyUp},
        {&TForm3::MaskEditPin11KeyPress, &TForm3::MaskEditPin11KeyUp},
        {&TForm3::MaskEditPin12KeyPress, &TForm3::MaskEditPin12KeyUp},
        {&TForm3::MaskEditPin13KeyPress, &TForm3::MaskEditPin13KeyUp},
        {&TForm3::MaskEditPin14KeyPress, &TForm3::MaskEditPin14KeyUp},
    };
    int index = 0;
    for (const Handlers& h : kHandlers) {
        bindKeys(
            index++, [this, h](int& key) { (this->*h.first)(key); },
            [this, h](int key) { (this->*h.second)(key); });
    }
}

void TForm3::FormActivate() {
    okButton()->setEnabled(false);
    clearEdits();
    edit(0)->setFocus(Qt::OtherFocusReason);
}

bool TForm3::entryComplete() const {
    for (int i = 0; i < kDigitsPerRow; ++i) {
        const QString first = edit(i)->text();
        const QString retyped = edit(kDigitsPerRow + i)->text();
        if (first.isEmpty() || retyped.isEmpty() || first != retyped) {
            return false;
        }
    }
    return true;
}

void TForm3::MaskEditPin1KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin2KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin3KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin4KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin11KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin12KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin13KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin14KeyPress(int& key) {
    filterDigit(key);
}
void TForm3::MaskEditPin1KeyUp(int key) {
    moveOn(0, key);
}
void TForm3::MaskEditPin2KeyUp(int key) {
    moveOn(1, key);
}
void TForm3::MaskEditPin3KeyUp(int key) {
    moveOn(2, key);
}
void TForm3::MaskEditPin4KeyUp(int key) {
    moveOn(3, key);
}
void TForm3::MaskEditPin11KeyUp(int key) {
    moveOn(4, key);
}
void TForm3::MaskEditPin12KeyUp(int key) {
    moveOn(5, key);
}
void TForm3::MaskEditPin13KeyUp(int key) {
    moveOn(6, key);
}
void TForm3::MaskEditPin14KeyUp(int key) {
    moveOn(7, key);
}

}  // namespace kaldor
