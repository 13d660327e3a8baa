#include "Application.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

#include "Platform.h"

namespace {

const QString kEncodingOption = QStringLiteral("encoding");
const QString kLineBreakOption = QStringLiteral("line-breaks");

void describeOptions(QCommandLineParser& parser, text::Encoding localeEncoding) {
  parser.setApplicationDescription(QStringLiteral(
      "Classical text coding: Caesar shift, Vigenere, Base64, substitution, URL encoding, "
      "bitwise operations, binary, decimal and hexadecimal numbers, Morse code and LSB "
      "extraction, in one window. zembrax-cli offers the same methods on the command line."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(QCommandLineOption(
      kEncodingOption,
      QStringLiteral("Read the boxes' bytes in <name> for this run: %1. Without it, the one last "
                     "chosen under \"Text encoding\" in the boxes' menus, else the locale's (%2).")
          .arg(QString::fromStdString(text::encodingNames()),
               QString::fromLatin1(text::nameOf(localeEncoding))),
      QStringLiteral("name")));
  parser.addOption(QCommandLineOption(
      kLineBreakOption,
      QStringLiteral("Give text typed or pasted into the input box <kind> line breaks for this "
                     "run: crlf (CR LF, as on Windows) or lf (LF, as on Unix). Without it, the "
                     "one last chosen under \"Line breaks\" in the boxes' menus, else crlf. "
                     "Opened and dropped files keep their own."),
      QStringLiteral("kind")));
}

// Says on standard error that the command line named an unknown `what`.
void refuse(const QStringList& arguments, const char* what, const QString& name,
            const std::string& known) {
  std::fprintf(stderr, "%s: unknown %s '%s'; %s\n",
               QFileInfo(arguments.front()).fileName().toLocal8Bit().constData(), what,
               name.toLocal8Bit().constData(), known.c_str());
}

}  // namespace

void describeApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Zembrax"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZEMBRAX_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Zembrax"));
  QCoreApplication::setOrganizationDomain(QStringLiteral("zembrax.org"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zembrax.Zembrax"));
  platform::chooseSettingsLocation();
}

StartRequest readCommandLine(int argc, char* argv[], text::Encoding localeEncoding) {
  const QStringList arguments = platform::commandLine(argc, argv);
  QCommandLineParser parser;
  describeOptions(parser, localeEncoding);
  // Options of Qt's own may follow; they are the application's to take.
  parser.parse(arguments);
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) {
    QCoreApplication core(argc, argv);
    parser.process(core);  // prints and ends the program
    return {0, std::nullopt, std::nullopt};
  }
  StartRequest request;
  if (parser.isSet(kEncodingOption)) {
    const QString name = parser.value(kEncodingOption);
    request.encoding = text::encodingNamed(name.toStdString());
    if (!request.encoding) {
      refuse(arguments, "text encoding", name, "the encodings are " + text::encodingNames());
      request.status = 2;
    }
  }
  if (parser.isSet(kLineBreakOption)) {
    const QString name = parser.value(kLineBreakOption);
    request.lineBreak = lineBreakNamed(name.toStdString());
    if (!request.lineBreak) {
      refuse(arguments, "line breaks", name, "they are crlf and lf");
      request.status = 2;
    }
  }
  return request;
}

void checkCommandLine(const QCoreApplication& application) {
  QCommandLineParser parser;
  describeOptions(parser, text::Encoding::utf8);
  parser.process(application);
}
