#include "Exceptions.h"

#include <QApplication>
#include <QMessageBox>

void showException(const std::exception& error) {
  QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::applicationName(),
                        QString::fromUtf8(error.what()));
}

void showOutOfMemory(QWidget* parent, const char* doing) {
  QMessageBox::warning(
      parent != nullptr ? parent : QApplication::activeWindow(),
      QCoreApplication::applicationName(),
      QObject::tr("Not enough memory to %1. Nothing was changed.").arg(QObject::tr(doing)));
}
