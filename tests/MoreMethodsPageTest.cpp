#include "MoreMethodsPage.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "Methods.h"
#include "RandomText.h"
#include "WindowFixture.h"
#include "analysis/AnalysisForm.h"

namespace {

using namespace std::string_literals;

// The registry's methods that the page lists.
std::vector<const methods::Method*> listed() {
  std::vector<const methods::Method*> found;
  for (const methods::Method& method : methods::all()) {
    if (method.page == "moreMethodsPage") found.push_back(&method);
  }
  return found;
}

class MoreMethodsPageTest : public WindowFixture {
 public:
  void SetUp() override {
    QSettings().remove("analysisGeometry");
    WindowFixture::SetUp();
    showPage("moreMethodsPage");
  }

  MoreMethodsPage* page() { return control<MoreMethodsPage>("moreMethodsPage"); }
  QListWidget* list() { return control<QListWidget>("methodList"); }
  QLineEdit* filterBox() { return control<QLineEdit>("methodFilterBox"); }
  QPushButton* button(const char* name) { return control<QPushButton>(name); }

  void typeFilter(const QString& text) {
    QTest::mouseClick(filterBox(), Qt::LeftButton);
    QTest::keyClick(filterBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(filterBox(), Qt::Key_Backspace);
    QTest::keyClicks(filterBox(), text);
  }

  // Chooses the method of `caption` by a click on its row.
  void chooseMethod(const QString& caption) {
    const QList<QListWidgetItem*> rows = list()->findItems(caption, Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1) << caption.toStdString();
    ASSERT_FALSE(rows.front()->isHidden()) << caption.toStdString();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(rows.front()).center());
    ASSERT_EQ(page()->method()->caption, caption.toStdString());
  }

  void setInput(const std::string& bytes) {
    srcMemo()->selectAll();
    srcMemo()->insertBytes(bytes);
  }

  std::vector<QString> shownCaptions() {
    std::vector<QString> shown;
    for (int row = 0; row < list()->count(); ++row) {
      if (!list()->item(row)->isHidden()) shown.push_back(list()->item(row)->text());
    }
    return shown;
  }
};

struct CodingRow {
  const char* caption;
  const char* option;  // a check box to tick first, or null
  std::string input;
  const char* button;
  std::string result;
};

TEST_F(MoreMethodsPageTest, EncryptAndDecryptRunTheMethodChosenWithItsOptions) {
  form->setEncoding(text::Encoding::utf8);
  const std::vector<CodingRow> rows = {
      {"ROT47", nullptr, "Hello", "encodeBut", "w6==@"},
      {"ROT47", nullptr, "w6==@", "decodeBut", "Hello"},
      {"Atbash", nullptr, "Hello", "encodeBut", "Svool"},
      {"Trithemius", nullptr, "aaaa", "encodeBut", "abcd"},
      {"Trithemius", nullptr, "abcd", "decodeBut", "aaaa"},
      {"Base32", nullptr, "Hi", "encodeBut", "JBUQ===="},
      {"Base32", "no-paddingOption", "Hi", "encodeBut", "JBUQ"},
      {"Base32", nullptr, "jbuq", "decodeBut", "Hi"},
      {"Reversed", nullptr, "abc", "encodeBut", "cba"},
      {"Reversed", "charsOption", "\xC5\xBC\xC3\xB3\xC5\x82w", "encodeBut",
       "w\xC5\x82\xC3\xB3\xC5\xBC"},  // żółw by characters
      {"Keyboard shift", nullptr, "qwe", "encodeBut", "wer"},
      {"Keyboard shift", nullptr, "wer", "decodeBut", "qwe"},
  };
  for (const CodingRow& row : rows) {
    SCOPED_TRACE(std::string(row.caption) + " " + row.button + " " + row.input);
    typeFilter("");
    chooseMethod(row.caption);
    if (row.option != nullptr) control<QCheckBox>(row.option)->click();
    setInput(row.input);
    QTest::mouseClick(button(row.button), Qt::LeftButton);
    EXPECT_EQ(destMemo()->text(), row.result);
  }
}

TEST_F(MoreMethodsPageTest, EveryMethodListedRoundTripsRandomTextThroughItsButtons) {
  RandomText random;
  for (const methods::Method* method : listed()) {
    for (const methods::Sample& sample : method->samples()) {
      SCOPED_TRACE(methods::describe(*method, sample.settings));
      page()->choose(*method, sample.settings, form->encoding());
      ASSERT_EQ(page()->method(), method);
      EXPECT_EQ(button("encodeBut")->isEnabled(), methods::encodes(*method));
      EXPECT_EQ(button("decodeBut")->isEnabled(), methods::decodes(*method));
      methods::OwnCoders coders;
      for (int round = 0; round < 20; ++round) {
        const std::string text =
            random.bytes(1 + random.length(60), std::max(sample.lowest, 1), sample.highest);
        setInput(text);
        QTest::mouseClick(button("encodeBut"), Qt::LeftButton);
        // The controls give the settings that they were set to.
        const std::string coded =
            method->run(coders.all(), sample.settings, Direction::encode, text);
        ASSERT_EQ(destMemo()->text(), coded.substr(0, coded.find('\0')));
        setInput(destMemo()->text());
        QTest::mouseClick(
            button(methods::undoing(*method) == Direction::decode ? "decodeBut" : "encodeBut"),
            Qt::LeftButton);
        ASSERT_EQ(destMemo()->text(), text) << "round " << round;
      }
    }
  }
}

TEST_F(MoreMethodsPageTest, TheFilterListsOnlyMethodsWhoseCaptionOrSummaryHoldsIt) {
  ASSERT_EQ(static_cast<std::size_t>(list()->count()), listed().size());
  for (const char* typing : {"base", "BASE3", "qwerty", "undoes itself", "t", ""}) {
    const QString typed = QString::fromLatin1(typing);
    typeFilter(typed);
    std::vector<QString> wanted;
    for (const methods::Method* method : listed()) {
      const QString caption = QString::fromUtf8(method->caption);
      if (caption.contains(typed, Qt::CaseInsensitive) ||
          QString::fromUtf8(method->summary).contains(typed, Qt::CaseInsensitive))
        wanted.push_back(caption);
    }
    std::vector<QString> shown = shownCaptions();
    std::sort(wanted.begin(), wanted.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, wanted) << typed.toStdString();
    // A method shown stays chosen, and one is chosen whenever any shows.
    ASSERT_NE(page()->method(), nullptr) << typed.toStdString();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), QString::fromUtf8(page()->method()->caption)),
              1);
  }
  typeFilter("base3");
  EXPECT_EQ(shownCaptions(), std::vector<QString>{"Base32"});
  EXPECT_EQ(page()->method()->name, "base32");
  setInput("Hi");
  QTest::keyClick(filterBox(), Qt::Key_Return);  // Enter there runs Encrypt, as in a box
  EXPECT_EQ(destMemo()->text(), "JBUQ====");

  // Where nothing matches, nothing is chosen and nothing runs.
  typeFilter("no such method");
  EXPECT_TRUE(shownCaptions().empty());
  EXPECT_EQ(page()->method(), nullptr);
  EXPECT_FALSE(button("encodeBut")->isEnabled());
  EXPECT_FALSE(button("decodeBut")->isEnabled());
  typeFilter("atb");
  EXPECT_EQ(page()->method()->name, "atbash");
  EXPECT_TRUE(button("encodeBut")->isEnabled());
}

TEST_F(MoreMethodsPageTest, OptionControlsComeFromTheRegistryWithTheirHelp) {
  for (const methods::Method* method : listed()) {
    page()->choose(*method, {}, form->encoding());
    for (const methods::Option& option : method->options) {
      const std::string name = std::string(option.name) + "Option";
      auto* made = control<QWidget>(name.c_str());
      ASSERT_NE(made, nullptr);
      EXPECT_TRUE(made->toolTip().startsWith(QString::fromUtf8(option.help))) << name;
      QAccessibleInterface* read = QAccessible::queryAccessibleInterface(made);
      EXPECT_FALSE(read->text(QAccessible::Name).isEmpty()) << name;
      EXPECT_EQ(read->text(QAccessible::Description), QString::fromUtf8(option.help)) << name;
      EXPECT_EQ(made->inherits("QCheckBox"), option.kind == methods::OptionKind::flag) << name;
    }
  }
  // Another method's controls go with it; Tab reaches them from the list.
  page()->choose(methods::methodNamed("reverse"), {{"chars", true}}, form->encoding());
  EXPECT_TRUE(control<QCheckBox>("charsOption")->isChecked());
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  ASSERT_TRUE(QTest::qWaitFor([this] { return control<QCheckBox>("charsOption")->isVisible(); }));
  list()->setFocus();
  QTest::keyClick(list(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), control<QCheckBox>("charsOption"));
  page()->choose(methods::methodNamed("atbash"), {}, form->encoding());
  EXPECT_EQ(form->findChild<QCheckBox*>("charsOption"), nullptr);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), "Methods");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(filterBox())->text(QAccessible::Name),
            "Filter methods");
}

// A method of every kind of option, for a page of its own: a number of
// some values that may be left out, any number that must be given, a
// required text and a flag.
constexpr std::int32_t kSizes[] = {8, 5, 6};
constexpr methods::Option kEveryKind[] = {
    {"size", methods::OptionKind::integer, "N", "the size, 5, 6 or 8", false, "", kSizes},
    {"count", methods::OptionKind::integer, "N", "any count", true},
    {"key", methods::OptionKind::text, "KEY", "the key", true},
    {"upper", methods::OptionKind::flag, "", "in capitals"},
};
const methods::Method kEveryKindMethod = {.name = "every",
                                          .caption = "Every kind",
                                          .page = "moreMethodsPage",
                                          .summary = "Has an option of every kind",
                                          .example = "",
                                          .ways = methods::Ways::sameCall,
                                          .options = kEveryKind,
                                          .run = [](methods::Coders, const methods::Settings&,
                                                    Direction, std::string text) { return text; },
                                          .stream = nullptr};

TEST(MoreMethodsPageOptions, ReadAndSetEveryKindOfOption) {
  MoreMethodsPage page({&kEveryKindMethod});
  page.show();
  ASSERT_EQ(page.method(), &kEveryKindMethod);
  const auto bytes = [](QLineEdit* box) { return box->text().toStdString(); };
  auto* size = page.findChild<QSpinBox*>("sizeOption");
  auto* sizeGiven = page.findChild<QCheckBox*>("sizeGiven");
  auto* count = page.findChild<QSpinBox*>("countOption");
  auto* key = page.findChild<QLineEdit*>("keyOption");
  auto* upper = page.findChild<QCheckBox*>("upperOption");
  ASSERT_TRUE(size && sizeGiven && count && key && upper);
  EXPECT_EQ(count->minimum(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(count->maximum(), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(key->placeholderText(), "KEY");

  // The required text is missing; the number that may be left out is.
  EXPECT_TRUE(page.missing());
  EXPECT_FALSE(size->isEnabled());
  key->setText("abc");
  EXPECT_FALSE(page.missing());
  EXPECT_EQ(page.settings(bytes), (methods::Settings{{"count", 0}, {"key", "abc"s}}));

  // The size keeps to its choices, moving on past a value between two.
  sizeGiven->setChecked(true);
  EXPECT_TRUE(size->isEnabled());
  EXPECT_EQ(size->value(), 5);
  const std::vector<std::pair<int, int>> steps = {{1, 6}, {1, 8}, {-1, 6}, {-1, 5}, {1, 6}};
  for (const auto& [by, value] : steps) {
    size->stepBy(by);
    EXPECT_EQ(size->value(), value) << by;
  }
  size->setValue(7);
  EXPECT_EQ(size->value(), 8);
  count->setValue(-40);
  upper->setChecked(true);
  EXPECT_EQ(page.settings(bytes),
            (methods::Settings{{"size", 8}, {"count", -40}, {"key", "abc"s}, {"upper", true}}));

  // Settings set the controls back, and what they leave out is left out.
  for (const methods::Settings& set :
       {methods::Settings{{"size", 6}, {"count", 3}, {"key", "k"s}},
        methods::Settings{{"count", 7}, {"key", "xy"s}, {"upper", true}}}) {
    page.choose(kEveryKindMethod, set, text::Encoding::utf8);
    EXPECT_EQ(page.settings(bytes), set);
  }
}

TEST_F(MoreMethodsPageTest, PageChangeClearsBothBoxesAsOneUndoableEdit) {
  showPage("base64Page");
  setInput("text");
  destMemo()->setText("result");
  showPage("moreMethodsPage");
  EXPECT_TRUE(srcMemo()->text().empty());
  EXPECT_TRUE(destMemo()->text().empty());
  srcMemo()->undo();
  EXPECT_EQ(srcMemo()->text(), "text");
  // Find key is the page's one button, with its name and its key.
  QPushButton* findKey = control<QWidget>("moreMethodsPage")->findChild<QPushButton*>();
  ASSERT_NE(findKey, nullptr);
  EXPECT_EQ(findKey->objectName(), "moreFindKeyBut");
  EXPECT_EQ(findKey->accessibleName(), "Find key");
  EXPECT_TRUE(findKey->toolTip().contains("Ctrl+K"));
}

TEST_F(MoreMethodsPageTest, WhatIsThisOnBase32AppliesItOnThisPage) {
  std::ifstream in(ZEMBRAX_CORPUS "/en.txt", std::ios::binary);
  const std::string plain = std::string{std::istreambuf_iterator<char>(in), {}}.substr(0, 1200);
  methods::OwnCoders coders;
  const std::string input =
      methods::methodNamed("base32").run(coders.all(), {}, Direction::encode, plain);
  typeFilter("rot");  // a filter that hides Base32
  showPage("URLPage");
  setInput(input);
  form->whatIsThisClick();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !form->analysisRunning(); }, 60000));
  auto* candidates = control<QTreeWidget>("candidateList");
  ASSERT_GE(candidates->topLevelItemCount(), 1);
  EXPECT_EQ(candidates->topLevelItem(0)->text(0), "Base32");

  QTest::mouseClick(control<QPushButton>("applyBut"), Qt::LeftButton);
  EXPECT_EQ(pages()->currentWidget()->objectName(), "moreMethodsPage");
  EXPECT_EQ(page()->method()->name, "base32");
  EXPECT_TRUE(filterBox()->text().isEmpty());
  EXPECT_EQ(destMemo()->text(), plain);
  EXPECT_EQ(srcMemo()->text(), input);
  // The page's own Decrypt gives the result shown.
  destMemo()->clear();
  QTest::mouseClick(button("decodeBut"), Qt::LeftButton);
  EXPECT_EQ(destMemo()->text(), plain);
}

// Find key and its list, on a text that a method of the page made with
// some settings.
struct SettingsRow {
  const char* caption;
  methods::Settings settings;
  Direction made;
  QString best;                                     // the first row of the list
  std::function<void(MoreMethodsPageTest&)> check;  // the controls after Apply
  bool byKey;                                       // asked by Ctrl+K rather than by the button
};

TEST_F(MoreMethodsPageTest, FindKeyTriesEverySettingAndAppliesTheOneChosen) {
  const std::string plain =
      "The potter shaped seven bowls before noon, then walked down to the harbour to watch "
      "the fishing boats come back with their nets full of silver mackerel.";
  using T = MoreMethodsPageTest;
  const std::vector<SettingsRow> rows = {
      {"Keyboard shift", {}, Direction::encode, "Keyboard shift (Decrypt)", [](T&) {}, false},
      {"Bacon",
       {{"letters", 26}},
       Direction::encode,
       "Bacon, 26 letters",
       [](T& t) {
         EXPECT_TRUE(t.control<QCheckBox>("lettersGiven")->isChecked());
         EXPECT_EQ(t.control<QSpinBox>("lettersOption")->value(), 26);
         EXPECT_FALSE(t.control<QCheckBox>("digitsOption")->isChecked());
       },
       true},
  };
  for (const SettingsRow& row : rows) {
    SCOPED_TRACE(row.caption);
    chooseMethod(row.caption);
    const methods::Method& method = *page()->method();
    methods::OwnCoders coders;
    const std::string input = method.run(coders.all(), row.settings, row.made, plain);
    setInput(input);
    ASSERT_TRUE(button("moreFindKeyBut")->isEnabled());
    if (row.byKey) {
      QApplication::setActiveWindow(form.get());
      QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    } else {
      QTest::mouseClick(button("moreFindKeyBut"), Qt::LeftButton);
    }
    ASSERT_TRUE(form->analysisRunning());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->analysisRunning(); }, 60000));
    auto* candidates = control<QTreeWidget>("candidateList");
    ASSERT_GE(candidates->topLevelItemCount(), 2);
    EXPECT_EQ(form->findChild<TanalysisForm*>()->heading(),
              QStringLiteral("Settings of %1, best first").arg(row.caption));
    EXPECT_EQ(candidates->topLevelItem(0)->text(0), row.best);
    const std::string undone =
        method.run(coders.all(), row.settings,
                   row.made == Direction::encode ? Direction::decode : Direction::encode, input);
    // The best is applied at once.
    EXPECT_EQ(destMemo()->text(), undone);
    // A runner-up, applied, runs with its settings; the first again gives
    // the first's result.
    destMemo()->clear();
    form->findChild<TanalysisForm*>()->chooseRow(1);
    QTest::mouseClick(button("applyBut"), Qt::LeftButton);
    EXPECT_NE(destMemo()->text(), undone);
    form->findChild<TanalysisForm*>()->chooseRow(0);
    QTest::mouseClick(button("applyBut"), Qt::LeftButton);
    row.check(*this);
    EXPECT_EQ(destMemo()->text(), undone);
    EXPECT_EQ(srcMemo()->text(), input);
    // The page's own button gives the same.
    destMemo()->clear();
    QTest::mouseClick(button(row.made == Direction::encode ? "decodeBut" : "encodeBut"),
                      Qt::LeftButton);
    EXPECT_EQ(destMemo()->text(), undone);
    // A changed input greys the answer out.
    setInput(input + " ");
    EXPECT_EQ(control<QLabel>("staleLabel")->text(), "The input has changed: Find key again");
  }
}

}  // namespace
