#include "Aboutmsg.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>

#include "JpegImage.h"
#include "Screen.h"
#include "ui_Aboutmsg.h"

TaboutForm* aboutForm = nullptr;

TaboutForm::TaboutForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TaboutForm>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(321, 199);
  setModal(true);
  centreOnScreen(*this);

  ui->versionLabel->setText(tr("Version %1").arg(QCoreApplication::applicationVersion()));
  QFile picture(QStringLiteral(":/about.jpg"));
  if (picture.open(QIODevice::ReadOnly)) {
    ui->Image1->setPixmap(QPixmap::fromImage(decodeJpeg(picture.readAll())));
  }
}

TaboutForm::~TaboutForm() = default;
