#include "AnalysisForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The columns of the candidate list.
enum Column { kKeyColumn, kLanguageColumn, kConfidenceColumn, kPreviewColumn, kColumns };
// Wide enough for a substitution alphabet's 26 letters, or a chain of three
// steps.
constexpr int kKeyWidth = 220;
constexpr int kLanguageWidth = 100;
constexpr int kConfidenceWidth = 70;
// The window's size at first; it may be made larger.
constexpr int kStartWidth = 700;
constexpr int kStartHeight = 700;
// Between the main window and this one, where they stand side by side.
constexpr int kGap = 8;

}  // namespace

TanalysisForm::TanalysisForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("analysisForm"));
  setWindowTitle(tr("Zembrax - analysis"));
  resize(kStartWidth, kStartHeight);

  title = new QLabel(this);
  title->setObjectName(QStringLiteral("analysisTitle"));
  title->setWordWrap(true);
  busyBar = new QProgressBar(this);
  busyBar->setObjectName(QStringLiteral("busyBar"));
  busyBar->setRange(0, 0);
  busyBar->setTextVisible(false);
  busyBar->setAccessibleName(tr("Working"));
  cancelBut = new QPushButton(tr("Cancel"), this);
  cancelBut->setObjectName(QStringLiteral("cancelBut"));
  cancelBut->setAccessibleName(tr("Cancel"));
  cancelBut->setToolTip(tr("Stop the search (Esc)"));
  auto* busyRow = new QHBoxLayout;
  busyRow->addWidget(busyBar, 1);
  busyRow->addWidget(cancelBut);

  candidateList = new QTreeWidget(this);
  candidateList->setObjectName(QStringLiteral("candidateList"));
  candidateList->setAccessibleName(tr("Candidates"));
  candidateList->setAccessibleDescription(
      tr("Ranked answers: key or steps, language, confidence and the start of the result"));
  candidateList->setRootIsDecorated(false);
  candidateList->setAllColumnsShowFocus(true);
  candidateList->setColumnCount(kColumns);
  candidateList->setColumnWidth(kKeyColumn, kKeyWidth);
  candidateList->setColumnWidth(kLanguageColumn, kLanguageWidth);
  candidateList->setColumnWidth(kConfidenceColumn, kConfidenceWidth);
  candidateList->header()->setStretchLastSection(true);

  noteLabel = new QLabel(this);
  noteLabel->setObjectName(QStringLiteral("noteLabel"));
  noteLabel->setAccessibleName(tr("Note"));
  noteLabel->setWordWrap(true);
  noteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  applyBut = new QPushButton(tr("Apply"), this);
  applyBut->setObjectName(QStringLiteral("applyBut"));
  applyBut->setAccessibleName(tr("Apply"));
  applyBut->setToolTip(tr("Apply the chosen candidate to the main window (Enter)"));
  auto* noteRow = new QHBoxLayout;
  noteRow->addWidget(noteLabel, 1);
  noteRow->addWidget(applyBut);

  // The charts of the evidence: the letter frequencies and, for a Vigenere
  // key, the index of coincidence of every period.
  charts = new QWidget(this);
  charts->setObjectName(QStringLiteral("chartArea"));
  charts->setAccessibleName(tr("Charts"));
  letterChart = new LetterChart(charts);
  periodChart = new PeriodChart(charts);
  auto* chartColumn = new QVBoxLayout(charts);
  chartColumn->setContentsMargins(0, 0, 0, 0);
  chartColumn->addWidget(letterChart);
  chartColumn->addWidget(periodChart);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addLayout(busyRow);
  layout->addWidget(candidateList, 1);
  layout->addLayout(noteRow);
  layout->addWidget(charts, 2);

  connect(applyBut, &QPushButton::clicked, this, [this] {
    if (chosenRow() >= 0) emit applyRequested(chosenRow());
  });
  connect(candidateList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    emit applyRequested(candidateList->indexOfTopLevelItem(item));
  });
  connect(cancelBut, &QPushButton::clicked, this, &TanalysisForm::cancelRequested);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (isBusy()) {
      emit cancelRequested();
    } else {
      close();
    }
  });
  setBusy(false);
  showNote({});
  showCharts({}, {}, 0, {});
}

void TanalysisForm::showWorking(const QString& heading, const QString& keyHeading) {
  title->setText(heading);
  candidateList->clear();
  candidateList->setHeaderLabels({keyHeading, tr("Language"), tr("Confidence"), tr("Preview")});
  applyBut->setEnabled(false);
  showNote({});
}

void TanalysisForm::setBusy(bool busy) {
  busyBar->setVisible(busy);
  cancelBut->setVisible(busy);
}

bool TanalysisForm::isBusy() const {
  return !busyBar->isHidden();
}

void TanalysisForm::showCandidates(const std::vector<Row>& rows) {
  candidateList->clear();
  for (const Row& row : rows) {
    auto* item = new QTreeWidgetItem(candidateList);
    item->setText(kKeyColumn, row.key);
    item->setText(kLanguageColumn, row.language);
    item->setText(kConfidenceColumn, QStringLiteral("%1 %").arg(std::lround(100 * row.confidence)));
    item->setTextAlignment(kConfidenceColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(kPreviewColumn, row.preview);
    item->setToolTip(kKeyColumn, row.key);
    item->setToolTip(kPreviewColumn, row.preview);
  }
  applyBut->setEnabled(!rows.empty());
  chooseRow(rows.empty() ? -1 : 0);
}

void TanalysisForm::showCharts(std::vector<LetterSeries> letters, std::vector<double> byPeriod,
                               std::size_t chosen, std::vector<ReferenceLevel> references) {
  charts->setVisible(!letters.empty());
  periodChart->setVisible(!byPeriod.empty());
  letterChart->setSeries(std::move(letters));
  periodChart->setReferences(std::move(references));
  periodChart->setCoincidence(std::move(byPeriod), chosen);
}

void TanalysisForm::setChartZoom(int percent) {
  letterChart->setZoom(percent);
  periodChart->setZoom(percent);
}

void TanalysisForm::showNote(const QString& text) {
  noteLabel->setText(text);
  noteLabel->setVisible(!text.isEmpty());
}

QString TanalysisForm::note() const {
  return noteLabel->text();
}

int TanalysisForm::chosenRow() const {
  return candidateList->indexOfTopLevelItem(candidateList->currentItem());
}

void TanalysisForm::chooseRow(int row) {
  candidateList->setCurrentItem(row < 0 ? nullptr : candidateList->topLevelItem(row));
}

int TanalysisForm::rowCount() const {
  return candidateList->topLevelItemCount();
}

void TanalysisForm::present() {
  if (!placed && parentWidget() != nullptr) placeBeside(*parentWidget()->window());
  placed = true;
  setAttribute(Qt::WA_ShowWithoutActivating);
  show();
  raise();
}

void TanalysisForm::placeBeside(const QWidget& main) {
  const QScreen* screen = main.screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  const QRect beside = main.frameGeometry();
  const int top =
      std::clamp(beside.top(), room.top(), std::max(room.top(), room.bottom() - height()));
  if (beside.right() + kGap + width() <= room.right()) {
    move(beside.right() + kGap, top);
  } else if (beside.left() - kGap - width() >= room.left()) {
    move(beside.left() - kGap - width(), top);
  }
}

void TanalysisForm::closeEvent(QCloseEvent* event) {
  emit cancelRequested();
  QWidget::closeEvent(event);
}
