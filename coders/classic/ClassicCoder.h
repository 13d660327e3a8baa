#ifndef ZEMBRAX_CODERS_CLASSIC_CLASSICCODER_H_
#define ZEMBRAX_CODERS_CLASSIC_CLASSICCODER_H_

#include <cstdint>
#include <memory>
#include <string>

// The classic coder: Caesar shift, Vigenere and Base64 over byte strings.
// Every operation takes its inputs by value and returns a new string; the
// only state is the Base64 alphabet table, filled once at construction.
class ClassicCoder {
 public:
  ClassicCoder();
  ~ClassicCoder();
  ClassicCoder(const ClassicCoder&) = delete;
  ClassicCoder& operator=(const ClassicCoder&) = delete;

  // Moves every ASCII letter `shift` places along its own 26-letter alphabet
  // ('Z' is followed by 'A', 'z' by 'a'); a negative shift moves backward.
  // Every other byte, 0x80-0xFF included, is kept. Same length as `text`.
  std::string caesarShift(std::string text, std::int32_t shift) const;

  // Moves every byte `shift` places around the cycle of the 255 non-zero
  // byte values (1 follows 255), so a non-zero byte never becomes zero.
  std::string caesarShiftFull(std::string text, std::int32_t shift) const;

  // Vigenere with `key`: the n-th letter of `text` moves forward by the value
  // ('A' = 0 ... 'Z' = 25, either case) of key byte n modulo the key length.
  // Other bytes pass and take no key letter. An empty key changes nothing.
  std::string vigenereEncode(std::string text, std::string key) const;

  // Undoes `vigenereEncode` with the same key.
  std::string vigenereDecode(std::string text, std::string key) const;

  // The shared Vigenere routine: `direction` 0 moves letters forward, 1 back.
  std::string vigenereCore(std::string text, std::string key, int direction) const;

  // Replaces every byte of `key` that is not an ASCII letter by 'A'.
  void sanitizeKey(std::string& key) const;

  // The 6-bit value of Base64 character `c`; 0 for anything outside the
  // alphabet, '=', whitespace and bytes 0x80-0xFF included.
  int base64Index(unsigned char c) const;

  // Standard Base64 of the bytes of `text`, padded with '=', on one line.
  std::string base64Encode(std::string text) const;

  // Decodes Base64 four characters at a time, skipping whitespace; any other
  // character outside the alphabet counts as 0. Within a group, output stops
  // at the first zero byte; an unfinished last group is ignored.
  std::string base64Decode(std::string text) const;

 private:
  // The 64 Base64 characters; position p holds the character for value p.
  std::unique_ptr<char[]> alphabet;
};

#endif  // ZEMBRAX_CODERS_CLASSIC_CLASSICCODER_H_
