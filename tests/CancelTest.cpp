#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "CrackCases.h"
#include "analysis/Crack.h"
#include "analysis/Identify.h"
#include "analysis/Parallel.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"

namespace {

using analysis::Cipher;

// Running English from the corpus, enough letters for every cracker.
std::string english() {
  const std::string text = crackcases::readFile(ZEMBRAX_CORPUS "/en.txt");
  return text.substr(0, 6000);
}

std::string substituted(const std::string& plain) {
  return CharCoder().substitute(plain, "abcdefghijklmnopqrstuvwxyz", "qwertyuiopasdfghjklzxcvbnm");
}

analysis::Report crack(Cipher cipher, const std::string& text, const std::atomic<bool>* stop) {
  analysis::CrackSettings settings;
  settings.stop = stop;
  auto cracker = analysis::makeCracker(cipher, settings);
  cracker->feed(text);
  return cracker->finish();
}

TEST(Cancel, AStopAskedBeforeTheSearchGivesNoKey) {
  const std::atomic<bool> stop = true;
  const std::string plain = english();
  ASSERT_GT(plain.size(), 1000u);
  for (const auto& [cipher, text] :
       {std::pair{Cipher::substitution, substituted(plain)},
        std::pair{Cipher::vigenere, ClassicCoder().vigenereEncode(plain, "HARBOUR")},
        std::pair{Cipher::caesar, ClassicCoder().caesarShift(plain, 7)},
        std::pair{Cipher::caesarFull, ClassicCoder().caesarShiftFull(plain, 40)},
        std::pair{Cipher::bitwiseXor, CharCoder().bitwiseApply(plain, 77, &CharCoder::bitXor)}}) {
    const analysis::Report report = crack(cipher, text, &stop);
    EXPECT_TRUE(report.candidates.empty()) << static_cast<int>(cipher);
    EXPECT_EQ(report.note, analysis::kCancelled) << static_cast<int>(cipher);
  }
  analysis::IdentifySettings settings;
  settings.stop = &stop;
  const analysis::Identification found =
      analysis::identify(ClassicCoder().base64Encode(substituted(plain)), settings);
  EXPECT_TRUE(found.candidates.empty());
  EXPECT_EQ(found.note, analysis::kCancelled);
}

TEST(Cancel, AStopNeverAskedChangesNothing) {
  const std::atomic<bool> stop = false;
  const std::string plain = english();
  for (const Cipher cipher : {Cipher::substitution, Cipher::vigenere, Cipher::caesar}) {
    const std::string text = cipher == Cipher::substitution ? substituted(plain)
                             : cipher == Cipher::vigenere
                                 ? ClassicCoder().vigenereEncode(plain, "LUX")
                                 : ClassicCoder().caesarShift(plain, 7);
    const analysis::Report with = crack(cipher, text, &stop),
                           without = crack(cipher, text, nullptr);
    ASSERT_FALSE(with.candidates.empty());
    EXPECT_EQ(with.note, without.note);
    EXPECT_EQ(with.candidates.front().options, without.candidates.front().options);
  }
}

TEST(Cancel, AStopFromAnotherThreadEndsTheSearchWhole) {
  // Asked at some moment of the search: the report is either the whole
  // answer or none, never half of one.
  if (analysis::mostThreads() < 2) GTEST_SKIP() << "threads are held to one here";
  const std::string text = substituted(english());
  for (const int after : {0, 1, 5, 20}) {
    std::atomic<bool> stop = false;
    std::thread asker([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(after));
      stop = true;
    });
    const analysis::Report report = crack(Cipher::substitution, text, &stop);
    asker.join();
    EXPECT_EQ(report.candidates.empty(), report.note == analysis::kCancelled) << after;
  }
}

}  // namespace
