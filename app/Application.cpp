#include "Application.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

const QString kEncodingOption = QStringLiteral("encoding");

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
}

}  // namespace

void describeApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Zembrax"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZEMBRAX_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Zembrax"));
  QCoreApplication::setOrganizationDomain(QStringLiteral("zembrax.org"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zembrax.Zembrax"));
}

StartRequest readCommandLine(int argc, char* argv[], text::Encoding localeEncoding) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  describeOptions(parser, localeEncoding);
  // Options of Qt's own may follow; they are the application's to take.
  parser.parse(arguments);
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) {
    QCoreApplication core(argc, argv);
    parser.process(core);  // prints and ends the program
    return {0, std::nullopt};
  }
  if (!parser.isSet(kEncodingOption)) return {};
  const QString name = parser.value(kEncodingOption);
  const std::optional<text::Encoding> encoding = text::encodingNamed(name.toStdString());
  if (!encoding) {
    std::fprintf(stderr, "%s: unknown text encoding '%s'; the encodings are %s\n",
                 QFileInfo(arguments.front()).fileName().toLocal8Bit().constData(),
                 name.toLocal8Bit().constData(), text::encodingNames().c_str());
    return {2, std::nullopt};
  }
  return {std::nullopt, encoding};
}

void checkCommandLine(const QCoreApplication& application) {
  QCommandLineParser parser;
  describeOptions(parser, text::Encoding::utf8);
  parser.process(application);
}
