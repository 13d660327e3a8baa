#include "TableData.h"

#include <utility>

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

namespace {

// A language's table and word list, by its code.
struct Tables {
  std::string_view code;
  std::span<const std::uint8_t> (*table)();
  std::span<const std::uint8_t> (*words)();
};
constexpr Tables kTables[] = {
    {"en", table_en, words_en}, {"de", table_de, words_de}, {"fr", table_fr, words_fr},
    {"es", table_es, words_es}, {"it", table_it, words_it}, {"pt", table_pt, words_pt},
    {"nl", table_nl, words_nl}, {"pl", table_pl, words_pl}, {"sv", table_sv, words_sv},
    {"da", table_da, words_da}, {"nb", table_nb, words_nb}, {"fi", table_fi, words_fi},
    {"cs", table_cs, words_cs}, {"hu", table_hu, words_hu}, {"tr", table_tr, words_tr},
    {"id", table_id, words_id}};

const Tables* tablesCoded(std::string_view code) {
  for (const Tables& tables : kTables) {
    if (tables.code == code) return &tables;
  }
  return nullptr;
}

}  // namespace

std::span<const std::uint8_t> tableCoded(std::string_view code) {
  const Tables* tables = tablesCoded(code);
  return tables != nullptr ? tables->table() : std::span<const std::uint8_t>();
}

std::string_view wordsCoded(std::string_view code) {
  const Tables* tables = tablesCoded(code);
  if (tables == nullptr) return {};
  const std::span<const std::uint8_t> bytes = tables->words();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace analysis
