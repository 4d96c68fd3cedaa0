// Texts are written here in UTF-8 and become Mazovia (Polish DOS) bytes at
// compile time: `mazovia("Błąd")` is a constant array holding B 0x92 0x86 d 0.
#pragma once

#include <cstddef>

namespace kamoria {

template <std::size_t Capacity>
struct MazoviaText {
  char bytes[Capacity] = {};
  std::size_t length = 0;  // without the terminating 0 byte

  constexpr const char* c_str() const { return bytes; }
  constexpr operator const char*() const { return bytes; }
};

// The Polish letters; every other non-ASCII character is refused at compile
// time, so a text with a letter outside the code page does not build.
consteval char mazoviaByte(char32_t letter) {
  switch (letter) {
    case U'ą': return '\x86';
    case U'Ą': return '\x8F';
    case U'ć': return '\x8D';
    case U'Ć': return '\x95';
    case U'ę': return '\x91';
    case U'Ę': return '\x90';
    case U'ł': return '\x92';
    case U'Ł': return '\x9C';
    case U'ń': return '\xA4';
    case U'Ń': return '\xA5';
    case U'ó': return '\xA2';
    case U'Ó': return '\xA3';
    case U'ś': return '\x9E';
    case U'Ś': return '\x98';
    case U'ź': return '\xA6';
    case U'Ź': return '\xA0';
    case U'ż': return '\xA7';
    case U'Ż': return '\xA1';
    default: break;
  }
  if (letter < 0x80) return static_cast<char>(letter);
  throw "letter outside the Mazovia code page";
}

template <std::size_t Size>
consteval MazoviaText<Size> mazovia(const char (&utf8)[Size]) {
  MazoviaText<Size> text;
  std::size_t in = 0;
  while (in + 1 < Size) {
    const auto lead = static_cast<unsigned char>(utf8[in]);
    char32_t letter = 0;
    std::size_t extra = 0;
    if (lead < 0x80) {
      letter = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      letter = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      letter = lead & 0x0F;
      extra = 2;
    } else {
      throw "malformed UTF-8";
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[in + k]);
      if ((next & 0xC0) != 0x80) throw "malformed UTF-8";
      letter = (letter << 6) | (next & 0x3F);
    }
    in += 1 + extra;
    text.bytes[text.length++] = mazoviaByte(letter);
  }
  return text;
}

}  // namespace kamoria
