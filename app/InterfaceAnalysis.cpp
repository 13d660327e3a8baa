// The main window's analysis: "Find key" on the pages of the ciphers, "What
// is this?" on the input box, "Use result as input" on the output box, and
// the analysis window that lists what they found.

#include <QAction>
#include <QPushButton>

#include <functional>
#include <utility>

#include "BoxText.h"
#include "Exceptions.h"
#include "Interface.h"
#include "Memo.h"
#include "MoreMethodsPage.h"
#include "analysis/AnalysisController.h"
#include "ui_Interface.h"

namespace {

using analysis::Cipher;

// Where "Find key" sits on its page: in the free corner below the options,
// left of the window's buttons.
constexpr QRect kFindKeyPlace(16, 400, 75, 25);

// How a method is named in a sentence: the first word of its caption,
// "Caesar" for "Caesar shift".
QString shortName(const methods::Method& method) {
  return QString::fromUtf8(method.caption).section(QLatin1Char(' '), 0, 0);
}

}  // namespace

void TmainForm::setUpAnalysis() {
  analysisControl = new AnalysisController(
      *this, [this](std::string_view preview) { return previewText(preview); });
  connect(analysisControl, &AnalysisController::keyChosen, this,
          [this](const analysis::Step& step) {
            deliverEvent([this, &step] { applyKey(step); }, QT_TR_NOOP("apply the key"));
          });
  connect(analysisControl, &AnalysisController::chainChosen, this,
          [this](const std::vector<analysis::Step>& steps) {
            deliverEvent([this, &steps] { applyChain(steps); }, QT_TR_NOOP("apply the chain"));
          });
  connect(analysisControl, &AnalysisController::busyChanged, this, [this](bool busy) {
    if (busy) {
      setCursor(Qt::BusyCursor);
    } else {
      unsetCursor();
    }
  });
  cancelKey = new QAction(this);
  cancelKey->setObjectName(QStringLiteral("cancelAnalysis"));
  cancelKey->setShortcut(QKeySequence(Qt::Key_Escape));
  cancelKey->setEnabled(false);
  addAction(cancelKey);
  connect(cancelKey, &QAction::triggered, analysisControl, &AnalysisController::cancel);
  connect(analysisControl, &AnalysisController::runningChanged, cancelKey, &QAction::setEnabled);

  // "Find key" on each cipher's page, and a key for the one shown, which
  // elsewhere asks "What is this?" instead.
  const QKeySequence findKey(Qt::CTRL | Qt::Key_K);
  for (const pages::MethodPage& row : pages::all()) {
    if (row.findKeyButton == nullptr) continue;
    auto* button = new QPushButton(
        tr("Find key"), ui->optionPagina->findChild<QWidget*>(QString::fromUtf8(row.page)));
    button->setObjectName(QString::fromLatin1(row.findKeyButton));
    button->setGeometry(kFindKeyPlace);
    button->setAccessibleName(tr("Find key"));
    button->setToolTip((row.searched != nullptr
                            ? tr("Try each setting of the method on the input, and decode it with "
                                 "the one that reads best (%1)")
                            : tr("Find the key of the input and decrypt it (%1)"))
                           .arg(findKey.toString(QKeySequence::NativeText)));
    connect(button, &QPushButton::clicked, this,
            [this] { deliverEvent([this] { findKeyClick(); }, QT_TR_NOOP("find the key")); });
  }
  auto* findKeyAction = new QAction(this);
  findKeyAction->setObjectName(QStringLiteral("findKey"));
  findKeyAction->setShortcut(findKey);
  addAction(findKeyAction);
  connect(findKeyAction, &QAction::triggered, this, [this] {
    QPushButton* button = findKeyButton();
    if (button != nullptr && button->isEnabled()) {
      button->click();
      return;
    }
    const QString why = button != nullptr
                            ? tr("Find key has nothing to try for this method, so %1 asked What "
                                 "is this? instead.")
                            : tr("This page has no Find key, so %1 asked What is this? instead.");
    deliverEvent(
        [this, why] {
          whatIsThisClick(
              why.arg(QKeySequence(Qt::CTRL | Qt::Key_K).toString(QKeySequence::NativeText)));
        },
        QT_TR_NOOP("name the input"));
  });

  // F6 moves to the analysis window's list, and from there back.
  auto* toList = new QAction(this);
  toList->setObjectName(QStringLiteral("toAnalysisList"));
  toList->setShortcut(QKeySequence(Qt::Key_F6));
  addAction(toList);
  connect(toList, &QAction::triggered, analysisControl, &AnalysisController::focusList);

  // An entry of a box's menu, with a key that works anywhere in the window.
  const auto boxAction = [this](TMemo* box, const QString& text, const char* name,
                                const QKeySequence& key, const QString& tip,
                                const std::function<void()>& handle, const char* doing) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setToolTip(tip);
    addAction(action);
    box->addMenuAction(action);
    connect(action, &QAction::triggered, this, [handle, doing] { deliverEvent(handle, doing); });
  };
  boxAction(
      ui->srcMemo, tr("What is this?"), "whatIsThis", QKeySequence(Qt::CTRL | Qt::Key_I),
      tr("Name the methods that the input was coded with"), [this] { whatIsThisClick(); },
      QT_TR_NOOP("name the input"));
  boxAction(
      ui->destMemo, tr("Use result as input"), "useResultAsInput",
      QKeySequence(Qt::CTRL | Qt::Key_U),
      tr("Move the result into the input box, to code it further"), [this] { useResultAsInput(); },
      QT_TR_NOOP("use the result as input"));

  // An answer belongs to the input, options and page it was made for.
  const auto changed = [this] { analysisControl->inputChanged(); };
  connect(ui->srcMemo, &TMemo::textChanged, analysisControl, changed);
  connect(ui->optionPagina, &QTabWidget::currentChanged, analysisControl, changed);
  // The page of further methods says itself when its method or options
  // change; its filter only narrows the list.
  for (QLineEdit* box : ui->optionPagina->findChildren<QLineEdit*>()) {
    if (!ui->moreMethodsPage->isAncestorOf(box))
      connect(box, &QLineEdit::textChanged, analysisControl, changed);
  }
  connect(ui->moreMethodsPage, &MoreMethodsPage::optionsChanged, analysisControl, changed);
  for (QRadioButton* radio : ui->optionPagina->findChildren<QRadioButton*>())
    connect(radio, &QRadioButton::toggled, analysisControl, changed);
}

bool TmainForm::analysisRunning() const {
  return analysisControl->isRunning();
}

void TmainForm::findKeyClick() {
  if (ui->srcMemo->text().empty()) {
    analysisControl->inputChanged();
    showResult("Insufficient input...");
    return;
  }
  const pages::MethodPage* row = rowOf(ui->optionPagina->currentWidget());
  if (row == nullptr) return;
  const pages::Controls controls = pageControls();
  if (row->cipher != nullptr) {
    analysisControl->findKey(row->cipher(controls), ui->srcMemo->text(), inputLength());
  } else if (const methods::Method* method =
                 row->searched != nullptr ? row->searched(controls) : nullptr) {
    analysisControl->findSettings(*method, ui->srcMemo->text(), inputLength());
  }
}

QPushButton* TmainForm::findKeyButton() const {
  const pages::MethodPage* row = rowOf(ui->optionPagina->currentWidget());
  if (row == nullptr || row->findKeyButton == nullptr) return nullptr;
  return ui->optionPagina->currentWidget()->findChild<QPushButton*>(row->findKeyButton);
}

void TmainForm::whatIsThisClick(const QString& why) {
  if (ui->srcMemo->text().empty()) {
    analysisControl->inputChanged();
    showResult("Insufficient input...");
    return;
  }
  analysisControl->whatIsThis(ui->srcMemo->text(), inputLength(), why);
}

QString TmainForm::previewText(std::string_view preview) const {
  QString shown = fromBytes(preview, textEncoding);
  for (QChar& c : shown)
    if (c.isSpace() || c.category() == QChar::Other_Control) c = u' ';
  return shown;
}

void TmainForm::applyKey(const analysis::Step& step) {
  showOnPage(*step.method, step.options);
  processInput(step.direction, ui->optionPagina->currentIndex());
}

void TmainForm::applyChain(const std::vector<analysis::Step>& steps) {
  if (steps.empty()) {
    analysisControl->showNote(tr("The input reads as it is: there is nothing to run."));
    return;
  }
  // What the last step takes becomes the input, so that the page's own
  // button gives the result shown.
  std::string taken = analysis::runChain({steps.begin(), steps.end() - 1}, inputText());
  std::string result = analysis::runChain({steps.back()}, taken);
  showOnPage(*steps.back().method, steps.back().options);
  if (ui->srcMemo->text() != taken) {
    ui->srcMemo->selectAll();
    ui->srcMemo->insertBytes(taken);
  }
  showResult(std::move(result));
  analysisControl->showNote(steps.size() == 1
                                ? tr("Ran %1.").arg(chainText(steps))
                                : tr("Ran %1 steps: %2; the input is now what %3 took")
                                      .arg(steps.size())
                                      .arg(chainText(steps), shortName(*steps.back().method)));
}

void TmainForm::showOnPage(const methods::Method& method, const methods::Settings& options) {
  const pages::MethodPage* row = pages::named(method.page);
  if (row == nullptr) return;
  if (row->write != nullptr) row->write(pageControls(), method, options);
  QWidget* page = ui->optionPagina->findChild<QWidget*>(QString::fromUtf8(method.page));
  if (page != nullptr) ui->optionPagina->setCurrentWidget(page);
}

void TmainForm::useResultAsInput() {
  if (ui->destMemo->text().empty() && hiddenResult.empty()) return;
  const std::string whole = ui->destMemo->text() + hiddenResult;
  ui->srcMemo->selectAll();
  ui->srcMemo->insertBytes(whole);
}
