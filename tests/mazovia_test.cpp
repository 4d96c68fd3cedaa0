// Texts are written in UTF-8 in the source and reach the host as Mazovia bytes.
#include <gtest/gtest.h>

#include <string>

#include "frame/mazovia.h"

namespace {

TEST(Mazovia, EveryPolishLetterBecomesItsCodePageByte) {
  constexpr auto letters = kamoria::mazovia("ąĄćĆęĘłŁńŃóÓśŚźŹżŻ");
  EXPECT_EQ(std::string(letters.c_str(), letters.length),
            "\x86\x8F\x8D\x95\x91\x90\x92\x9C\xA4\xA5\xA2\xA3\x9E\x98\xA6\xA0\xA7\xA1");
}

TEST(Mazovia, AsciiAndMarkupBytesPassUnchanged) {
  constexpr auto text = kamoria::mazovia("\x01" "c\x02" "B\x05" "F12\x01 OK\t\r\n");
  EXPECT_EQ(std::string(text.c_str(), text.length), "\x01" "c\x02" "B\x05" "F12\x01 OK\t\r\n");
  EXPECT_EQ(text.bytes[text.length], '\0');
}

TEST(Mazovia, AMessageKeepsItsLengthInCodePageCharacters) {
  constexpr auto text = kamoria::mazovia("Przeglądam magazyny!");
  EXPECT_EQ(text.length, 20u);
  EXPECT_EQ(std::string(text.c_str()), "Przegl\x86" "dam magazyny!");
}

}  // namespace
