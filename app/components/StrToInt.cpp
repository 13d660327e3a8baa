#include "StrToInt.h"

#include "Exceptions.h"
#include "Text.h"

std::optional<std::int32_t> parseInteger(const QString& text) {
  return text::readInteger(text.toStdString());
}

std::int32_t StrToInt(const QString& text) {
  const std::optional<std::int32_t> value = parseInteger(text);
  if (!value) {
    throw EConvertError(
        QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
  }
  return *value;
}
