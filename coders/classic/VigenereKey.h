#ifndef ZEMBRAX_CODERS_CLASSIC_VIGENEREKEY_H_
#define ZEMBRAX_CODERS_CLASSIC_VIGENEREKEY_H_

#include <cstddef>
#include <string>

// A Vigenere key ready to move letters, and the place in it that the next
// letter takes, so that a text may be moved in pieces.
class VigenereKey {
 public:
  // `key` must hold letters only and not be empty; `direction` 0 moves
  // letters forward, 1 back.
  VigenereKey(const std::string& key, int direction);

  // Moves the letters of `text` from the current place in the key on, and
  // keeps the place where they leave it.
  void apply(std::string& text);

 private:
  // The key's forward steps (0..25), repeated to its length plus one block
  // of the wide kernel.
  std::string steps;
  std::size_t length;
  std::size_t position = 0;
};

#endif  // ZEMBRAX_CODERS_CLASSIC_VIGENEREKEY_H_
