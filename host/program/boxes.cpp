#include "boxes.h"

#include <algorithm>
#include <cstdlib>

#include "display.h"

namespace weltor_program {

namespace {

constexpr char kMarkupEnd = 0x01;
constexpr char kEmphasis = 0x02;
constexpr char kKeyLabel = 0x05;

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The code points of a UTF-8 text, each as its own string.
std::vector<std::string> glyphs(const std::string& utf8) {
  std::vector<std::string> out;
  for (const char c : utf8) {
    if (continuationByte(c) && !out.empty())
      out.back() += c;
    else
      out.emplace_back(1, c);
  }
  return out;
}

struct TabStop {
  char kind;   // 'l': the text starts at the column; 'p': it ends there
  int column;
};

// "tl18l33" after the 0x01: the stops of the lines that follow.
std::vector<TabStop> readTabStops(const std::string& directive) {
  std::vector<TabStop> stops;
  std::size_t at = 1;  // past the 't'
  while (at < directive.size()) {
    const char kind = directive[at++];
    const std::size_t start = at;
    while (at < directive.size() && directive[at] >= '0' && directive[at] <= '9') ++at;
    if (at == start) break;
    stops.push_back({kind, std::atoi(directive.substr(start, at - start).c_str())});
  }
  return stops;
}

std::string joinAtStops(const std::vector<std::string>& pieces, const std::vector<TabStop>& stops) {
  std::string line = pieces.empty() ? std::string() : pieces.front();
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const int width = displayWidth(line);
    const int pieceWidth = displayWidth(pieces[i]);
    int target = (width / 8 + 1) * 8;
    if (i - 1 < stops.size())
      target = stops[i - 1].kind == 'p' ? stops[i - 1].column - pieceWidth : stops[i - 1].column;
    line.append(static_cast<std::size_t>(target > width ? target - width : 1), ' ');
    line += pieces[i];
  }
  return line;
}

}  // namespace

int displayWidth(const std::string& utf8) {
  int width = 0;
  for (const char c : utf8) width += continuationByte(c) ? 0 : 1;
  return width;
}

std::string fitted(const std::string& utf8, int width, const char* fill) {
  std::string out;
  int used = 0;
  for (const std::string& glyph : glyphs(utf8)) {
    if (used == width) break;
    out += glyph;
    ++used;
  }
  for (; used < width; ++used) out += fill;
  return out;
}

std::string rightAligned(const std::string& utf8, int width, const char* fill) {
  const int shown = displayWidth(utf8);
  if (shown >= width) return utf8;
  std::string out;
  for (int i = shown; i < width; ++i) out += fill;
  return out + utf8;
}

std::vector<TextLine> layOutHostText(const std::string& mazovia) {
  std::vector<TextLine> lines;
  std::vector<TabStop> stops;
  std::vector<std::string> pieces;
  std::string piece;  // Mazovia bytes of the piece being read
  bool centring = false, lineCentred = false;
  auto endPiece = [&] {
    pieces.push_back(weltor::toUtf8(piece));
    piece.clear();
  };
  auto endLine = [&] {
    endPiece();
    lines.push_back({joinAtStops(pieces, stops), lineCentred || centring});
    pieces.clear();
    lineCentred = centring;
  };
  for (std::size_t i = 0; i < mazovia.size(); ++i) {
    const char c = mazovia[i];
    if (c == '\n') {
      endLine();
    } else if (c == '\t') {
      endPiece();
    } else if (c == kMarkupEnd && i + 1 < mazovia.size() && mazovia[i + 1] == 'c') {
      centring = lineCentred = true;
      ++i;
    } else if (c == kMarkupEnd && i + 1 < mazovia.size() && mazovia[i + 1] == 't') {
      const std::size_t close = mazovia.find(kMarkupEnd, i + 1);
      const std::size_t end = close == std::string::npos ? mazovia.size() : close;
      stops = readTabStops(mazovia.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == kMarkupEnd) {
      centring = false;
    } else if (c != kEmphasis && c != kKeyLabel) {
      piece += c;
    }
  }
  endLine();
  return lines;
}

std::string plainHostText(const std::string& mazovia) {
  std::string text;
  for (const TextLine& line : layOutHostText(mazovia)) text += (text.empty() ? "" : " ") + line.text;
  return text;
}

Canvas::Canvas(int width, int height)
    : width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height),
      cells_(static_cast<std::size_t>(width_ * height_), " "),
      inverse_(cells_.size(), 0) {}

void Canvas::text(int column, int row, const std::string& utf8, bool inverse) {
  if (row < 0 || row >= height_) return;
  for (const std::string& glyph : glyphs(utf8)) {
    if (column >= 0 && column < width_) {
      const auto at = static_cast<std::size_t>(row * width_ + column);
      cells_[at] = glyph;
      inverse_[at] = inverse;
    }
    ++column;
  }
}

void Canvas::frame(int column, int row, int width, int height, const std::string& title, bool doubleLine) {
  if (width < 2 || height < 2) return;
  const char* across = doubleLine ? "═" : "─";
  const char* down = doubleLine ? "║" : "│";
  std::string top = doubleLine ? "╔" : "┌", bottom = doubleLine ? "╚" : "└";
  for (int i = 0; i < width - 2; ++i) {
    top += across;
    bottom += across;
  }
  top += doubleLine ? "╗" : "┐";
  bottom += doubleLine ? "╝" : "┘";
  text(column, row, top);
  text(column, row + height - 1, bottom);
  for (int r = row + 1; r < row + height - 1; ++r) {
    text(column, r, down);
    text(column + width - 1, r, down);
  }
  if (!title.empty()) {
    const std::string shown = " " + fitted(title, std::min(displayWidth(title), width - 6)) + " ";
    text(column + (width - displayWidth(shown)) / 2, row, shown);
  }
}

void Canvas::fill(int column, int row, int width, int height) {
  for (int r = row; r < row + height; ++r) text(column, r, std::string(static_cast<std::size_t>(width > 0 ? width : 0), ' '));
}

void Canvas::paste(int column, int row, const Canvas& other) {
  for (int r = 0; r < other.height_; ++r)
    for (int c = 0; c < other.width_; ++c) {
      const auto from = static_cast<std::size_t>(r * other.width_ + c);
      text(column + c, row + r, other.cells_[from], other.inverse_[from] != 0);
    }
}

std::vector<std::string> Canvas::lines(bool ansi) const {
  std::vector<std::string> out;
  for (int r = 0; r < height_; ++r) {
    std::string line;
    bool inverse = false;
    for (int c = 0; c < width_; ++c) {
      const auto at = static_cast<std::size_t>(r * width_ + c);
      if (ansi && (inverse_[at] != 0) != inverse) {
        inverse = inverse_[at] != 0;
        line += inverse ? "\x1b[7m" : "\x1b[0m";
      }
      line += cells_[at];
    }
    if (inverse) line += "\x1b[0m";
    if (!ansi)
      while (!line.empty() && line.back() == ' ') line.pop_back();
    out.push_back(line);
  }
  return out;
}

Canvas boxed(const std::string& title, const std::vector<TextLine>& body, int width, bool doubleLine) {
  int inside = std::max(width, displayWidth(title) + 4);
  for (const TextLine& line : body) inside = std::max(inside, displayWidth(line.text));
  Canvas box(inside + 4, static_cast<int>(body.size()) + 2);
  box.frame(0, 0, box.width(), box.height(), title, doubleLine);
  for (std::size_t i = 0; i < body.size(); ++i) {
    const int indent = body[i].centred ? (inside - displayWidth(body[i].text)) / 2 : 0;
    box.text(2 + indent, static_cast<int>(i) + 1, body[i].text);
  }
  return box;
}

}  // namespace weltor_program
