#include <QApplication>

#include "Aboutmsg.h"
#include "Application.h"
#include "Interface.h"
#include "Vcl.h"

int main(int argc, char* argv[]) {
  describeApplication();
  if (const std::optional<int> status = answerWithoutWindow(argc, argv)) return *status;
  if (!hasDisplay(argv[0])) return 1;
  QApplication application(argc, argv);
  checkCommandLine(application);
  try {
    TmainForm main;
    mainForm = &main;
    TaboutForm about;
    aboutForm = &about;
    main.show();
    QApplication::exec();
  } catch (const Exception& error) {
    showException(error);
  }
  return 0;
}
