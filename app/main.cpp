#include <QApplication>

#include <clocale>

#include "Aboutmsg.h"
#include "Application.h"
#include "Exceptions.h"
#include "Interface.h"
#include "Screen.h"

int main(int argc, char* argv[]) {
  // The locale's character set, read before Qt turns a C locale into C.UTF-8.
  std::setlocale(LC_CTYPE, "");
  const text::Encoding localeEncoding = text::localeEncoding();
  describeApplication();
  const StartRequest request = readCommandLine(argc, argv, localeEncoding);
  if (request.status) return *request.status;
  if (!hasDisplay(argv[0])) return 1;
  QApplication application(argc, argv);
  checkCommandLine(application);
  try {
    TmainForm main;
    mainForm = &main;
    main.setEncoding(
        request.encoding.value_or(TmainForm::savedEncoding().value_or(localeEncoding)));
    main.setLineBreak(
        request.lineBreak.value_or(TmainForm::savedLineBreak().value_or(LineBreak::crlf)));
    TaboutForm about;
    aboutForm = &about;
    main.show();
    QApplication::exec();
  } catch (const Exception& error) {
    showException(error);
  }
  return 0;
}
