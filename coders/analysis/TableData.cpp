#include "TableData.h"

#include <cstdint>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

// The tables go into the program as they are, by the assembler's .incbin:
// no generated source to compile, and no data file to find at run time.
// ZEMBRAX_TABLE_DIR is the folder of the tables.
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

// A language's n-gram table, letter chain and word table.
#define ZEMBRAX_TABLE(code)                        \
  ZEMBRAX_TABLE_FILE(table_##code, #code ".bin")   \
  ZEMBRAX_TABLE_FILE(chain_##code, #code ".chain") \
  ZEMBRAX_TABLE_FILE(words_##code, #code ".wordtable")

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

// A language's tables, by its code.
struct Tables {
  std::string_view code;
  std::span<const std::uint8_t> (*table)();
  std::span<const std::uint8_t> (*chain)();
  std::span<const std::uint8_t> (*words)();
};
#define ZEMBRAX_TABLES_OF(code) \
  { #code, table_##code, chain_##code, words_##code }
constexpr Tables kTables[] = {
    ZEMBRAX_TABLES_OF(en), ZEMBRAX_TABLES_OF(de), ZEMBRAX_TABLES_OF(fr), ZEMBRAX_TABLES_OF(es),
    ZEMBRAX_TABLES_OF(it), ZEMBRAX_TABLES_OF(pt), ZEMBRAX_TABLES_OF(nl), ZEMBRAX_TABLES_OF(pl),
    ZEMBRAX_TABLES_OF(sv), ZEMBRAX_TABLES_OF(da), ZEMBRAX_TABLES_OF(nb), ZEMBRAX_TABLES_OF(fi),
    ZEMBRAX_TABLES_OF(cs), ZEMBRAX_TABLES_OF(hu), ZEMBRAX_TABLES_OF(tr), ZEMBRAX_TABLES_OF(id)};
#undef ZEMBRAX_TABLES_OF

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

std::span<const std::uint8_t> chainCoded(std::string_view code) {
  const Tables* tables = tablesCoded(code);
  return tables != nullptr ? tables->chain() : std::span<const std::uint8_t>();
}

void mapIn([[maybe_unused]] std::span<const std::uint8_t> bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_READ)
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data()) & ~(page - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(bytes.data() + bytes.size());
  // A kernel before 5.14 refuses, and the pages fault in as they are read.
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_READ);
#endif
}

std::span<const std::uint8_t> wordTableCoded(std::string_view code) {
  const Tables* tables = tablesCoded(code);
  return tables != nullptr ? tables->words() : std::span<const std::uint8_t>();
}

}  // namespace analysis
