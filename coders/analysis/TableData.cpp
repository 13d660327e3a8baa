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

#define ZEMBRAX_TABLE(code)                                          \
  __asm__(ZEMBRAX_TABLE_SECTION                                      \
          "\n"                                                       \
          ".balign 16\n"                                             \
          ".globl zembrax_table_" #code "\nzembrax_table_" #code     \
          ":\n"                                                      \
          ".incbin \"" ZEMBRAX_TABLE_DIR "/" #code                   \
          ".bin\"\n"                                                 \
          ".globl zembrax_table_" #code "_end\nzembrax_table_" #code \
          "_end:\n" ZEMBRAX_PREVIOUS_SECTION "\n");                  \
  extern "C" const std::uint8_t zembrax_table_##code[];              \
  extern "C" const std::uint8_t zembrax_table_##code##_end[];        \
  namespace {                                                        \
  std::span<const std::uint8_t> table_##code() {                     \
    return {zembrax_table_##code, zembrax_table_##code##_end};       \
  }                                                                  \
  }

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

std::span<const std::uint8_t> tableCoded(std::string_view code) {
  using Table = std::span<const std::uint8_t> (*)();
  static constexpr std::pair<std::string_view, Table> tables[] = {
      {"en", table_en}, {"de", table_de}, {"fr", table_fr}, {"es", table_es},
      {"it", table_it}, {"pt", table_pt}, {"nl", table_nl}, {"pl", table_pl},
      {"sv", table_sv}, {"da", table_da}, {"nb", table_nb}, {"fi", table_fi},
      {"cs", table_cs}, {"hu", table_hu}, {"tr", table_tr}, {"id", table_id}};
  for (const auto& [tableCode, table] : tables) {
    if (tableCode == code) return table();
  }
  return {};
}

}  // namespace analysis
