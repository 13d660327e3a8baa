#include "Text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <langinfo.h>
#endif

#include <algorithm>
#include <cerrno>

namespace {

using text::Encoding;

struct EncodingEntry {
  Encoding encoding;
  std::string_view name;
  // The code page's number: its name for iconv and in "cp1250".
  std::string_view number;
};

constexpr std::array<EncodingEntry, text::kEncodings.size()> kEntries = {{
    {Encoding::utf8, "utf-8", ""},
    {Encoding::windows874, "windows-874", "874"},
    {Encoding::windows1250, "windows-1250", "1250"},
    {Encoding::windows1251, "windows-1251", "1251"},
    {Encoding::windows1252, "windows-1252", "1252"},
    {Encoding::windows1253, "windows-1253", "1253"},
    {Encoding::windows1254, "windows-1254", "1254"},
    {Encoding::windows1255, "windows-1255", "1255"},
    {Encoding::windows1256, "windows-1256", "1256"},
    {Encoding::windows1257, "windows-1257", "1257"},
    {Encoding::windows1258, "windows-1258", "1258"},
}};

constexpr char32_t kReplacement = 0xFFFD;

const EncodingEntry& entryOf(Encoding encoding) {
  return kEntries[static_cast<std::size_t>(encoding)];
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return lower;
}

using CodePage = std::array<char32_t, 256>;

// Where a code page leaves a byte unassigned: those of 0x80-0x9F stand for
// the control characters of their value, as on Windows; others are no
// character.
char32_t unassigned(int byte) {
  return byte >= 0x80 && byte < 0xA0 ? char32_t(byte) : kReplacement;
}

// The UTF-8 character at `at`. Where no valid sequence starts, the length
// is that of its longest start that could still have gone on, as the
// Unicode standard and the web's encoders count a replacement character.
text::Character utf8At(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {1, lead};
  int following;
  unsigned char lowest = 0x80, highest = 0xBF;  // the bounds of the next byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    if (lead == 0xE0) lowest = 0xA0;   // no overlong forms
    if (lead == 0xED) highest = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    if (lead == 0xF0) lowest = 0x90;
    if (lead == 0xF4) highest = 0x8F;  // nothing past U+10FFFF
  } else {
    return {1, kReplacement};
  }
  char32_t code = lead & (0x3F >> following);
  for (int i = 1; i <= following; ++i) {
    if (at + i >= bytes.size()) return {static_cast<std::size_t>(i), kReplacement};
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if (next < lowest || next > highest) return {static_cast<std::size_t>(i), kReplacement};
    code = code << 6 | (next & 0x3F);
    lowest = 0x80;
    highest = 0xBF;
  }
  return {static_cast<std::size_t>(following) + 1, code};
}

// True when `character`, read at `at`, is a valid sequence: U+FFFD itself
// is one too.
bool isValid(std::string_view bytes, std::size_t at, text::Character character) {
  return character.code != kReplacement || bytes.substr(at, 3) == "\xEF\xBF\xBD";
}

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The byte that a code page writes `code` as, where it has one.
std::optional<char> byteOf(const CodePage& characters, char32_t code) {
  const auto* own = std::find(characters.begin(), characters.end(), code);
  if (own == characters.end() || code == kReplacement) return std::nullopt;
  return static_cast<char>(own - characters.begin());
}

using text::Encoded;

#ifdef _WIN32

// `text` in a Unicode normalisation form; empty where Windows cannot say.
std::wstring normalized(std::wstring_view text, NORM_FORM form) {
  std::wstring out(4 * text.size() + 4, L'\0');
  const int length = NormalizeString(form, text.data(), static_cast<int>(text.size()), out.data(),
                                     static_cast<int>(out.size()));
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return out;
}

// The characters of a code page's 256 bytes, as Windows reads each byte
// alone. Windows reads some unassigned bytes as private-use characters,
// which stand for no character here.
CodePage readCodePage(std::string_view number) {
  const auto codePage = static_cast<UINT>(std::stoul(std::string(number)));
  CodePage characters{};
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, out, 2);
    const bool privateUse = out[0] >= 0xE000 && out[0] <= 0xF8FF;
    characters[byte] = length == 1 && !privateUse ? char32_t{out[0]} : unassigned(byte);
  }
  return characters;
}

// The code page's bytes for `code`, appended to `out`: its own byte, or a
// letter and combining marks of the code page that together make it
// (Vietnamese "ệ" as "ê" and a dot below). False where it has none.
bool appendHeld(std::string& out, char32_t code, const CodePage& characters) {
  if (const std::optional<char> own = byteOf(characters, code)) {
    out += *own;
    return true;
  }
  if (code > 0xFFFF) return false;
  const std::wstring parts =
      normalized(std::wstring(1, static_cast<wchar_t>(code)), NormalizationD);
  if (parts.size() < 2) return false;
  wchar_t letter = parts[0];
  std::string marks;
  for (const wchar_t mark : std::wstring_view(parts).substr(1)) {
    const std::wstring joined = normalized(std::wstring{letter, mark}, NormalizationC);
    if (joined.size() == 1 && byteOf(characters, joined[0])) {
      letter = joined[0];
    } else if (const std::optional<char> own = byteOf(characters, mark)) {
      marks += *own;
    } else {
      return false;
    }
  }
  const std::optional<char> base = byteOf(characters, letter);
  if (!base) return false;
  out += *base;
  out += marks;
  return true;
}

Encoded encodeInCodePage(std::string_view utf8, const CodePage& characters, std::string_view) {
  Encoded encoded;
  for (std::size_t at = 0; at < utf8.size();) {
    const text::Character character = utf8At(utf8, at);
    if (!isValid(utf8, at, character)) {
      encoded.bytes += utf8[at++];
      continue;
    }
    at += character.length;
    if (!appendHeld(encoded.bytes, character.code, characters)) {
      encoded.bytes += '?';
      ++encoded.lost;
    }
  }
  return encoded;
}

// The ANSI code page's name, as the locale's character set.
std::string localeCharset() {
  const UINT codePage = GetACP();
  return codePage == CP_UTF8 ? "UTF-8" : "CP" + std::to_string(codePage);
}

#else

// An iconv conversion, closed when it goes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }
  // Converts what it can of [in, in + inLeft), then, with `in` null, what
  // the conversion still holds back.
  std::size_t operator()(char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
    return iconv(cd, in, inLeft, out, outLeft);
  }

 private:
  iconv_t cd;
};

// The characters of a code page's 256 bytes, as iconv reads each byte
// alone.
CodePage readCodePage(std::string_view number) {
  CodePage characters{};
  Converter convert("UTF-32LE", ("CP" + std::string(number)).c_str());
  for (int byte = 0; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    unsigned char out[8] = {};
    char* inAt = &in;
    auto* outAt = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = sizeof out;
    const bool read =
        convert.valid() && convert(&inAt, &inLeft, &outAt, &outLeft) != std::size_t(-1) &&
        convert(nullptr, nullptr, &outAt, &outLeft) != std::size_t(-1) && outLeft == sizeof out - 4;
    characters[byte] =
        read ? char32_t{out[0]} | char32_t{out[1]} << 8 | char32_t{out[2]} << 16 : unassigned(byte);
    if (read) continue;
    convert(nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  }
  return characters;
}

Encoded encodeInCodePage(std::string_view utf8, const CodePage& characters,
                         std::string_view number) {
  Converter convert(("CP" + std::string(number)).c_str(), "UTF-8");
  Encoded encoded;
  // A code page takes at most two bytes a character (a base letter and a
  // combining mark), and UTF-8 at least one byte each.
  encoded.bytes.resize(2 * utf8.size());
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* out = encoded.bytes.data();
  std::size_t outLeft = encoded.bytes.size();
  while (convert(&in, &inLeft, &out, &outLeft) == std::size_t(-1) && inLeft > 0) {
    // A character the code page has no byte for, or a byte that is no UTF-8.
    const auto at = static_cast<std::size_t>(in - utf8.data());
    const text::Character character = utf8At(utf8, at);
    const bool valid = isValid(utf8, at, character);
    const std::optional<char> own = byteOf(characters, character.code);
    if (!valid) {
      *out = *in;
    } else if (own) {
      *out = *own;
    } else {
      *out = '?';
      ++encoded.lost;
    }
    ++out;
    --outLeft;
    const std::size_t skipped = valid ? character.length : 1;
    in += skipped;
    inLeft -= skipped;
  }
  convert(nullptr, nullptr, &out, &outLeft);
  encoded.bytes.resize(encoded.bytes.size() - outLeft);
  return encoded;
}

std::string localeCharset() {
  return nl_langinfo(CODESET);
}

#endif  // _WIN32

// The tables of every code page, read once.
const CodePage& codePageOf(Encoding encoding) {
  static const std::array<CodePage, kEntries.size()> tables = [] {
    std::array<CodePage, kEntries.size()> all{};
    for (const EncodingEntry& entry : kEntries)
      if (entry.encoding != Encoding::utf8)
        all[static_cast<std::size_t>(entry.encoding)] = readCodePage(entry.number);
    return all;
  }();
  return tables[static_cast<std::size_t>(encoding)];
}

}  // namespace

namespace text {

std::string_view nameOf(Encoding encoding) {
  return entryOf(encoding).name;
}

std::optional<Encoding> encodingNamed(std::string_view name) {
  const std::string lower = lowerCase(name);
  for (const EncodingEntry& entry : kEntries) {
    if (lower == entry.name) return entry.encoding;
    if (entry.number.empty() ? lower == "utf8" : lower == "cp" + std::string(entry.number))
      return entry.encoding;
  }
  return std::nullopt;
}

std::string encodingNames() {
  std::string names;
  for (const EncodingEntry& entry : kEntries)
    names.append(names.empty() ? "" : ", ").append(entry.name);
  return names;
}

Encoding encodingOfCharset(std::string_view charset) {
  const std::string lower = lowerCase(charset);
  if (lower == "utf-8" || lower == "utf8") return Encoding::utf8;
  return encodingNamed(lower).value_or(Encoding::windows1252);
}

Encoding localeEncoding() {
  return encodingOfCharset(localeCharset());
}

Character characterAt(std::string_view bytes, std::size_t at, Encoding encoding) {
  if (encoding == Encoding::utf8) return utf8At(bytes, at);
  return {1, codePageOf(encoding)[static_cast<unsigned char>(bytes[at])]};
}

std::size_t previousCharacter(std::string_view bytes, std::size_t at, Encoding encoding) {
  if (encoding != Encoding::utf8) return at - 1;
  // Every byte but a continuation byte (10xxxxxx) starts a character, and a
  // sequence is at most four bytes long: go on from the nearest such start.
  std::size_t start = at - 1;
  while (start > 0 && at - start < 4 && (static_cast<unsigned char>(bytes[start]) & 0xC0) == 0x80)
    --start;
  if ((static_cast<unsigned char>(bytes[start]) & 0xC0) == 0x80) return at - 1;
  for (;;) {
    const std::size_t next = start + utf8At(bytes, start).length;
    if (next >= at) return start;
    start = next;
  }
}

bool isUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const Character character = utf8At(bytes, i);
    if (!isValid(bytes, i, character)) return false;
    i += character.length;
  }
  return true;
}

std::string toUtf8(std::string_view bytes, Encoding encoding) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Character character = characterAt(bytes, i, encoding);
    if (character.code == kReplacement || encoding != Encoding::utf8) {
      appendUtf8(utf8, character.code);
    } else {
      utf8.append(bytes.substr(i, character.length));
    }
    i += character.length;
  }
  return utf8;
}

Encoded fromUtf8(std::string_view utf8, Encoding encoding) {
  if (encoding == Encoding::utf8 ||
      std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
    return {std::string(utf8), 0};
  }
  return encodeInCodePage(utf8, codePageOf(encoding), entryOf(encoding).number);
}

std::optional<std::int32_t> readInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // The magnitude can reach 2^31 for the most negative value.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace text
