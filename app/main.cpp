#include <QApplication>

#include "Aboutmsg.h"
#include "Interface.h"
#include "Vcl.h"

int main(int argc, char* argv[]) {
  if (!hasDisplay(argv[0])) return 1;
  QApplication application(argc, argv);
  try {
    QApplication::setApplicationName(QStringLiteral("Zembrax"));
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
