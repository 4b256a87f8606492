// The spin edit box of the desktop window system.
#include "platform/qt/spin_edit.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdint>

#include "base/text_integer.h"

namespace veltra {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

QString SpinEdit::Text() const {
    return lineEdit()->text();
}

void SpinEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

void SpinEdit::SetRange(int low, int high) {
    minimum = low;
    maximum = std::max(low, high);
    update();
}

int SpinEdit::Number() const {
    const int64_t value = IntegerOfText(Text().toStdString());
    return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void SpinEdit::stepBy(int steps) {
    const int64_t next = std::clamp<int64_t>(int64_t{Number()} + steps, minimum, maximum);
    SetText(QString::number(next));
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    const int value = Number();
    StepEnabled enabled = StepNone;
    if (value < maximum) enabled |= StepUpEnabled;
    if (value > minimum) enabled |= StepDownEnabled;
    return enabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    emit FocusLost();
}

}  // namespace veltra
