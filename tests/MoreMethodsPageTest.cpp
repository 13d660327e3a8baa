#include "MoreMethodsPage.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Methods.h"
#include "RandomText.h"
#include "WindowFixture.h"
#include "analysis/AnalysisForm.h"

namespace {

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
  // Another method's controls go with it.
  page()->choose(methods::methodNamed("reverse"), {{"chars", true}}, form->encoding());
  EXPECT_TRUE(control<QCheckBox>("charsOption")->isChecked());
  page()->choose(methods::methodNamed("atbash"), {}, form->encoding());
  EXPECT_EQ(form->findChild<QCheckBox*>("charsOption"), nullptr);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), "Methods");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(filterBox())->text(QAccessible::Name),
            "Filter methods");
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
  // Find key is not offered where no method listed has a cracker: its key
  // asks What is this? instead.
  EXPECT_EQ(control<QWidget>("moreMethodsPage")->findChild<QPushButton*>(), nullptr);
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

}  // namespace
