#include "Vcl.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <cstdint>
#include <cstdio>

#include "Ansi.h"

namespace {

bool isLineBreak(char16_t unit) {
  return unit == u'\n' || unit == u'\r' || unit == QChar::ParagraphSeparator ||
         unit == QChar::LineSeparator;
}

}  // namespace

std::optional<std::int32_t> parseInteger(const QString& text) {
  return ansi::readInteger(text.toStdString());
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
      bytes += ansi::fromUnicode(QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
      ++i;
    } else {
      bytes += ansi::fromUnicode(unit);
    }
  }
  return bytes;
}

std::string pastedBytes(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::string pasted;
  pasted.reserve(bytes.size());
  std::size_t run = 0;  // the start of the bytes not yet copied
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    pasted.append(bytes.substr(run, i - run)).append("\r\n");
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    run = i + 1;
  }
  return pasted.append(bytes.substr(run));
}

QChar ansiChar(unsigned char byte) {
  return ansi::toUnicode(byte);
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
