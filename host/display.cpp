#include "display.h"

#include <cstdio>

namespace weltor {

namespace {

const char* polishLetter(unsigned char byte) {
  switch (byte) {
    case 0x86: return "ą";
    case 0x8F: return "Ą";
    case 0x8D: return "ć";
    case 0x95: return "Ć";
    case 0x91: return "ę";
    case 0x90: return "Ę";
    case 0x92: return "ł";
    case 0x9C: return "Ł";
    case 0xA4: return "ń";
    case 0xA5: return "Ń";
    case 0xA2: return "ó";
    case 0xA3: return "Ó";
    case 0x9E: return "ś";
    case 0x98: return "Ś";
    case 0xA6: return "ź";
    case 0xA0: return "Ź";
    case 0xA7: return "ż";
    case 0xA1: return "Ż";
    default: return nullptr;
  }
}

}  // namespace

std::string toUtf8(const std::string& mazovia) {
  std::string shown;
  for (const char c : mazovia) {
    const auto byte = static_cast<unsigned char>(c);
    if (const char* letter = polishLetter(byte)) {
      shown += letter;
    } else if (byte == 0x01 || byte == 0x02 || byte == 0x05) {
      char mark[16];
      std::snprintf(mark, sizeof mark, "\xE2\x9F\xA8%02X\xE2\x9F\xA9", byte);
      shown += mark;
    } else if (byte >= 0x80) {
      shown += '?';
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string toUtf8(const char* mazovia) { return toUtf8(std::string(mazovia != nullptr ? mazovia : "")); }

}  // namespace weltor
