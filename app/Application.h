#ifndef ZEMBRAX_APP_APPLICATION_H_
#define ZEMBRAX_APP_APPLICATION_H_

#include <optional>

class QCoreApplication;

// The program's name, version, organisation and desktop entry, for the
// window manager, message boxes and --version.
void describeApplication();

// Answers --help and --version, which need no display: prints and gives the
// exit status. Nothing for any other command line.
std::optional<int> answerWithoutWindow(int argc, char* argv[]);

// Checks the rest of the command line once the application has taken its
// own options; an unknown option ends the program with a message.
void checkCommandLine(const QCoreApplication& application);

#endif  // ZEMBRAX_APP_APPLICATION_H_
