#include "Interface.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSaveFile>
#include <QSettings>
#include <QTabBar>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "Aboutmsg.h"
#include "BoxText.h"
#include "Exceptions.h"
#include "Memo.h"
#include "MoreMethodsPage.h"
#include "Platform.h"
#include "Screen.h"
#include "analysis/AnalysisController.h"
#include "ui_Interface.h"

TmainForm* mainForm = nullptr;

namespace {

// The encodings as the boxes' menus offer them.
struct EncodingChoice {
  text::Encoding encoding;
  const char* caption;
};
constexpr std::array<EncodingChoice, text::kEncodings.size()> kEncodingChoices = {{
    {text::Encoding::utf8, QT_TRANSLATE_NOOP("TmainForm", "UTF-8")},
    {text::Encoding::windows874, QT_TRANSLATE_NOOP("TmainForm", "Windows-874 (Thai)")},
    {text::Encoding::windows1250,
     QT_TRANSLATE_NOOP("TmainForm", "Windows-1250 (Central European)")},
    {text::Encoding::windows1251, QT_TRANSLATE_NOOP("TmainForm", "Windows-1251 (Cyrillic)")},
    {text::Encoding::windows1252, QT_TRANSLATE_NOOP("TmainForm", "Windows-1252 (Western)")},
    {text::Encoding::windows1253, QT_TRANSLATE_NOOP("TmainForm", "Windows-1253 (Greek)")},
    {text::Encoding::windows1254, QT_TRANSLATE_NOOP("TmainForm", "Windows-1254 (Turkish)")},
    {text::Encoding::windows1255, QT_TRANSLATE_NOOP("TmainForm", "Windows-1255 (Hebrew)")},
    {text::Encoding::windows1256, QT_TRANSLATE_NOOP("TmainForm", "Windows-1256 (Arabic)")},
    {text::Encoding::windows1257, QT_TRANSLATE_NOOP("TmainForm", "Windows-1257 (Baltic)")},
    {text::Encoding::windows1258, QT_TRANSLATE_NOOP("TmainForm", "Windows-1258 (Vietnamese)")},
}};

// Where the boxes' encoding and text size are remembered between runs.
constexpr char kEncodingKey[] = "textEncoding";
constexpr char kZoomKey[] = "textZoom";
// The text size, in percent of the window's font, goes by steps up to a
// limit; the boxes know how small it may go.
constexpr int kZoomStep = 10;
constexpr int kLargestZoom = 400;

// Tabs with little room beside their captions, so that the captions of all
// pages fit the window's width at once, without scroll arrows.
class CompactTabs : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

TmainForm::TmainForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TmainForm>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(490, 470);
  centreOnScreen(*this);
  auto* tabStyle = new CompactTabs;
  tabStyle->setParent(ui->optionPagina->tabBar());
  ui->optionPagina->tabBar()->setStyle(tabStyle);

  const auto handler = [this](void (TmainForm::*handle)(), const char* doing = "go on") {
    return [this, handle, doing] { deliverEvent([this, handle] { (this->*handle)(); }, doing); };
  };
  connect(ui->encodeBut, &QPushButton::clicked, this,
          handler(&TmainForm::encodeButClick, QT_TR_NOOP("encrypt")));
  connect(ui->decodeBut, &QPushButton::clicked, this,
          handler(&TmainForm::decodeButClick, QT_TR_NOOP("decrypt")));
  connect(ui->aboutBut, &QPushButton::clicked, this, handler(&TmainForm::aboutButClick));
  connect(ui->optionPagina, &QTabWidget::currentChanged, this,
          handler(&TmainForm::optionPaginaChange));
  connect(ui->RadioButton1, &QRadioButton::clicked, this, handler(&TmainForm::RadioButton1Click));
  connect(ui->RadioButton2, &QRadioButton::clicked, this, handler(&TmainForm::RadioButton2Click));

  // Keys for the buttons, honouring whether they are enabled.
  const auto pressWith = [this](QPushButton* button, const QList<QKeySequence>& keys) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    addAction(action);
    connect(action, &QAction::triggered, button, [button] {
      if (button->isEnabled()) button->click();
    });
    button->setToolTip(QStringLiteral("%1 (%2)").arg(
        button->text(), keys.front().toString(QKeySequence::NativeText)));
  };
  pressWith(ui->encodeBut,
            {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  pressWith(ui->decodeBut, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter)});

  // Files in and out: the boxes' menus, keys, and files dropped on the input.
  chooseFile = [this](bool saving) {
    return saving ? QFileDialog::getSaveFileName(this, tr("Save result as"))
                  : QFileDialog::getOpenFileName(this, tr("Open file"));
  };
  const auto fileAction = [this](const QString& text, QKeySequence::StandardKey key, bool saving) {
    auto* action = new QAction(text, this);
    action->setObjectName(saving ? QStringLiteral("saveResult") : QStringLiteral("openFile"));
    action->setShortcut(key);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, saving] {
      const QString path = chooseFile(saving);
      if (path.isEmpty()) return;
      if (saving) {
        saveResult(path);
      } else {
        openFile(path);
      }
    });
    return action;
  };
  ui->srcMemo->addMenuAction(fileAction(tr("Open file\u2026"), QKeySequence::Open, false));
  ui->destMemo->addMenuAction(fileAction(tr("Save result as\u2026"), QKeySequence::Save, true));
  connect(ui->srcMemo, &TMemo::fileDropped, this, &TmainForm::openFile);

  // The text encoding, chosen in either box's menu and remembered.
  auto* encodingMenu = new QMenu(tr("Text encoding"), this);
  encodingMenu->menuAction()->setObjectName(QStringLiteral("textEncoding"));
  encodingChoices = new QActionGroup(this);
  for (const EncodingChoice& choice : kEncodingChoices) {
    QAction* action = encodingMenu->addAction(tr(choice.caption));
    action->setObjectName(QString::fromLatin1(text::nameOf(choice.encoding)));
    action->setCheckable(true);
    action->setData(static_cast<int>(choice.encoding));
    encodingChoices->addAction(action);
    connect(action, &QAction::triggered, this, [this, encoding = choice.encoding] {
      deliverEvent(
          [this, encoding] {
            setEncoding(encoding);
            QSettings().setValue(kEncodingKey, QString::fromLatin1(text::nameOf(encoding)));
          },
          QT_TR_NOOP("change the text encoding"));
    });
  }
  ui->srcMemo->addMenuAction(encodingMenu->menuAction());
  ui->destMemo->addMenuAction(encodingMenu->menuAction());
  setEncoding(textEncoding);
  addLineBreakMenu();
  addResultNote();
  setUpAnalysis();
  addTips();
  addKeys();
  // The page of further methods makes its option controls as a method is
  // chosen there.
  connect(ui->moreMethodsPage, &MoreMethodsPage::methodChosen, this, &TmainForm::offerButtons);
  connect(ui->moreMethodsPage, &MoreMethodsPage::optionBoxMade, this,
          [this](QWidget* box) { setUpOptionBox(*box); });

  // Both boxes' text grows and shrinks together, and keeps its size.
  // It stops where it would grow unreadably small.
  const auto withinLimits = [this](int percent) {
    const int smallest = ui->srcMemo->smallestZoom();
    return std::clamp(percent, smallest, std::max(smallest, kLargestZoom));
  };
  for (TMemo* memo : {ui->srcMemo, ui->destMemo})
    connect(memo, &TMemo::zoomRequested, this, [this, memo, withinLimits](int step) {
      const int percent = withinLimits(step == 0 ? 100 : ui->srcMemo->zoom() + step * kZoomStep);
      zoomText(percent);
      QSettings().setValue(kZoomKey, percent);
      showZoom(memo, percent);
    });
  zoomText(withinLimits(QSettings().value(kZoomKey, 100).toInt()));
}

void TmainForm::zoomText(int percent) {
  ui->srcMemo->setZoom(percent);
  ui->destMemo->setZoom(percent);
  analysisControl->setChartZoom(percent);
}

void TmainForm::setEncoding(text::Encoding encoding) {
  textEncoding = encoding;
  ui->srcMemo->setEncoding(encoding);
  ui->destMemo->setEncoding(encoding);
  for (QAction* action : encodingChoices->actions())
    action->setChecked(action->data().toInt() == static_cast<int>(encoding));
}

std::optional<text::Encoding> TmainForm::savedEncoding() {
  return text::encodingNamed(QSettings().value(kEncodingKey).toString().toStdString());
}

std::string TmainForm::optionBytes(QLineEdit* box) const {
  const text::Encoded encoded = toBytes(box->text(), textEncoding);
  if (encoded.lost > 0) showLossNotice(box, box->rect().bottomLeft(), encoded.lost, textEncoding);
  return encoded.bytes;
}

TmainForm::~TmainForm() = default;

void TmainForm::processInput(Direction direction, int pageIndex) {
  const pages::MethodPage* row = rowOf(ui->optionPagina->widget(pageIndex));
  if (row == nullptr) return;
  const pages::Controls controls = pageControls();
  if (ui->srcMemo->text().empty() || (row->missing != nullptr && row->missing(controls))) {
    hiddenResult.clear();
    ui->destMemo->setText("Insufficient input...");
    showResultNote(false);
    return;
  }
  const std::optional<pages::Request> request = pages::read(*row, controls);
  if (!request) return;
  std::string text = inputText();
  if (row->oneWay) direction = Direction::encode;
  // The page's hexadecimal Decrypt keeps its notice; only the command line
  // and the analysis read hexadecimal.
  std::string result = request->method->name == "hex" && direction == Direction::decode
                           ? charCoder.fromHex(std::move(text))
                           : request->method->run({classicCoder, charCoder, signalCoder},
                                                  request->settings, direction, std::move(text));
  showResult(std::move(result));
}

const pages::MethodPage* TmainForm::rowOf(const QWidget* page) const {
  return page != nullptr ? pages::named(page->objectName().toStdString()) : nullptr;
}

pages::Controls TmainForm::pageControls() {
  return {*ui, textEncoding, [this](QLineEdit* box) { return optionBytes(box); }, charCoder};
}

std::size_t TmainForm::inputLength() const {
  // The coders read a text only up to a zero byte, which a paste can bring.
  return std::min(ui->srcMemo->text().find('\0'), ui->srcMemo->text().size());
}

std::string TmainForm::inputText() const {
  return ui->srcMemo->text().substr(0, inputLength());
}

void TmainForm::showResult(std::string result) {
  // The box shows a result up to its first zero byte. What may fail for
  // want of memory comes first, so that a failure leaves both as they were.
  const std::size_t shown = std::min(result.size(), result.find('\0'));
  std::string hidden = result.substr(shown);
  result.resize(shown);
  ui->destMemo->setText(std::move(result));
  hiddenResult = std::move(hidden);
  showResultNote(true);
}

bool TmainForm::openFile(const QString& path) {
  QFile file;
  if (const auto refusal = platform::openRegularFile(path, file)) {
    refuseFile(refusal->doing, path, refusal->reason);
    return false;
  }
  const auto tooLarge = [this, &path] {
    refuseFile("open", path,
               tr("it is larger than %1 MiB; zembrax-cli codes files of any size")
                   .arg(kLargestFile >> 20));
    return false;
  };
  if (file.size() > kLargestFile) return tooLarge();
  try {
    // A file may grow while it is read: no more than the limit and a byte.
    QByteArray bytes = file.read(std::min(file.size(), kLargestFile) + 1);
    while (!file.atEnd() && bytes.size() <= kLargestFile && file.error() == QFileDevice::NoError)
      bytes += file.read(std::min<qint64>(qint64{1} << 20, kLargestFile + 1 - bytes.size()));
    if (file.error() != QFileDevice::NoError) {
      refuseFile("read", path, file.errorString());
      return false;
    }
    if (bytes.size() > kLargestFile) return tooLarge();
    // A file of UTF-8 text is read as text in the boxes' encoding; any other
    // file gives its bytes as they are. Either keeps its line breaks.
    const qsizetype zero = bytes.indexOf('\0');
    std::string opened(bytes.constData(), static_cast<std::size_t>(zero < 0 ? bytes.size() : zero));
    std::size_t lost = 0;
    if (textEncoding != text::Encoding::utf8 && text::isUtf8(opened)) {
      text::Encoded encoded = text::fromUtf8(opened, textEncoding);
      opened = std::move(encoded.bytes);
      lost = encoded.lost;
    }
    ui->srcMemo->selectAll();
    ui->srcMemo->insertBytes(opened);
    if (lost > 0) showLossNotice(ui->srcMemo, {}, lost, textEncoding);
  } catch (const std::bad_alloc&) {
    showOutOfMemory(this, QT_TR_NOOP("open the file"));
    return false;
  }
  return true;
}

bool TmainForm::saveResult(const QString& path) {
  QSaveFile file(path);
  const std::string& shown = ui->destMemo->text();
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(shown.data(), static_cast<qint64>(shown.size())) ==
                         static_cast<qint64>(shown.size()) &&
                     file.write(hiddenResult.data(), static_cast<qint64>(hiddenResult.size())) ==
                         static_cast<qint64>(hiddenResult.size()) &&
                     file.commit();
  if (!saved) refuseFile("write", path, file.errorString());
  return saved;
}

void TmainForm::refuseFile(const char* doing, const QString& path, const QString& reason) {
  QMessageBox::warning(this, QCoreApplication::applicationName(),
                       tr("Cannot %1 \"%2\": %3").arg(QString::fromLatin1(doing), path, reason));
}

void TmainForm::encodeButClick() {
  processInput(Direction::encode, ui->optionPagina->currentIndex());
}

void TmainForm::decodeButClick() {
  processInput(Direction::decode, ui->optionPagina->currentIndex());
}

void TmainForm::optionPaginaChange() {
  hiddenResult.clear();
  showResultNote(false);
  ui->destMemo->clear();
  // One edit, which Undo takes back on the new page.
  if (!ui->srcMemo->text().empty()) {
    ui->srcMemo->selectAll();
    ui->srcMemo->deleteSelection();
  }
  ui->srcMemo->setFocus(Qt::OtherFocusReason);
  offerButtons();
}

void TmainForm::offerButtons() {
  const pages::MethodPage* row = rowOf(ui->optionPagina->currentWidget());
  const pages::Buttons offered =
      row != nullptr ? pages::buttons(*row, pageControls()) : pages::Buttons{};
  ui->encodeBut->setEnabled(offered.encrypt);
  ui->decodeBut->setEnabled(offered.decrypt);
  if (QPushButton* findKey = findKeyButton()) findKey->setEnabled(offered.findKey);
}

void TmainForm::RadioButton1Click() {
  charCoder.setBitWidth(8);
}

void TmainForm::RadioButton2Click() {
  charCoder.setBitWidth(7);
}

void TmainForm::aboutButClick() {
  if (aboutForm != nullptr) aboutForm->exec();
}
