// The main window's analysis: "Find key" on the pages of the ciphers, "What
// is this?" on the input box, "Use result as input" on the output box, and
// the analysis window that lists what they found.

#include <QAction>
#include <QPushButton>

#include <array>
#include <utility>
#include <variant>

#include "BoxText.h"
#include "Exceptions.h"
#include "Interface.h"
#include "Memo.h"
#include "analysis/AnalysisForm.h"
#include "ui_Interface.h"

namespace {

using analysis::Cipher;

// Candidates that "Find key" lists, and chains that "What is this?" lists.
constexpr std::size_t kKeysListed = 8;
constexpr std::size_t kChainsListed = 5;
// Where "Find key" sits on its page: in the free corner below the options,
// left of the window's buttons.
constexpr QRect kFindKeyPlace(16, 400, 75, 25);

// The pages that "Find key" serves.
struct KeyPage {
  QWidget* Ui::TmainForm::*page;
  const char* name;  // of its button
};
constexpr std::array<KeyPage, 4> kKeyPages = {{
    {&Ui::TmainForm::caesarPage, "caesarFindKeyBut"},
    {&Ui::TmainForm::vigenerePage, "vigenereFindKeyBut"},
    {&Ui::TmainForm::substPage, "substFindKeyBut"},
    {&Ui::TmainForm::bitManipPage, "bitFindKeyBut"},
}};

// A step as the lists name it: "Caesar shift 3", "Vigenere key LUX", "XOR
// 90", "Base64".
QString stepText(const analysis::Step& step) {
  const methods::Settings& options = step.options;
  const QString caption = QString::fromUtf8(step.method->caption);
  const std::string_view name = step.method->name;
  if (name == "caesar") {
    return QStringLiteral("%1 %2%3")
        .arg(caption)
        .arg(methods::integerOf(options, "shift"))
        .arg(methods::flagOf(options, "full") ? QStringLiteral(" (0-255)") : QString());
  }
  if (name == "vigenere")
    return QStringLiteral("%1 key %2")
        .arg(caption, QString::fromLatin1(methods::textOf(options, "key")));
  if (name == "subst")
    return QStringLiteral("%1 %2").arg(
        caption, QString::fromLatin1(methods::textOf(options, "to").substr(0, 26)));
  if (name == "bitwise" && !options.empty()) {
    return QStringLiteral("%1 %2")
        .arg(QString::fromLatin1(options.front().name).toUpper())
        .arg(methods::integerOf(options, options.front().name));
  }
  if (methods::integerOf(options, "bits", 8) == 7) return caption + QStringLiteral(" 7 bits");
  return caption;
}

// A chain of steps as the lists name it: "Base64 → Caesar shift 3".
QString chainText(const std::vector<analysis::Step>& steps) {
  QStringList names;
  for (const analysis::Step& step : steps)
    names << stepText(step);
  return names.isEmpty() ? QObject::tr("Plain text") : names.join(QStringLiteral(" \u2192 "));
}

QString languageText(analysis::Language language) {
  return QString::fromUtf8(analysis::nameOf(language));
}

// The charts of what a crack of `cipher` rests on: the input's letters
// beside those of the language found and of the best decryption, and for
// Vigenere the index of coincidence of every period. None without letters.
void showEvidence(TanalysisForm& form, Cipher cipher, const analysis::Report& report) {
  const analysis::Evidence& evidence = report.evidence;
  if (report.candidates.empty()) {
    form.showCharts({}, {}, 0, {});
    return;
  }
  std::vector<LetterSeries> letters = {{QObject::tr("Input"), evidence.inputLetters},
                                       languageLetters(report.language),
                                       {QObject::tr("Decryption"), evidence.outputLetters}};
  const bool periods = cipher == Cipher::vigenere;
  form.showCharts(std::move(letters), periods ? evidence.periodCoincidence : std::vector<double>{},
                  evidence.period,
                  periods ? coincidenceReferences(report.language) : std::vector<ReferenceLevel>{});
}

}  // namespace

void TmainForm::setUpAnalysis() {
  analysisRunner = new AnalysisRunner(this);
  connect(analysisRunner, &AnalysisRunner::finished, this, [this](const AnalysisOutcome& outcome) {
    deliverEvent([&] { showAnalysis(outcome); }, QT_TR_NOOP("show the analysis"));
  });
  connect(analysisRunner, &AnalysisRunner::busyChanged, this, [this](bool busy) {
    if (analysisForm != nullptr) analysisForm->setBusy(busy);
    if (busy) {
      setCursor(Qt::BusyCursor);
    } else {
      unsetCursor();
    }
  });
  cancelKey = new QAction(this);
  cancelKey->setShortcut(QKeySequence(Qt::Key_Escape));
  cancelKey->setEnabled(false);
  addAction(cancelKey);
  connect(cancelKey, &QAction::triggered, this, &TmainForm::cancelAnalysis);
  connect(analysisRunner, &AnalysisRunner::runningChanged, cancelKey, &QAction::setEnabled);

  // "Find key" on each cipher's page, and a key for the one shown.
  const QKeySequence findKey(Qt::CTRL | Qt::Key_K);
  for (const KeyPage& keyPage : kKeyPages) {
    auto* button = new QPushButton(tr("Find key"), (*ui).*keyPage.page);
    button->setObjectName(QString::fromLatin1(keyPage.name));
    button->setGeometry(kFindKeyPlace);
    button->setAccessibleName(tr("Find key"));
    button->setToolTip(tr("Find the key of the input and decrypt it (%1)")
                           .arg(findKey.toString(QKeySequence::NativeText)));
    connect(button, &QPushButton::clicked, this,
            [this] { deliverEvent([this] { findKeyClick(); }, QT_TR_NOOP("find the key")); });
  }
  auto* findKeyAction = new QAction(this);
  findKeyAction->setShortcut(findKey);
  addAction(findKeyAction);
  connect(findKeyAction, &QAction::triggered, this, [this] {
    for (const KeyPage& keyPage : kKeyPages)
      if (ui->optionPagina->currentWidget() == (*ui).*keyPage.page)
        ui->optionPagina->currentWidget()->findChild<QPushButton*>(keyPage.name)->click();
  });

  // An entry of a box's menu, with a key that works anywhere in the window.
  const auto boxAction = [this](TMemo* box, const QString& text, const char* name,
                                const QKeySequence& key, const QString& tip,
                                void (TmainForm::*handle)(), const char* doing) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setToolTip(tip);
    addAction(action);
    box->addMenuAction(action);
    connect(action, &QAction::triggered, this,
            [this, handle, doing] { deliverEvent([this, handle] { (this->*handle)(); }, doing); });
  };
  boxAction(ui->srcMemo, tr("What is this?"), "whatIsThis", QKeySequence(Qt::CTRL | Qt::Key_I),
            tr("Name the methods that the input was coded with"), &TmainForm::whatIsThisClick,
            QT_TR_NOOP("name the input"));
  boxAction(ui->destMemo, tr("Use result as input"), "useResultAsInput",
            QKeySequence(Qt::CTRL | Qt::Key_U),
            tr("Move the result into the input box, to code it further"),
            &TmainForm::useResultAsInput, QT_TR_NOOP("use the result as input"));

  // A result for an input or options changed since it was asked for is
  // dropped.
  const auto drop = [this] { analysisRunner->drop(); };
  connect(ui->srcMemo, &TMemo::textChanged, analysisRunner, drop);
  connect(ui->optionPagina, &QTabWidget::currentChanged, analysisRunner, drop);
  for (QLineEdit* box : ui->optionPagina->findChildren<QLineEdit*>())
    connect(box, &QLineEdit::textChanged, analysisRunner, drop);
  for (QRadioButton* radio : ui->optionPagina->findChildren<QRadioButton*>())
    connect(radio, &QRadioButton::toggled, analysisRunner, drop);
}

TanalysisForm& TmainForm::presentAnalysis() {
  if (analysisForm == nullptr) {
    analysisForm = new TanalysisForm(this);
    analysisForm->setChartZoom(ui->srcMemo->zoom());
    connect(analysisForm, &TanalysisForm::applyRequested, this, [this](int row) {
      deliverEvent([this, row] { applyAnalysisRow(row); }, QT_TR_NOOP("apply the candidate"));
    });
    connect(analysisForm, &TanalysisForm::cancelRequested, this, &TmainForm::cancelAnalysis);
  }
  analysisForm->present();
  return *analysisForm;
}

void TmainForm::startAnalysis(AnalysisWork work, const QString& title, const QString& keyHeading) {
  TanalysisForm& form = presentAnalysis();
  form.showWorking(title, keyHeading);
  analysisRunner->start(ui->srcMemo->text(), inputLength(), std::move(work));
}

void TmainForm::findKeyClick() {
  if (ui->srcMemo->text().empty()) {
    analysisRunner->drop();
    showResult("Insufficient input...");
    return;
  }
  const QWidget* page = ui->optionPagina->currentWidget();
  Cipher cipher = Cipher::bitwiseXor;
  if (page == ui->caesarPage) {
    cipher = ui->shiftOpt2->isChecked() ? Cipher::caesarFull : Cipher::caesar;
  } else if (page == ui->vigenerePage) {
    cipher = Cipher::vigenere;
  } else if (page == ui->substPage) {
    cipher = Cipher::substitution;
  }
  const QString method = QString::fromUtf8(analysis::methodOf(cipher).caption);
  startAnalysis(crackWork(cipher, kKeysListed),
                tr("Finding the key of the input for %1\u2026").arg(method), tr("Key"));
  askedCipher = cipher;
}

void TmainForm::whatIsThisClick() {
  if (ui->srcMemo->text().empty()) {
    analysisRunner->drop();
    showResult("Insufficient input...");
    return;
  }
  startAnalysis(identifyWork(kChainsListed), tr("Finding out what the input is\u2026"),
                tr("Steps"));
  askedCipher.reset();
}

void TmainForm::cancelAnalysis() {
  if (!analysisRunner->isRunning()) return;
  analysisRunner->drop();
  if (analysisForm != nullptr) analysisForm->showNote(tr("Cancelled."));
}

QString TmainForm::previewText(std::string_view preview) const {
  QString shown = fromBytes(preview, textEncoding);
  for (QChar& c : shown)
    if (c.isSpace() || c.category() == QChar::Other_Control) c = u' ';
  return shown;
}

void TmainForm::showAnalysis(const AnalysisOutcome& outcome) {
  TanalysisForm& form = presentAnalysis();
  std::vector<TanalysisForm::Row> rows;
  QString note;
  if (const auto* report = std::get_if<analysis::Report>(&outcome)) {
    const Cipher cipher = askedCipher.value_or(Cipher::caesar);
    form.showWorking(
        tr("Keys for %1, best first").arg(QString::fromUtf8(analysis::methodOf(cipher).caption)),
        tr("Key"));
    for (const analysis::Candidate& candidate : report->candidates)
      rows.push_back({stepText(analysis::stepOf(cipher, candidate.options)),
                      languageText(candidate.language), candidate.confidence,
                      previewText(candidate.preview)});
    note = QString::fromStdString(report->note);
    showEvidence(form, cipher, *report);
  } else if (const auto* found = std::get_if<analysis::Identification>(&outcome)) {
    form.showWorking(tr("What the input may be, likeliest first"), tr("Steps"));
    for (const analysis::Chain& chain : found->candidates)
      rows.push_back({chainText(chain.steps), languageText(chain.language), chain.confidence,
                      previewText(chain.preview)});
    note = QString::fromStdString(found->note);
  } else {
    form.showWorking(tr("The analysis failed"), tr("Key"));
    note = QString::fromStdString(std::get<std::string>(outcome));
  }
  if (!std::holds_alternative<analysis::Report>(outcome)) form.showCharts({}, {}, 0, {});
  analysisAnswer = outcome;
  form.showCandidates(rows);
  form.showNote(note);
  // The best key goes straight into the page; a chain waits for Apply.
  if (askedCipher && !rows.empty()) applyAnalysisRow(0);
}

void TmainForm::applyAnalysisRow(int row) {
  if (row < 0) return;
  const auto index = static_cast<std::size_t>(row);
  if (const auto* report = std::get_if<analysis::Report>(&analysisAnswer)) {
    if (!askedCipher || index >= report->candidates.size()) return;
    const analysis::Step step = analysis::stepOf(*askedCipher, report->candidates[index].options);
    showOnPage(*step.method, step.options);
    processInput(step.direction, ui->optionPagina->currentIndex());
  } else if (const auto* found = std::get_if<analysis::Identification>(&analysisAnswer)) {
    if (index >= found->candidates.size()) return;
    const std::vector<analysis::Step>& steps = found->candidates[index].steps;
    if (steps.empty()) {
      analysisForm->showNote(tr("The input reads as it is: there is nothing to run."));
      return;
    }
    std::string result = analysis::runChain(steps, inputText());
    showOnPage(*steps.back().method, steps.back().options);
    showResult(std::move(result));
    analysisForm->showNote(steps.size() == 1
                               ? tr("Ran %1.").arg(chainText(steps))
                               : tr("Ran %1 steps: %2.").arg(steps.size()).arg(chainText(steps)));
  }
}

void TmainForm::showOnPage(const methods::Method& method, const methods::Settings& options) {
  const std::string_view name = method.name;
  if (name == "caesar") {
    (methods::flagOf(options, "full") ? ui->shiftOpt2 : ui->shiftOpt1)->setChecked(true);
    ui->caesarShiftBox->setValue(methods::integerOf(options, "shift"));
  } else if (name == "vigenere") {
    ui->vigenereKeyBox->setText(fromBytes(methods::textOf(options, "key"), textEncoding));
  } else if (name == "subst") {
    ui->substKey1Box->setText(fromBytes(methods::textOf(options, "from"), textEncoding));
    ui->substKey2Box->setText(fromBytes(methods::textOf(options, "to"), textEncoding));
  } else if (name == "bitwise") {
    for (const auto& [radio, operation] :
         {std::pair{ui->bitANDradio, "and"}, std::pair{ui->bitORradio, "or"},
          std::pair{ui->bitXORradio, "xor"}}) {
      if (options.empty() || options.front().name != operation) continue;
      radio->setChecked(true);
      ui->keyBox->setValue(methods::integerOf(options, operation));
    }
  } else if (name == "binary" || name == "decimal" || name == "hex") {
    (name == "binary"    ? ui->bitBinRadio
     : name == "decimal" ? ui->bitDecRadio
                         : ui->bitHexRadio)
        ->setChecked(true);
    const bool seven = methods::integerOf(options, "bits", 8) == 7;
    (seven ? ui->RadioButton2 : ui->RadioButton1)->setChecked(true);
    charCoder.setBitWidth(seven ? 7 : 8);
  }
  // A page change empties both boxes; the input comes back.
  QWidget* page = ui->optionPagina->findChild<QWidget*>(QString::fromUtf8(method.page));
  if (page == nullptr || page == ui->optionPagina->currentWidget()) return;
  std::string input = ui->srcMemo->text();
  ui->optionPagina->setCurrentWidget(page);
  ui->srcMemo->setText(std::move(input));
}

void TmainForm::useResultAsInput() {
  if (ui->destMemo->text().empty() && hiddenResult.empty()) return;
  const std::string whole = ui->destMemo->text() + hiddenResult;
  ui->srcMemo->selectAll();
  ui->srcMemo->insertBytes(whole);
}
