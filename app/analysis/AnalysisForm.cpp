#include "AnalysisForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The columns of the candidate list.
enum Column { kKeyColumn, kLanguageColumn, kConfidenceColumn, kPreviewColumn, kColumns };
// The columns' widths at first; each then takes the width of its longest
// text, up to a share of the list's width, and may be widened by hand.
constexpr int kKeyWidth = 220;
constexpr int kLanguageWidth = 100;
constexpr int kConfidenceWidth = 70;
constexpr int kWidestColumnPercent = 45;
// The window's size at first, where the screen has room for it.
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 600;
// Between the main window and this one.
constexpr int kGap = 8;
// Where the window's size and place are remembered between runs.
constexpr char kGeometryKey[] = "analysisGeometry";

}  // namespace

TanalysisForm::TanalysisForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("analysisForm"));
  setWindowTitle(tr("Zembrax - analysis"));
  resize(kStartWidth, kStartHeight);

  title = new QLabel(this);
  title->setObjectName(QStringLiteral("analysisTitle"));
  title->setWordWrap(true);
  staleLabel = new QLabel(this);
  staleLabel->setObjectName(QStringLiteral("staleLabel"));
  staleLabel->setWordWrap(true);
  staleLabel->setAccessibleDescription(tr("Why the answer below is greyed out"));
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
  candidateList->header()->setSectionResizeMode(QHeaderView::Interactive);
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

  knownTextBox = new QLineEdit(this);
  knownTextBox->setObjectName(QStringLiteral("knownTextBox"));
  knownTextBox->setAccessibleName(tr("Known text"));
  knownTextBox->setPlaceholderText(tr("flag{, or a word you expect"));
  knownTextBox->setToolTip(
      tr("Text you know stands in the answer: the keys and steps whose result holds it, letters "
         "in either case, rank first. Find key or What is this? again to use it."));
  auto* knownLabel = new QLabel(tr("&Known text:"), this);
  knownLabel->setBuddy(knownTextBox);
  // Beside the heading, which leaves room on its line.
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(title, 1);
  titleRow->addWidget(knownLabel);
  titleRow->addWidget(knownTextBox);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(titleRow);
  layout->addWidget(staleLabel);
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
  connect(knownTextBox, &QLineEdit::textEdited, this, &TanalysisForm::knownTextEdited);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (isBusy()) {
      emit cancelRequested();
    } else {
      close();
    }
  });
  // F6 goes back to the main window, as F6 there comes to the list.
  auto* back = new QShortcut(QKeySequence(Qt::Key_F6), this);
  connect(back, &QShortcut::activated, this, [this] {
    if (parentWidget() == nullptr) return;
    QWidget* main = parentWidget()->window();
    main->raise();
    main->activateWindow();
  });
  setBusy(false);
  setStale({});
  showNote({});
  showCharts({}, {}, 0, {});
}

TanalysisForm::~TanalysisForm() {
  if (placed) rememberGeometry();
}

void TanalysisForm::showWorking(const QString& heading, const QString& keyHeading) {
  setHeading(heading);
  candidateList->clear();
  candidateList->setHeaderLabels({keyHeading, tr("Language"), tr("Confidence"), tr("Preview")});
  applyBut->setEnabled(false);
  showNote({});
  showCharts({}, {}, 0, {});
}

void TanalysisForm::setHeading(const QString& heading) {
  title->setText(heading);
  title->setAccessibleName(heading);
}

QString TanalysisForm::heading() const {
  return title->text();
}

void TanalysisForm::setStale(const QString& line) {
  const bool current = line.isEmpty();
  // The name is what a screen reader reads, and its change is announced.
  staleLabel->setText(line);
  staleLabel->setAccessibleName(line);
  staleLabel->setVisible(!current);
  candidateList->setEnabled(current);
  charts->setEnabled(current);
  applyBut->setEnabled(current && rowCount() > 0);
}

void TanalysisForm::focusList() {
  raise();
  activateWindow();
  candidateList->setFocus(Qt::ShortcutFocusReason);
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
    item->setText(kConfidenceColumn, QStringLiteral("%1 %").arg(row.percent));
    item->setTextAlignment(kConfidenceColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(kPreviewColumn, row.preview);
    // A cell too narrow for its text shows it whole in its tooltip.
    for (int column = 0; column < kColumns; ++column)
      item->setToolTip(column, item->text(column));
  }
  const int widest =
      std::max(kConfidenceWidth, candidateList->viewport()->width() * kWidestColumnPercent / 100);
  for (int column : {kKeyColumn, kLanguageColumn, kConfidenceColumn}) {
    candidateList->resizeColumnToContents(column);
    candidateList->setColumnWidth(column, std::min(candidateList->columnWidth(column), widest));
  }
  applyBut->setEnabled(!rows.empty() && candidateList->isEnabled());
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

QString TanalysisForm::knownText() const {
  return knownTextBox->text();
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
  if (!placed && parentWidget() != nullptr) {
    // Where it was last, unless the main window stands there now.
    QWidget& main = *parentWidget()->window();
    const QByteArray saved = QSettings().value(kGeometryKey).toByteArray();
    if (saved.isEmpty() || !restoreGeometry(saved) ||
        frameGeometry().intersects(main.frameGeometry()))
      placeBeside(main);
  }
  placed = true;
  setAttribute(Qt::WA_ShowWithoutActivating);
  // Shown where it was, it is raised only as it appears, not over a window
  // that the user put in front since.
  if (isVisible()) return;
  show();
  raise();
}

void TanalysisForm::placeBeside(QWidget& main) {
  const QScreen* screen = main.screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  QRect mainFrame = main.frameGeometry();
  // This window's frame, before it first shows, as wide as the main
  // window's.
  const QSize frame = mainFrame.size() - main.size();
  const QSize wanted = QSize(kStartWidth, kStartHeight) + frame;
  std::optional<QRect> place = ::placeBeside(room, mainFrame, wanted, kLeastSize + frame, kGap);
  if (!place) {
    // The main window in the screen's top left corner leaves the most room.
    mainFrame.moveTopLeft(room.topLeft());
    place = ::placeBeside(room, mainFrame, wanted, kLeastSize + frame, kGap);
    if (place) main.move(room.topLeft());
  }
  // A screen too small for both: in its bottom right corner, at least size.
  const QRect chosen = place.value_or(
      QRect(room.bottomRight() -
                QPoint(kLeastSize.width() + frame.width(), kLeastSize.height() + frame.height()) +
                QPoint(1, 1),
            kLeastSize + frame));
  resize(chosen.size() - frame);
  move(chosen.topLeft());
}

void TanalysisForm::rememberGeometry() const {
  QSettings().setValue(kGeometryKey, QWidget::saveGeometry());
}

void TanalysisForm::closeEvent(QCloseEvent* event) {
  emit cancelRequested();
  QWidget::closeEvent(event);
}

void TanalysisForm::hideEvent(QHideEvent* event) {
  if (placed && !event->spontaneous()) rememberGeometry();
  QWidget::hideEvent(event);
}

std::optional<QRect> placeBeside(const QRect& room, const QRect& main, QSize wanted, QSize least,
                                 int gap) {
  wanted = wanted.expandedTo(least);
  const int roomRight = room.x() + room.width();
  const int roomBottom = room.y() + room.height();
  const int mainRight = main.x() + main.width();
  const int mainBottom = main.y() + main.height();
  // Beside it, on the side with more room.
  const int right = roomRight - mainRight - gap;
  const int left = main.x() - gap - room.x();
  if (std::max(right, left) >= least.width() && room.height() >= least.height()) {
    const int width = std::min(wanted.width(), std::max(right, left));
    const int height = std::min(wanted.height(), room.height());
    const int x = right >= left ? mainRight + gap : main.x() - gap - width;
    return QRect(x, std::clamp(main.y(), room.y(), roomBottom - height), width, height);
  }
  // Else under it, or above it.
  const int below = roomBottom - mainBottom - gap;
  const int above = main.y() - gap - room.y();
  if (std::max(below, above) >= least.height() && room.width() >= least.width()) {
    const int height = std::min(wanted.height(), std::max(below, above));
    const int width = std::min(wanted.width(), room.width());
    const int y = below >= above ? mainBottom + gap : main.y() - gap - height;
    return QRect(std::clamp(main.x(), room.x(), roomRight - width), y, width, height);
  }
  return std::nullopt;
}
