#include "TableData.h"

#include <array>

// The tables go into the program as they are, by the assembler's .incbin:
// no generated source to compile, and no data file to find at run time.
// ZEMBRAX_TABLE_DIR is the folder of the .bin files.
// PE's assembler has no section stack: there the tables go to the read-only
// data and the assembler back to the code section, where it starts.
#if defined(_WIN32)
#define ZEMBRAX_TABLE_SECTION ".section .rdata,\"dr\""
#define ZEMBRAX_PREVIOUS_SECTION ".text"
#else
#define ZEMBRAX_TABLE_SECTION ".pushsection .rodata"
#define ZEMBRAX_PREVIOUS_SECTION ".popsection"
#endif

// Puts the file ZEMBRAX_TABLE_DIR/`file` into the program as the bytes that
// `name`() spans.
#define ZEMBRAX_TABLE_FILE(name, file)                                                             \
  __asm__(ZEMBRAX_TABLE_SECTION                                                                    \
          "\n"                                                                                     \
          ".balign 16\n"                                                                           \
          ".globl zembrax_" #name "\nzembrax_" #name                                               \
          ":\n"                                                                                    \
          ".incbin \"" ZEMBRAX_TABLE_DIR "/" file                                                  \
          "\"\n"                                                                                   \
          ".globl zembrax_" #name "_end\nzembrax_" #name "_end:\n" ZEMBRAX_PREVIOUS_SECTION "\n"); \
  extern "C" const std::uint8_t zembrax_##name[];                                                  \
  extern "C" const std::uint8_t zembrax_##name##_end[];                                            \
  namespace {                                                                                      \
  std::span<const std::uint8_t> name() {                                                           \
    return {zembrax_##name, zembrax_##name##_end};                                                 \
  }                                                                                                \
  }

// A language's n-gram table and word list.
#define ZEMBRAX_TABLE(code)                      \
  ZEMBRAX_TABLE_FILE(table_##code, #code ".bin") \
  ZEMBRAX_TABLE_FILE(words_##code, #code ".words")

ZEMBRAX_TABLE(en)
ZEMBRAX_TABLE(de)
ZEMBRAX_TABLE(fr)
ZEMBRAX_TABLE(es)
ZEMBRAX_TABLE(it)
ZEMBRAX_TABLE(pt)
ZEMBRAX_TABLE(nl)
ZEMBRAX_TABLE(pl)
ZEMBRAX_TABLE(sv)
ZEMBRAX_TABLE(da)
ZEMBRAX_TABLE(nb)
ZEMBRAX_TABLE(fi)
ZEMBRAX_TABLE(cs)
ZEMBRAX_TABLE(hu)
ZEMBRAX_TABLE(tr)
ZEMBRAX_TABLE(id)

namespace analysis {

std::span<const std::uint8_t> tableOf(Language language) {
  using Table = std::span<const std::uint8_t> (*)();
  // In the order of Language.
  static constexpr std::array<Table, kLanguageCount> tables = {
      table_en, table_de, table_fr, table_es, table_it, table_pt, table_nl, table_pl,
      table_sv, table_da, table_nb, table_fi, table_cs, table_hu, table_tr, table_id};
  return tables[static_cast<std::size_t>(language)]();
}

std::string_view wordsOf(Language language) {
  using Words = std::span<const std::uint8_t> (*)();
  static constexpr std::array<Words, kLanguageCount> words = {
      words_en, words_de, words_fr, words_es, words_it, words_pt, words_nl, words_pl,
      words_sv, words_da, words_nb, words_fi, words_cs, words_hu, words_tr, words_id};
  const std::span<const std::uint8_t> bytes = words[static_cast<std::size_t>(language)]();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace analysis
