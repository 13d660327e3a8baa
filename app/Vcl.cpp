#include "Vcl.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

#include <cstdint>
#include <cstdio>

namespace {

bool isLineBreak(char16_t unit) {
  return unit == u'\n' || unit == u'\r' || unit == QChar::ParagraphSeparator ||
         unit == QChar::LineSeparator;
}

// The bytes with every line break (CR LF, a lone CR or a lone LF) as
// `lineBreak`.
std::string withLineBreaks(std::string_view bytes, std::string_view lineBreak) {
  std::string lines;
  lines.reserve(bytes.size());
  std::size_t run = 0;  // the start of the bytes not yet copied
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.append(bytes.substr(run, i - run)).append(lineBreak);
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    run = i + 1;
  }
  return lines.append(bytes.substr(run));
}

// How long the notice of lost characters stays.
constexpr int kNoticeMilliseconds = 10000;

}  // namespace

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

void showException(const std::exception& error) {
  QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::applicationName(),
                        QString::fromUtf8(error.what()));
}

void showOutOfMemory(QWidget* parent, const char* doing) {
  QMessageBox::warning(
      parent != nullptr ? parent : QApplication::activeWindow(),
      QCoreApplication::applicationName(),
      QObject::tr("Not enough memory to %1. Nothing was changed.").arg(QObject::tr(doing)));
}

text::Encoded toBytes(const QString& text, text::Encoding encoding) {
  QString lines;
  lines.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (!isLineBreak(unit)) {
      lines += text[i];
      continue;
    }
    lines += u"\r\n";
    // A CR LF pair is one line break.
    if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  const QByteArray utf8 = lines.toUtf8();
  return text::fromUtf8(std::string_view(utf8.constData(), utf8.size()), encoding);
}

std::string pastedBytes(std::string_view bytes) {
  return withLineBreaks(bytes.substr(0, bytes.find('\0')), "\r\n");
}

QString fromBytes(std::string_view bytes, text::Encoding encoding) {
  const std::string lines = withLineBreaks(bytes, "\n");
  const std::string utf8 = text::toUtf8(lines, encoding);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString lossNotice(std::size_t lost, text::Encoding encoding) {
  const QString characters =
      lost == 1 ? QObject::tr("1 character") : QObject::tr("%1 characters").arg(lost);
  return QObject::tr("%1 cannot be written in %2 and became \"?\".")
             .arg(characters, QString::fromLatin1(text::nameOf(encoding))) +
         u' ' +
         QObject::tr(
             "UTF-8 keeps every character: choose it under \"Text encoding\" in the "
             "box's context menu.");
}

void showLossNotice(QWidget* widget, QPoint where, std::size_t lost, text::Encoding encoding) {
  QToolTip::showText(widget->mapToGlobal(where), lossNotice(lost, encoding), widget, {},
                     kNoticeMilliseconds);
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
