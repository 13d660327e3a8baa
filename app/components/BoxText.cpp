#include "BoxText.h"

#include <QObject>
#include <QToolTip>
#include <QWidget>

#include <array>

namespace {

// The line breaks, by name.
struct LineBreakKind {
  LineBreak lineBreak;
  const char* name;
  std::string_view bytes;
};
constexpr std::array<LineBreakKind, 2> kLineBreaks = {{
    {LineBreak::crlf, "crlf", "\r\n"},
    {LineBreak::lf, "lf", "\n"},
}};

// Each kind stands at its own place, for `kindOf`.
static_assert(kLineBreaks[static_cast<std::size_t>(LineBreak::crlf)].lineBreak == LineBreak::crlf &&
              kLineBreaks[static_cast<std::size_t>(LineBreak::lf)].lineBreak == LineBreak::lf);

constexpr const LineBreakKind& kindOf(LineBreak lineBreak) {
  return kLineBreaks[static_cast<std::size_t>(lineBreak)];
}

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

std::string_view bytesOf(LineBreak lineBreak) {
  return kindOf(lineBreak).bytes;
}

const char* nameOf(LineBreak lineBreak) {
  return kindOf(lineBreak).name;
}

std::optional<LineBreak> lineBreakNamed(std::string_view name) {
  for (const LineBreakKind& kind : kLineBreaks) {
    if (name == kind.name) return kind.lineBreak;
  }
  return std::nullopt;
}

text::Encoded toBytes(const QString& text, text::Encoding encoding, LineBreak lineBreak) {
  const std::string_view breakBytes = bytesOf(lineBreak);
  const QString lineBreakText =
      QString::fromLatin1(breakBytes.data(), static_cast<qsizetype>(breakBytes.size()));
  QString lines;
  lines.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (!isLineBreak(unit)) {
      lines += text[i];
      continue;
    }
    lines += lineBreakText;
    // A CR LF pair is one line break.
    if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  const QByteArray utf8 = lines.toUtf8();
  return text::fromUtf8(std::string_view(utf8.constData(), utf8.size()), encoding);
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
