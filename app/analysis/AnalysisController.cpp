#include "AnalysisController.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "LetterChart.h"
#include "PeriodChart.h"
#include "analysis/Variants.h"

using analysis::Cipher;

QString stepText(const analysis::Step& step) {
  return QString::fromUtf8(methods::describe(*step.method, step.options));
}

QString chainText(const std::vector<analysis::Step>& steps) {
  QStringList names;
  for (const analysis::Step& step : steps)
    names << stepText(step);
  return names.isEmpty() ? QObject::tr("Plain text") : names.join(QStringLiteral(" \u2192 "));
}

QString variantText(const analysis::Step& step) {
  if (!analysis::triesBothWays(*step.method)) return stepText(step);
  return step.direction == Direction::decode ? QObject::tr("%1 (Decrypt)").arg(stepText(step))
                                             : QObject::tr("%1 (Encrypt)").arg(stepText(step));
}

namespace {

// Whole percentages of `shares` (which add up to 1 at most) that add up to
// the rounded percentage of their sum: each rounded down, and the points
// left over given to the largest remainders.
std::vector<int> percentagesOf(const std::vector<double>& shares) {
  const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
  auto left = static_cast<int>(std::lround(100 * std::min(total, 1.0)));
  std::vector<int> shown;
  std::vector<std::pair<double, std::size_t>> remainders;
  for (std::size_t i = 0; i < shares.size(); ++i) {
    const double percent = 100 * shares[i];
    shown.push_back(static_cast<int>(std::floor(percent)));
    left -= shown.back();
    remainders.emplace_back(percent - shown.back(), i);
  }
  std::stable_sort(remainders.begin(), remainders.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; left > 0 && i < remainders.size(); ++i, --left)
    ++shown[remainders[i].second];
  return shown;
}

}  // namespace

std::vector<TanalysisForm::Row> mergedRows(const std::vector<Answer>& answers,
                                           std::vector<std::size_t>& sources) {
  std::vector<Answer> merged;
  sources.clear();
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const Answer& answer = answers[i];
    auto same = std::find_if(merged.begin(), merged.end(),
                             [&](const Answer& row) { return row.key == answer.key; });
    if (same == merged.end()) {
      merged.push_back({answer.key, {}, 0, answer.preview});
      sources.push_back(i);
      same = merged.end() - 1;
    }
    same->confidence += std::max(answer.confidence, 0.0);
    for (analysis::Language language : answer.languages)
      if (std::find(same->languages.begin(), same->languages.end(), language) ==
          same->languages.end())
        same->languages.push_back(language);
  }
  std::vector<double> shares;
  for (const Answer& row : merged)
    shares.push_back(row.confidence);
  const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
  if (total > 1)
    for (double& share : shares)
      share /= total;
  const std::vector<int> percentages = percentagesOf(shares);
  std::vector<TanalysisForm::Row> rows;
  for (std::size_t i = 0; i < merged.size(); ++i) {
    QStringList languages;
    for (analysis::Language language : merged[i].languages)
      languages << QString::fromUtf8(analysis::nameOf(language));
    rows.push_back(
        {merged[i].key, languages.join(QStringLiteral(", ")), percentages[i], merged[i].preview});
  }
  return rows;
}

namespace {

// The languages of a candidate or a chain: its own, then those merged into it.
std::vector<analysis::Language> languagesOf(analysis::Language language,
                                            const std::vector<analysis::Language>& also) {
  std::vector<analysis::Language> languages(1 + also.size(), language);
  std::copy(also.begin(), also.end(), languages.begin() + 1);
  return languages;
}

// The line that greys out an answer that Find key (or What is this?) made
// for an input since changed.
QString staleLine(bool foundKey) {
  return foundKey ? QObject::tr("The input has changed: Find key again")
                  : QObject::tr("The input has changed: ask What is this? again");
}

}  // namespace

AnalysisController::AnalysisController(QWidget& main, PreviewText previewText)
    : QObject(&main), main(main), previewText(std::move(previewText)) {
  setObjectName(QStringLiteral("analysisController"));
  runner = new AnalysisRunner(this);
  connect(runner, &AnalysisRunner::finished, this, &AnalysisController::showOutcome);
  connect(runner, &AnalysisRunner::busyChanged, this, [this](bool busy) {
    if (window != nullptr) window->setBusy(busy);
    emit busyChanged(busy);
  });
  connect(runner, &AnalysisRunner::runningChanged, this, &AnalysisController::runningChanged);
}

TanalysisForm& AnalysisController::present() {
  if (window == nullptr) {
    window = new TanalysisForm(&main);
    window->setChartZoom(zoom);
    connect(window, &TanalysisForm::applyRequested, this, &AnalysisController::apply);
    connect(window, &TanalysisForm::cancelRequested, this, &AnalysisController::cancel);
    connect(window, &TanalysisForm::knownTextEdited, this, &AnalysisController::inputChanged);
  }
  window->present();
  return *window;
}

void AnalysisController::start(AnalysisWork work, const QString& heading, const QString& keyHeading,
                               const std::string& source, std::size_t length) {
  TanalysisForm& form = present();
  stale = false;
  answer = std::string();
  rowSources.clear();
  form.setStale({});
  form.showWorking(heading, keyHeading);
  form.showNote(askedNote);
  runner->start(source, length, std::move(work));
}

void AnalysisController::findKey(Cipher cipher, const std::string& source, std::size_t length) {
  asked = cipher;
  askedMethod = nullptr;
  askedNote.clear();
  const QString method = QString::fromUtf8(analysis::methodOf(cipher).caption);
  start(crackWork(cipher, kKeysListed, present().knownText().toStdString()),
        tr("Finding the key of the input for %1\u2026").arg(method), tr("Key"), source, length);
}

void AnalysisController::whatIsThis(const std::string& source, std::size_t length,
                                    const QString& note) {
  asked.reset();
  askedMethod = nullptr;
  askedNote = note;
  start(identifyWork(kChainsListed, present().knownText().toStdString()),
        tr("Finding out what the input is\u2026"), tr("Steps"), source, length);
}

void AnalysisController::findSettings(const methods::Method& method, const std::string& source,
                                      std::size_t length) {
  asked.reset();
  askedMethod = &method;
  askedNote.clear();
  start(identifyWork(kKeysListed, present().knownText().toStdString(), &method),
        tr("Trying each setting of %1 on the input\u2026").arg(QString::fromUtf8(method.caption)),
        tr("Settings"), source, length);
}

void AnalysisController::cancel() {
  if (!runner->isRunning()) return;
  runner->drop();
  if (window != nullptr) window->setHeading(tr("Cancelled"));
}

void AnalysisController::inputChanged() {
  if (applying) return;
  if (runner->isRunning()) {
    cancel();
  } else if (window == nullptr || rowSources.empty() || stale) {
    return;
  }
  stale = true;
  window->setStale(staleLine(findingKey()));
}

void AnalysisController::showOutcome(const AnalysisOutcome& outcome) {
  TanalysisForm& form = present();
  std::vector<Answer> answers;
  QString note;
  if (const auto* report = std::get_if<analysis::Report>(&outcome)) {
    const Cipher cipher = asked.value_or(Cipher::caesar);
    form.showWorking(
        tr("Keys for %1, best first").arg(QString::fromUtf8(analysis::methodOf(cipher).caption)),
        tr("Key"));
    for (const analysis::Candidate& candidate : report->candidates)
      answers.push_back({stepText(analysis::stepOf(cipher, candidate.options)),
                         languagesOf(candidate.language, candidate.alsoLanguages),
                         candidate.confidence, previewText(candidate.preview)});
    note = QString::fromStdString(report->note);
    showEvidence(cipher, *report);
  } else if (const auto* found = std::get_if<analysis::Identification>(&outcome)) {
    if (askedMethod != nullptr) {
      form.showWorking(
          tr("Settings of %1, best first").arg(QString::fromUtf8(askedMethod->caption)),
          tr("Settings"));
    } else {
      form.showWorking(tr("What the input may be, likeliest first"), tr("Steps"));
    }
    // A variant is a chain of one step.
    for (const analysis::Chain& chain : found->candidates)
      answers.push_back(
          {askedMethod != nullptr ? variantText(chain.steps.front()) : chainText(chain.steps),
           languagesOf(chain.language, chain.alsoLanguages), chain.confidence,
           previewText(chain.preview)});
    note = QString::fromStdString(found->note);
  } else {
    form.showWorking(tr("The analysis failed"), tr("Key"));
    note = QString::fromStdString(std::get<std::string>(outcome));
  }
  answer = outcome;
  stale = false;
  form.setStale({});
  form.showCandidates(mergedRows(answers, rowSources));
  QStringList notes;
  for (const QString& line : {askedNote, note})
    if (!line.isEmpty()) notes << line;
  form.showNote(notes.join(QLatin1Char('\n')));
  // The best key or settings go straight into the page; a chain waits for
  // Apply.
  if (findingKey() && !rowSources.empty()) apply(0);
}

void AnalysisController::apply(int row) {
  if (stale || row < 0 || static_cast<std::size_t>(row) >= rowSources.size()) return;
  const std::size_t index = rowSources[static_cast<std::size_t>(row)];
  const auto* report = std::get_if<analysis::Report>(&answer);
  const auto* found = std::get_if<analysis::Identification>(&answer);
  if (found != nullptr && askedMethod == nullptr) {
    // A chain changes the input, which the list was made for.
    emit chainChosen(found->candidates[index].steps);
    return;
  }
  std::optional<analysis::Step> key;
  if (report != nullptr && asked) {
    key = analysis::stepOf(*asked, report->candidates[index].options);
  } else if (found != nullptr) {
    key = found->candidates[index].steps.front();  // settings found, a step of one method
  }
  if (!key) return;
  // The options and the result that the key gives belong to this answer.
  applying = true;
  emit keyChosen(*key);
  applying = false;
}

void AnalysisController::showNote(const QString& note) {
  if (window != nullptr) window->showNote(note);
}

void AnalysisController::setChartZoom(int percent) {
  zoom = percent;
  if (window != nullptr) window->setChartZoom(percent);
}

bool AnalysisController::focusList() {
  if (window == nullptr || !window->isVisible()) return false;
  window->focusList();
  return true;
}

void AnalysisController::showEvidence(Cipher cipher, const analysis::Report& report) {
  const analysis::Evidence& evidence = report.evidence;
  if (report.candidates.empty()) {
    window->showCharts({}, {}, 0, {});
    return;
  }
  std::vector<LetterSeries> letters = {{tr("Input"), evidence.inputLetters},
                                       languageLetters(report.language),
                                       {tr("Decryption"), evidence.outputLetters}};
  const bool periods = cipher == Cipher::vigenere;
  window->showCharts(
      std::move(letters), periods ? evidence.periodCoincidence : std::vector<double>{},
      evidence.period,
      periods ? coincidenceReferences(report.language) : std::vector<ReferenceLevel>{});
}
