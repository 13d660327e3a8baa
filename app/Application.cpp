#include "Application.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

namespace {

void describeOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral(
      "Classical text coding: Caesar shift, Vigenere, Base64, substitution, URL encoding, "
      "bitwise operations, binary, decimal and hexadecimal numbers, Morse code and LSB "
      "extraction, in one window. zembrax-cli offers the same methods on the command line."));
  parser.addHelpOption();
  parser.addVersionOption();
}

}  // namespace

void describeApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Zembrax"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZEMBRAX_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Zembrax"));
  QCoreApplication::setOrganizationDomain(QStringLiteral("zembrax.org"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zembrax.Zembrax"));
}

std::optional<int> answerWithoutWindow(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  describeOptions(parser);
  // Options of Qt's own may follow; they are the application's to take.
  parser.parse(arguments);
  if (!parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version"))) {
    return std::nullopt;
  }
  QCoreApplication core(argc, argv);
  parser.process(core);  // prints and ends the program
  return 0;
}

void checkCommandLine(const QCoreApplication& application) {
  QCommandLineParser parser;
  describeOptions(parser);
  parser.process(application);
}
