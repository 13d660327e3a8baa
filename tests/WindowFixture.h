#ifndef ZEMBRAX_TESTS_WINDOWFIXTURE_H_
#define ZEMBRAX_TESTS_WINDOWFIXTURE_H_

#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "Interface.h"
#include "Memo.h"

// A main window shown for each test, and its controls found by object name.
// The name that the program gives itself in its messages: its file's.
#ifdef _WIN32
inline const QString kProgramName = QStringLiteral("zembrax.exe");
#else
inline const QString kProgramName = QStringLiteral("zembrax");
#endif

class WindowFixture : public testing::Test {
 public:
  void SetUp() override {
    form = std::make_unique<TmainForm>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  // The window's control named `name`; a failure when there is none.
  template <typename Control>
  Control* control(const char* name) {
    auto* found = form->findChild<Control*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  TMemo* srcMemo() { return control<TMemo>("srcMemo"); }
  TMemo* destMemo() { return control<TMemo>("destMemo"); }
  QTabWidget* pages() { return control<QTabWidget>("optionPagina"); }
  void showPage(const char* page) { pages()->setCurrentWidget(control<QWidget>(page)); }

  std::unique_ptr<TmainForm> form;
};

#endif  // ZEMBRAX_TESTS_WINDOWFIXTURE_H_
