#include "Vcl.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

// The characters of the Windows-1252 bytes 0x80-0x9F. The five bytes that the
// code page leaves unassigned stand for the control characters of their value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kUnmappable = '?';

char ansiOf(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  const auto* found = std::find(kCp1252High.begin(), kCp1252High.end(), unit);
  if (found == kCp1252High.end()) return kUnmappable;
  return static_cast<char>(0x80 + std::distance(kCp1252High.begin(), found));
}

bool isLineBreak(char16_t unit) {
  return unit == u'\n' || unit == u'\r' || unit == QChar::ParagraphSeparator ||
         unit == QChar::LineSeparator;
}

}  // namespace

std::optional<std::int32_t> parseInteger(const QString& text) {
  qsizetype i = 0;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  if (i == text.size()) return std::nullopt;
  // The magnitude can reach 2^31 for the most negative value.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (unit < u'0' || unit > u'9') return std::nullopt;
    magnitude = magnitude * 10 + (unit - u'0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t StrToInt(const QString& text) {
  const std::optional<std::int32_t> value = parseInteger(text);
  if (!value) {
    throw EConvertError(
        QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
  }
  return *value;
}

void showException(const std::exception& error) {
  QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::applicationName(),
                        QString::fromUtf8(error.what()));
}

std::string toAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (isLineBreak(unit)) {
      bytes += "\r\n";
      // A CR LF pair is one line break.
      if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
               QChar::isLowSurrogate(text[i + 1].unicode())) {
      // One character outside the code page, written as two UTF-16 units.
      bytes += kUnmappable;
      ++i;
    } else {
      bytes += ansiOf(unit);
    }
  }
  return bytes;
}

QChar ansiChar(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte};
}

QString fromAnsi(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '\r' || byte == '\n') {
      *out++ = u'\n';
      if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      *out++ = ansiChar(byte);
    }
  }
  text.truncate(out - text.data());
  return text;
}

bool hasDisplay(const char* program) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  }
  std::fprintf(stderr, "%s: no display here; start it on a virtual one: xvfb-run %s\n", program,
               program);
  return false;
#else
  // Windows and macOS always have their own display system.
  Q_UNUSED(program);
  return true;
#endif
}

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window.move(area.center() - window.rect().center());
}
