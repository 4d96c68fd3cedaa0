// The weltor program shows the plug-in's texts the way the host lays them out:
// its markup bytes centre lines, set tab stops and mark names and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boxes.h"
#include "frame/mazovia.h"

namespace {

using weltor_program::TextLine;

struct LayoutCase {
  const char* what;
  std::string mazovia;
  std::vector<TextLine> lines;
};

TEST(HostTextLayout, MarkupIsLaidOutAsTheHostShowsIt) {
  const LayoutCase cases[] = {
      {"a centred passage up to its closing byte",
       kamoria::mazovia("\x01" "cBłąd nr 1!\nOperacja niekompletna!\x01\nDalej").c_str(),
       {{"Błąd nr 1!", true}, {"Operacja niekompletna!", true}, {"Dalej", false}}},
      {"left tab stops",
       kamoria::mazovia("\x01" "tl18l33\x01" "TABELA\tWE WTYCZCE\tW PROGRAMIE").c_str(),
       {{"TABELA            WE WTYCZCE     W PROGRAMIE", false}}},
      {"tab stops where the text ends, kept for the next lines",
       kamoria::mazovia("\x01" "tp25p40\x01" "k9\t1024\t1000\nw3\t216\t-").c_str(),
       {{"k9                   1024           1000", false}, {"w3                    216              -", false}}},
      {"an emphasised name and a key label show as their text",
       kamoria::mazovia("Moduł \x02" "kamoria.dll\x01\n\x05" "F12\x01 OK").c_str(),
       {{"Moduł kamoria.dll", false}, {"F12 OK", false}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<TextLine> lines = weltor_program::layOutHostText(c.mazovia);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].text, c.lines[i].text);
      EXPECT_EQ(lines[i].centred, c.lines[i].centred);
    }
  }
}

TEST(HostTextLayout, ABoxFitsItsWidestLineAndCentresWhatIsCentred) {
  const auto box = weltor_program::boxed("Uwaga", {{"ab", true}, {"łąka i las"}}).lines();
  const std::vector<std::string> expected = {
      "┌── Uwaga ───┐",
      "│     ab     │",
      "│ łąka i las │",
      "└────────────┘",
  };
  EXPECT_EQ(box, expected);
}

}  // namespace
