// The tree text of tree views: one node per line, its depth given by the leading tabs or
// blanks. Reading and writing are pure functions of bytes and lines, apart from the view.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kgui {

struct TreeTextLine {
  int level = 0;
  std::string text;  // UTF-8
};

// What a read gives: the lines in order, or the message of the first fault (then no lines).
struct TreeTextRead {
  std::vector<TreeTextLine> lines;
  std::string error;
};

// Reads tree text: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is
// skipped), else CP932. Line ends CR LF, LF and CR; empty lines are skipped; each leading
// tab or blank is one level. A line deeper than the line before it + 1 (the first line
// deeper than 0) is refused with "Invalid level (n) for item "text"", and a level of
// max_depth or more with "tree too deep".
TreeTextRead ReadTreeText(std::string_view bytes, int max_depth);

// The bytes of tree text: one tab per level, the text in CP932, each line ended by CR LF.
std::string WriteTreeText(const std::vector<TreeTextLine>& lines);

}  // namespace kgui
