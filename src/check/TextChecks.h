// The characters of a text file that no glyph shows: in a UTF-8 file, those the 256 glyph codes do
// not hold; in any file, those whose cell in the item's font sheet is empty; and a file that is
// neither UTF-8 nor Windows-1252. Each finding is placed at the character in the text file.
#pragma once

#include <bitset>
#include <string>

#include "check/FindingReport.h"

namespace qa::check {

class TextChecks {
  public:
    // `file` is the name as the scene writes it; `bytes` the file as stored (`cut`: the start of a
    // longer file). `inked` holds the font sheet's cells that have a glyph, null for the system
    // font, which shows every character of the code page; `sheet` is the sheet's name.
    static void check(const std::string& file, const std::string& bytes, bool cut,
                      const std::bitset<256>* inked, const std::string& sheet, FindingReport& report);

    // Findings about characters without a glyph stop at this many per file, with one more that
    // counts the rest.
    static constexpr int kMaxCharacters = 5;
};

}  // namespace qa::check
