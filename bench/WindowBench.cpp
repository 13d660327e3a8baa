// Times the main window as a user meets it: a paste into the input box, a
// click on Encrypt until the result is painted, Ctrl+A Ctrl+C of the result,
// a page change with both boxes full and a keystroke in a long input, for
// English text in Windows-1252 and text of many scripts in UTF-8. Prints
// each figure beside its target, then the time to open and encrypt a 64 MiB
// file, and the analysis (Find key, What is this?). With --memory, instead
// pastes 16 MiB of lines, encrypts them to binary and prints the program's
// peak memory; with --analysis, times the analysis only.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BoxText.h"
#include "Interface.h"
#include "Memo.h"
#include "WindowAnalysisBench.h"

namespace {

constexpr std::size_t KiB = 1024;
constexpr std::size_t MiB = 1024 * KiB;

struct PageCase {
  const char* name;
  int page;
  const char* radio;  // the base on the ASCII page, or nothing
};

const std::vector<PageCase> kPages = {
    {"Caesar", 0, nullptr},
    {"Base64", 2, nullptr},
    {"URL", 4, nullptr},
    {"ASCII binary", 6, "bitBinRadio"},
    {"ASCII decimal", 6, "bitDecRadio"},
    {"ASCII hex", 6, "bitHexRadio"},
    {"Morse", 7, nullptr},
};

const std::vector<std::size_t> kSizes = {10 * KiB, 100 * KiB, 1 * MiB, 16 * MiB};

// The texts the window is timed with: English words in Windows-1252, or
// words of many scripts in UTF-8.
struct TextCase {
  const char* name;
  text::Encoding encoding;
  std::vector<std::string> words;
};

const std::vector<TextCase> kTexts = {
    {"Windows-1252",
     text::Encoding::windows1252,
     {"the",    "quick", "brown", "fox",  "jumps", "over",  "lazy", "dog,", "Zembrax",
      "codes",  "text",  "with",  "nine", "old",   "ways.", "1984", "and",  "more;",
      "cipher", "key",   "LUX",   "(a)",  "b-c",   "yes!",  "no?",  "42%",  "end."}},
    {"UTF-8 mixed",
     text::Encoding::utf8,
     {"the",  "quick",  "fox", "Zażółć", "gęślą", "jaźń", "Привет,", "мир",  "Γειά", "σου",
      "你好", "世界。", "😀",   "🎉!",     "שלום",  "عالم", "naïve",   "café", "1984", "end."}},
};

// Printable words and punctuation, with a CR LF about every 70 bytes when
// `lines`, otherwise as one line.
std::string sampleText(std::size_t size, bool lines, const TextCase& language = kTexts[0]) {
  const std::vector<std::string>& words = language.words;
  std::mt19937 random(7);
  std::string text;
  text.reserve(size + 16);
  std::size_t lineLength = 0;
  while (text.size() < size) {
    const std::string& word = words[random() % words.size()];
    text += word;
    lineLength += word.size();
    if (lines && lineLength > 64) {
      text += "\r\n";
      lineLength = 0;
    } else {
      text += ' ';
      ++lineLength;
    }
  }
  // Not in the middle of a character.
  while (text.size() > size)
    text.resize(text::previousCharacter(text, text.size(), language.encoding));
  return text;
}

void settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// Milliseconds that `action` takes until the window has painted what it did.
double timeToPainted(QWidget& window, const std::function<void()>& action) {
  settle();
  QElapsedTimer timer;
  timer.start();
  action();
  settle();
  window.grab();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

class Window {
 public:
  explicit Window(text::Encoding encoding = text::Encoding::windows1252) {
    form.setEncoding(encoding);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "the window did not show\n");
  }

  template <typename Control>
  Control* control(const char* name) {
    return form.findChild<Control*>(name);
  }

  void choose(const PageCase& page) {
    control<QTabWidget>("optionPagina")->setCurrentIndex(page.page);
    if (page.radio != nullptr) control<QRadioButton>(page.radio)->setChecked(true);
  }

  // A paste from the clipboard, which already holds `text`.
  double paste() {
    TMemo* input = control<TMemo>("srcMemo");
    input->setFocus();
    return timeToPainted(form, [input] {
      QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    });
  }

  double encrypt() {
    return timeToPainted(form, [this] { control<QPushButton>("encodeBut")->click(); });
  }

  double copyResult() {
    TMemo* output = control<TMemo>("destMemo");
    output->setFocus();
    return timeToPainted(form, [output] {
      QTest::keyClick(output, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(output, Qt::Key_C, Qt::ControlModifier);
    });
  }

  double changePage(int page) {
    return timeToPainted(
        form, [this, page] { control<QTabWidget>("optionPagina")->setCurrentIndex(page); });
  }

  double keystroke() {
    TMemo* input = control<TMemo>("srcMemo");
    input->setFocus();
    QTest::keyClick(input, Qt::Key_Home, Qt::ControlModifier);
    return timeToPainted(form, [input] { QTest::keyClick(input, Qt::Key_X); });
  }

  TmainForm form;
};

std::string sizeName(std::size_t size) {
  return size >= MiB ? std::to_string(size / MiB) + " MiB" : std::to_string(size / KiB) + " KiB";
}

constexpr int kLabelWidth = 38;

void printRow(const std::string& label, const std::vector<double>& figures,
              const std::vector<double>& targets) {
  std::printf("%-*s", kLabelWidth, label.c_str());
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const bool over = targets[i] > 0 && figures[i] > targets[i];
    std::printf(" %9.1f%s", figures[i], over ? "!" : " ");
  }
  std::printf("\n");
}

void printHeader(const char* title, const std::vector<double>& targets) {
  std::printf("\n%s, ms (! over target)\n%-*s", title, kLabelWidth, "page, shape, encoding");
  for (std::size_t size : kSizes)
    std::printf(" %10s", sizeName(size).c_str());
  std::printf("\n%-*s", kLabelWidth, "target");
  for (double target : targets) {
    if (target > 0) {
      std::printf(" %10.0f", target);
    } else {
      std::printf(" %10s", "-");
    }
  }
  std::printf("\n");
}

long peakKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Opens a 64 MiB file of lines into the input box and encrypts it on the
// Caesar page, each until painted.
void measureLargeFile() {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("large.txt"));
  QFile file(path);
  const std::string text = sampleText(64 * MiB, true);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size())) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return;
  }
  file.close();
  Window window;
  window.choose(kPages[0]);
  const double opened = timeToPainted(window.form, [&] { window.form.openFile(path); });
  const double encrypted = window.encrypt();
  std::printf("\nA 64 MiB file of lines: opened in %.0f ms, encrypted (Caesar) in %.0f ms\n",
              opened, encrypted);
}

int measureMemory() {
  const std::string text = sampleText(16 * MiB, true);
  QApplication::clipboard()->setText(fromBytes(text, text::Encoding::windows1252));
  Window window;
  window.choose(kPages[3]);  // ASCII binary
  window.paste();
  window.encrypt();
  const double input = static_cast<double>(window.control<TMemo>("srcMemo")->text().size());
  const double result = static_cast<double>(window.control<TMemo>("destMemo")->text().size());
  const double limit = 3 * (input + result) + 150.0 * MiB;
  const double peak = static_cast<double>(peakKiB()) * KiB;
  std::printf(
      "\nPeak memory, 16 MiB of lines encrypted to binary: %.0f MiB (target %.0f MiB: "
      "3 x (%.0f + %.0f) + 150)%s\n",
      peak / MiB, limit / MiB, input / MiB, result / MiB, peak > limit ? " over" : "");
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Qt's offscreen platform warns at every window raised or resized, which
  // would bury the tables.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
    if (!message.startsWith("This plugin does not support"))
      std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  if (argc > 1 && std::string(argv[1]) == "--memory") return measureMemory();
  if (argc > 1 && std::string(argv[1]) == "--analysis") {
    measureAnalysis();
    return 0;
  }

  // Encrypt, paste and copy for every page, shape and size.
  struct Row {
    std::string label;
    std::vector<double> encrypt, paste, copy, pageChange;
  };
  std::vector<Row> rows;
  std::vector<std::string> keystrokes;
  for (const TextCase& language : kTexts) {
    for (const bool lines : {true, false}) {
      std::vector<std::string> texts;
      for (std::size_t size : kSizes)
        texts.push_back(sampleText(size, lines, language));
      for (const PageCase& page : kPages) {
        Row row{std::string(page.name) + (lines ? ", lines, " : ", one line, ") + language.name,
                {},
                {},
                {},
                {}};
        for (std::size_t i = 0; i < kSizes.size(); ++i) {
          QApplication::clipboard()->setText(fromBytes(texts[i], language.encoding));
          Window window(language.encoding);
          window.choose(page);
          row.paste.push_back(window.paste());
          row.encrypt.push_back(window.encrypt());
          row.copy.push_back(window.copyResult());
          row.pageChange.push_back(window.changePage(page.page == 0 ? 1 : 0));
          if (page.page == 0 && !lines && kSizes[i] >= MiB) {
            window.choose(page);
            window.paste();
            char figure[64];
            std::snprintf(figure, sizeof figure, "%s %s %.1f ms", language.name,
                          sizeName(kSizes[i]).c_str(), window.keystroke());
            keystrokes.push_back(figure);
          }
        }
        rows.push_back(std::move(row));
        std::fflush(stdout);
      }
    }
  }

  printHeader("Encrypt until the result is painted", {0, 30, 100, 1500});
  for (const Row& row : rows)
    printRow(row.label, row.encrypt, {0, 30, 100, 1500});
  printHeader("Paste into the input box", {0, 0, 100, 2000});
  for (const Row& row : rows) {
    if (row.label.rfind("Caesar", 0) == 0) printRow(row.label, row.paste, {0, 0, 100, 2000});
  }
  printHeader("Ctrl+A Ctrl+C of the result", {0, 0, 200, 0});
  for (const Row& row : rows)
    printRow(row.label, row.copy, {0, 0, 200, 0});
  printHeader("Page change with both boxes full", {50, 50, 50, 50});
  for (const Row& row : rows)
    printRow(row.label, row.pageChange, {50, 50, 50, 50});
  std::printf("\nOne keystroke at the start of a single-line input (target 16 ms at 1 MiB):\n");
  for (const std::string& figure : keystrokes)
    std::printf("  %s\n", figure.c_str());
  measureLargeFile();
  measureAnalysis();
  return 0;
}
