#ifndef ZEMBRAX_APP_COMPONENTS_BOXTEXT_H_
#define ZEMBRAX_APP_COMPONENTS_BOXTEXT_H_

// The texts of the boxes as the bytes of a text encoding, and back, and what
// a box says when a character cannot be written in its encoding.

#include <QPoint>
#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>

#include "Text.h"

class QWidget;

// The line break that typing and pasting put into a box: CR LF, as on
// Windows, or LF, as on Unix.
enum class LineBreak { crlf, lf };
// Its bytes.
std::string_view bytesOf(LineBreak lineBreak);
// Its name on the command line and in the settings ("crlf", "lf"), and the
// line break of a name; none for an unknown name.
const char* nameOf(LineBreak lineBreak);
std::optional<LineBreak> lineBreakNamed(std::string_view name);

// The bytes of a box text in `encoding`: every line break becomes
// `lineBreak`, and a character the encoding cannot hold becomes '?' and
// counts as lost.
text::Encoded toBytes(const QString& text, text::Encoding encoding,
                      LineBreak lineBreak = LineBreak::crlf);

// A box text of bytes in `encoding`. CR LF, and a lone CR or LF, each show as
// one line break; bytes that are no character show as U+FFFD.
QString fromBytes(std::string_view bytes, text::Encoding encoding);

// Says beside `widget`, at `where` in it, without holding anything up, that
// `lost` characters became '?' because `encoding` cannot hold them.
void showLossNotice(QWidget* widget, QPoint where, std::size_t lost, text::Encoding encoding);

// The words of that notice.
QString lossNotice(std::size_t lost, text::Encoding encoding);

#endif  // ZEMBRAX_APP_COMPONENTS_BOXTEXT_H_
