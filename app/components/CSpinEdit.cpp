#include "CSpinEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <limits>

#include "StrToInt.h"

TCSpinEdit::TCSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  lineEdit()->setText(QStringLiteral("0"));
}

int TCSpinEdit::value() const {
  return static_cast<int>(withinLimits(parseInteger(text()).value_or(minimum)));
}

void TCSpinEdit::setValue(int value) {
  lineEdit()->setText(QString::number(withinLimits(value)));
}

void TCSpinEdit::stepBy(int steps) {
  const std::int64_t stepped = std::int64_t{value()} + steps;
  setValue(static_cast<int>(std::clamp<std::int64_t>(stepped, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max())));
}

QValidator::State TCSpinEdit::validate(QString& input, int&) const {
  const bool digitsAndSigns = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'+';
  });
  return digitsAndSigns ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled TCSpinEdit::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

std::int64_t TCSpinEdit::withinLimits(std::int64_t value) const {
  return minimum == maximum ? value : std::clamp<std::int64_t>(value, minimum, maximum);
}
