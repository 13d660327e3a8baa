#ifndef ZEMBRAX_APP_ABOUTMSG_H_
#define ZEMBRAX_APP_ABOUTMSG_H_

#include <QDialog>

#include <memory>

namespace Ui {
class TaboutForm;
}

// The About window: the team, a picture, two credit lines and the version. Created hidden
// at start-up and shown modally by the main window's About button.
class TaboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TaboutForm(QWidget* parent = nullptr);
  ~TaboutForm() override;

 private:
  std::unique_ptr<Ui::TaboutForm> ui;
};

extern TaboutForm* aboutForm;

#endif  // ZEMBRAX_APP_ABOUTMSG_H_
