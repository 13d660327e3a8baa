#ifndef ZEMBRAX_APP_APPLICATION_H_
#define ZEMBRAX_APP_APPLICATION_H_

#include <optional>

#include "BoxText.h"
#include "Text.h"

class QCoreApplication;

// The program's name, version, organisation and desktop entry, for the
// window manager, message boxes and --version.
void describeApplication();

// What the command line asks before any window opens.
struct StartRequest {
  // The program ends at once with this status: it answered --help or
  // --version, which need no display, or refused an unknown encoding or
  // line break.
  std::optional<int> status;
  // The boxes' text encoding for this run, from --encoding.
  std::optional<text::Encoding> encoding;
  // The line break that typing and pasting give for this run, from
  // --line-breaks.
  std::optional<LineBreak> lineBreak;
};
// `localeEncoding` is the default that --help names.
StartRequest readCommandLine(int argc, char* argv[], text::Encoding localeEncoding);

// Checks the rest of the command line once the application has taken its
// own options; an unknown option ends the program with a message.
void checkCommandLine(const QCoreApplication& application);

#endif  // ZEMBRAX_APP_APPLICATION_H_
