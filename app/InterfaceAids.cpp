// What the main window offers a newcomer beyond the controls' own events:
// the choice of line breaks, the note on what the output box hides,
// tooltips that name the keys, the keys themselves and the text size shown.
#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>

#include <array>

#include "Interface.h"
#include "KeyRoutes.h"
#include "Memo.h"
#include "ui_Interface.h"

namespace {

// The line breaks as the boxes' menus offer them.
struct LineBreakChoice {
  LineBreak lineBreak;
  const char* caption;
};
constexpr std::array<LineBreakChoice, 2> kLineBreakChoices = {{
    {LineBreak::crlf, QT_TRANSLATE_NOOP("TmainForm", "CR LF (Windows)")},
    {LineBreak::lf, QT_TRANSLATE_NOOP("TmainForm", "LF (Unix)")},
}};

// Where the chosen line break is remembered between runs.
constexpr char kLineBreakKey[] = "lineBreaks";

// Room between the output box and the note under it, as between the boxes'
// own rows.
constexpr int kNoteGap = 2;

// What the note says of `hidden` bytes that the box does not show.
QString hiddenNote(std::size_t hidden) {
  return hidden == 1 ? TmainForm::tr(
                           "The box stops at a zero byte: 1 byte is hidden. \"Save "
                           "result as\u2026\" keeps it.")
                     : TmainForm::tr(
                           "The box stops at a zero byte: %1 bytes are hidden. \"Save "
                           "result as\u2026\" keeps them all.")
                           .arg(hidden);
}

// How long the text size shows after it changed.
constexpr int kZoomNoticeMilliseconds = 1500;

// A key as this platform writes it.
QString keyText(const QKeySequence& key) {
  return key.toString(QKeySequence::NativeText);
}

// The keys that run Encrypt and Decrypt from anywhere in the window.
QString codingKeys() {
  return TmainForm::tr("%1 encrypts, %2 decrypts.")
      .arg(keyText(Qt::CTRL | Qt::Key_Return), keyText(Qt::CTRL | Qt::SHIFT | Qt::Key_Return));
}

// The boxes among the option controls of `pages`: line edits and spin
// edits, not the line edits inside spin edits.
QList<QWidget*> optionBoxes(const QWidget& pages) {
  QList<QWidget*> boxes;
  for (QWidget* widget : pages.findChildren<QWidget*>()) {
    const bool inSpinEdit = qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) != nullptr;
    if (qobject_cast<QAbstractSpinBox*>(widget) != nullptr ||
        (qobject_cast<QLineEdit*>(widget) != nullptr && !inSpinEdit))
      boxes.push_back(widget);
  }
  return boxes;
}

}  // namespace

void TmainForm::addLineBreakMenu() {
  auto* menu = new QMenu(tr("Line breaks"), this);
  menu->menuAction()->setObjectName(QStringLiteral("lineBreaks"));
  lineBreakChoices = new QActionGroup(this);
  for (const LineBreakChoice& choice : kLineBreakChoices) {
    QAction* action = menu->addAction(tr(choice.caption));
    action->setObjectName(QString::fromLatin1(nameOf(choice.lineBreak)));
    action->setCheckable(true);
    action->setData(static_cast<int>(choice.lineBreak));
    lineBreakChoices->addAction(action);
    connect(action, &QAction::triggered, this, [this, lineBreak = choice.lineBreak] {
      setLineBreak(lineBreak);
      QSettings().setValue(kLineBreakKey, QString::fromLatin1(nameOf(lineBreak)));
    });
  }
  ui->srcMemo->addMenuAction(menu->menuAction());
  ui->destMemo->addMenuAction(menu->menuAction());
  setLineBreak(LineBreak::crlf);
}

LineBreak TmainForm::lineBreak() const {
  return ui->srcMemo->lineBreak();
}

void TmainForm::setLineBreak(LineBreak lineBreak) {
  ui->srcMemo->setLineBreak(lineBreak);
  ui->destMemo->setLineBreak(lineBreak);
  for (QAction* action : lineBreakChoices->actions())
    action->setChecked(action->data().toInt() == static_cast<int>(lineBreak));
}

std::optional<LineBreak> TmainForm::savedLineBreak() {
  return lineBreakNamed(QSettings().value(kLineBreakKey).toString().toStdString());
}

void TmainForm::addResultNote() {
  resultNote = new QLabel(this);
  resultNote->setObjectName(QStringLiteral("resultNote"));
  resultNote->setWordWrap(true);
  resultNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
  resultNote->setAccessibleDescription(tr("What the result box does not show of the result"));
  resultNote->hide();
  outputBox = ui->destMemo->geometry();
  outputDescription = ui->destMemo->accessibleDescription();
}

void TmainForm::showResultNote(bool ran) {
  QString note;
  if (ran && !hiddenResult.empty()) {
    note = hiddenNote(hiddenResult.size());
  } else if (ran && ui->destMemo->text().empty()) {
    note = tr("The result is empty.");
  }
  if (note.isEmpty()) {
    resultNote->hide();
    ui->destMemo->setGeometry(outputBox);
    ui->destMemo->setAccessibleDescription(outputDescription);
    return;
  }
  // The name is what a screen reader reads, and its change is announced.
  resultNote->setText(note);
  resultNote->setAccessibleName(note);
  const int height = resultNote->heightForWidth(outputBox.width());
  resultNote->setGeometry(outputBox.left(), outputBox.bottom() + 1 - height, outputBox.width(),
                          height);
  ui->destMemo->setGeometry(outputBox.adjusted(0, 0, 0, -(height + kNoteGap)));
  ui->destMemo->setAccessibleDescription(QStringLiteral("%1. %2").arg(outputDescription, note));
  resultNote->show();
  resultNote->raise();
}

void TmainForm::addTips() {
  for (QRadioButton* radio : ui->optionPagina->findChildren<QRadioButton*>())
    radio->setToolTip(codingKeys());
  // The About button, the window's help, names every key, a line each.
  ui->aboutBut->setToolTip(
      tr("About Zembrax\n%1: Encrypt\n%2: Decrypt\n%3: open a file\n%4: save the whole result\n"
         "%5 or %6: the next page\n%7 or %8: the page before\n"
         "Ctrl+Plus, Ctrl+Minus, Ctrl+0 in a box: text size\n"
         "%9: Find key (What is this? on a page without it)\n")
          .arg(keyText(Qt::CTRL | Qt::Key_Return), keyText(Qt::CTRL | Qt::SHIFT | Qt::Key_Return),
               keyText(QKeySequence::Open), keyText(QKeySequence::Save),
               keyText(Qt::CTRL | Qt::Key_Tab), keyText(Qt::CTRL | Qt::Key_PageDown),
               keyText(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), keyText(Qt::CTRL | Qt::Key_PageUp),
               keyText(Qt::CTRL | Qt::Key_K)) +
      tr("%1: What is this?\n%2: use the result as input\n%3: stop the search (in the analysis "
         "window, close it once done)\n%4: between this window and the analysis window's list\n"
         "Enter or a double click in the list: apply the row chosen")
          .arg(keyText(Qt::CTRL | Qt::Key_I), keyText(Qt::CTRL | Qt::Key_U),
               keyText(Qt::Key_Escape), keyText(Qt::Key_F6)));
}

void TmainForm::addKeys() {
  // As in a dialog: Enter presses the focused button, as Space does.
  for (QPushButton* button : findChildren<QPushButton*>())
    button->setAutoDefault(true);
  for (QWidget* box : optionBoxes(*ui->optionPagina))
    setUpOptionBox(*box);
  addPageKeys(*ui->optionPagina, *this);
  ui->optionPagina->tabBar()->setToolTip(
      tr("%1 or %2 shows the next page, %3 or %4 the one before; a new page clears both boxes.")
          .arg(keyText(Qt::CTRL | Qt::Key_Tab), keyText(Qt::CTRL | Qt::Key_PageDown),
               keyText(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), keyText(Qt::CTRL | Qt::Key_PageUp)));
}

void TmainForm::setUpOptionBox(QWidget& box) {
  const QString keys =
      tr("Enter runs Encrypt, or Decrypt where Encrypt is off. %1").arg(codingKeys());
  box.setToolTip(box.toolTip().isEmpty() ? keys : box.toolTip() + QLatin1Char('\n') + keys);
  runOnEnter(box, [this] {
    QPushButton* run = ui->encodeBut->isEnabled() ? ui->encodeBut : ui->decodeBut;
    run->click();
  });
}

void TmainForm::showZoom(QWidget* memo, int percent) {
  QToolTip::showText(memo->mapToGlobal(QPoint(0, 0)), tr("Text size %1%").arg(percent), memo, {},
                     kZoomNoticeMilliseconds);
}
