#include "ui/dialogs/text_entry_dialog.h"

#include "model/pin.h"
#include "ui/dialogs/filtered_line_edit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kaldor {

namespace {

constexpr const char* kModeItems[] = {"ABS", "+/-", "%"};
constexpr const char* kOkText = "OK";
constexpr const char* kAbortText = "Abort";

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName("Form2");
    setWindowTitle("SET");
    setModal(true);

    m_edit = new FilteredLineEdit(this);
    m_edit->setObjectName("Edit1");
    m_edit->setKeyPressHandler([this](int& key) { Edit1KeyPress(key); });

    m_mode = new QComboBox(this);
    m_mode->setObjectName("ComboBox1");
    for (const char* item : kModeItems) {
        m_mode->addItem(item);
    }
    m_mode->setCurrentIndex(kModeAbsolute);

    m_ok = new QPushButton(kOkText, this);
    m_ok->setObjectName("BitBtnOK");
    m_ok->setDefault(true);
    m_abort = new QPushButton(kAbortText, this);
    m_abort->setObjectName("BitBtnAnuluj");
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_abort, &QPushButton::clicked, this, &QDialog::reject);

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_edit, 1);
    entry->addWidget(m_mode);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_abort);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(entry);
    outer->addLayout(buttons);

    setTabOrder(m_edit, m_mode);
    setTabOrder(m_mode, m_ok);
    setTabOrder(m_ok, m_abort);
}

void TForm2::setText(const QString& text) {
    m_edit->setText(text);
}

QString TForm2::text() const {
    return m_edit->text();
}

int TForm2::modeIndex() const {
    return m_mode->currentIndex();
}

void TForm2::setModeIndex(int index) {
    if (index >= 0 && index < m_mode->count()) {
        m_mode->setCurrentIndex(index);
    }
}

void TForm2::Edit1KeyPress(int& key) {
    if (!numberEntryAccepts(key)) {
        key = 0;
    }
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // The caller has just filled the entry: start there, ready to be typed over.
        m_edit->setFocus(Qt::OtherFocusReason);
        m_edit->selectAll();
    }
}

}  // namespace kaldor
