// What the main window offers a newcomer beyond the controls' own events:
// the choice of line breaks.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>

#include <array>

#include "Interface.h"
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
