#ifndef ZEMBRAX_APP_MOREMETHODSPAGE_H_
#define ZEMBRAX_APP_MOREMETHODSPAGE_H_

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "Methods.h"
#include "Text.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QFormLayout;

// The page "More methods": a list of the methods that the registry puts on
// it, narrowed by a filter box above it, and the options of the method
// chosen, made from the registry's own description of them.
class MoreMethodsPage : public QWidget {
  Q_OBJECT

 public:
  // The page of the registry's methods whose page it is.
  explicit MoreMethodsPage(QWidget* parent = nullptr);
  // The page of the methods `listed`.
  explicit MoreMethodsPage(std::vector<const methods::Method*> listed, QWidget* parent = nullptr);

  // The method chosen in the list; none where the filter hides them all.
  const methods::Method* method() const;

  // The settings that the option controls give; a text option is read by
  // `bytes`, and left out where it is empty.
  methods::Settings settings(const std::function<std::string(QLineEdit*)>& bytes) const;

  // Whether the box of a required option is empty.
  bool missing() const;

  // Chooses `chosen` in the list, emptying a filter that hides it, and sets
  // its option controls to `options`, texts shown in `encoding`.
  void choose(const methods::Method& chosen, const methods::Settings& options,
              text::Encoding encoding);

 signals:
  // Another method was chosen, or none.
  void methodChosen();
  // The method or one of its options changed.
  void optionsChanged();
  // An option box (line edit or spin box) was made for the method chosen.
  void optionBoxMade(QWidget* box);

 private:
  // Hides the methods whose caption and summary lack `text`, and chooses
  // the first one shown where the chosen one went.
  void filter(const QString& text);
  // Makes the controls of the chosen method's options in place of the last
  // method's.
  void showOptions();

  QLineEdit* filterBox;
  QListWidget* list;
  QLabel* summary;
  QWidget* optionArea;
  QFormLayout* optionRows;
  static std::vector<const methods::Method*> registryMethods();

  // The methods listed, by their rows' data.
  std::vector<const methods::Method*> offered;
  // The control of each option of the method chosen, in its order, and the
  // check box that gives a number that may be left out (null for others).
  std::vector<QWidget*> controls;
  std::vector<QCheckBox*> given;
};

#endif  // ZEMBRAX_APP_MOREMETHODSPAGE_H_
