// What the host shows, drawn as a person sees it on a UTF-8 terminal: the
// host's text markup laid out, boxes around dialogs, and a character canvas
// that forms and windows are drawn on.
#pragma once

#include <string>
#include <vector>

namespace weltor_program {

// Cells a UTF-8 text takes on the screen: one per code point (the texts here
// are Polish letters and line drawing, none of them double width).
int displayWidth(const std::string& utf8);
// Cut or padded with `fill` to exactly `width` cells.
std::string fitted(const std::string& utf8, int width, const char* fill = " ");
// Padded on the left to `width` cells; never cut (a cut number would lie).
std::string rightAligned(const std::string& utf8, int width, const char* fill = " ");

struct TextLine {
  std::string text;  // UTF-8
  bool centred = false;
};

// A host text in Mazovia, laid out the way the host lays it out: "\x01c" centres
// up to the closing 0x01, "\x01t..." sets tab stops (l: text starts there,
// p: text ends there), "\x02" emphasis and "\x05" key labels show as plain text.
std::vector<TextLine> layOutHostText(const std::string& mazovia);
// A one-line host text (a button, a title) with its markup dropped.
std::string plainHostText(const std::string& mazovia);

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  // Writes from (column, row) on; what falls outside is cut off.
  void text(int column, int row, const std::string& utf8, bool inverse = false);
  void frame(int column, int row, int width, int height, const std::string& title, bool doubleLine = false);
  void fill(int column, int row, int width, int height);
  void paste(int column, int row, const Canvas& other);
  // With `ansi`, inverse cells are wrapped in the terminal's inverse video.
  std::vector<std::string> lines(bool ansi = false) const;

 private:
  int width_, height_;
  std::vector<std::string> cells_;
  std::vector<char> inverse_;
};

// A box around the lines, the title in its top edge; at least `width` inside.
Canvas boxed(const std::string& title, const std::vector<TextLine>& body, int width = 0, bool doubleLine = false);

}  // namespace weltor_program
