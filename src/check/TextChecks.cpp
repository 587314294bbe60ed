// Characters without a glyph, and text files in neither encoding.
#include "check/TextChecks.h"

#include <cstdio>
#include <map>
#include <vector>

#include "platform/Windows1252.h"
#include "scene/PictureCache.h"

namespace qa::check {

namespace {

using platform::Windows1252;

// The file's name as findings write it: forward slashes.
std::string findingFile(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    while (name.rfind("./", 0) == 0) name.erase(0, 2);
    return name;
}

std::string codeText(std::uint32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// A blank glyph needs no ink: the space, the no-break space and the soft hyphen; control codes have
// no glyph at all.
bool needsInk(unsigned char b) {
    return b > 0x20 && b != 0x7F && b != 0xA0 && b != 0xAD;
}

struct Missing {
    int line = 0;
    int column = 0;
    int count = 0;
};

}  // namespace

void TextChecks::check(const std::string& file, const std::string& bytes, bool cut,
                       const std::bitset<256>* inked, const std::string& sheet, FindingReport& report) {
    const bool utf8 = Windows1252::isUtf8Text(bytes, cut);
    auto finding = [&](int line, int column) {
        Finding f;
        f.severity = Severity::Warning;
        f.file = findingFile(file);
        f.line = line;
        f.column = column;
        return f;
    };
    // Where the bytes stop being UTF-8, whether they hold UTF-8 characters, and the first byte the
    // code page leaves unassigned.
    const std::size_t none = bytes.size();
    std::size_t firstInvalid = none, firstUnassigned = none;
    bool anyMultiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        std::uint32_t cp;
        const std::size_t n = Windows1252::decodeUtf8(bytes, at, cp);
        if (n == 0 && firstInvalid == none) firstInvalid = at;
        anyMultiByte = anyMultiByte || n > 1;
        at += n ? n : 1;
    }
    for (std::size_t at = 0; at < bytes.size() && firstUnassigned == none; ++at) {
        const auto b = static_cast<unsigned char>(bytes[at]);
        if (b >= 0x80 && Windows1252::codePoint(b) == 0) firstUnassigned = at;
    }
    const bool utf16 =
        !utf8 && bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    // Neither encoding: UTF-8 characters beside bytes that break it, or a byte that is no character.
    std::size_t neither = none;
    if (!utf8 && !utf16) neither = anyMultiByte && firstInvalid != none ? firstInvalid : firstUnassigned;

    // The walk through the characters, counting lines (a line ends at "\r\n", "\r" or "\n") and
    // characters within them.
    std::map<std::uint32_t, Missing> missing;  // by code point
    std::vector<std::uint32_t> order;          // as first met
    int line = 1, column = 0;
    Missing neitherPlace;
    const std::size_t start = utf8 && bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (std::size_t at = start; at < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[at]);
        std::uint32_t cp = b;
        std::size_t n = 1;
        if (utf8) {
            n = Windows1252::decodeUtf8(bytes, at, cp);
            if (n == 0) break;  // only a sequence cut off at the end of the bytes read
        }
        if (at == neither) neitherPlace = {line, column + 1, 1};
        at += n;
        if (cp == '\n' || cp == '\r') {
            if (cp == '\r' && at < bytes.size() && bytes[at] == '\n') ++at;
            ++line, column = 0;
            continue;
        }
        ++column;
        const unsigned char code = utf8 ? Windows1252::byteOf(cp) : b;
        const bool noCode = utf8 && code == 0 && cp != 0;
        const bool emptyCell = !noCode && inked && needsInk(code) && !(*inked)[code];
        if (!noCode && !emptyCell) continue;
        Missing& m = missing[cp];
        if (m.count++ == 0) {
            m.line = line, m.column = column;
            order.push_back(cp);
        }
    }

    if (utf16) {
        Finding f = finding(1, 1);
        f.code = "text-encoding";
        f.message =
            "text file " + Finding::quoted(file) +
            " is UTF-16, which is not read as such: its text shows with gaps and stray signs; save it "
            "as UTF-8";
        report.add(std::move(f));
        return;
    }
    if (neither != none) {
        Finding f = finding(neitherPlace.line, neitherPlace.column);
        f.code = "text-encoding";
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X",
                      static_cast<unsigned>(static_cast<unsigned char>(bytes[neither])));
        f.message = "text file " + Finding::quoted(file) + " is neither UTF-8 nor Windows-1252: " +
                    (anyMultiByte ? "it holds UTF-8 characters, but byte " + std::string(hex) +
                                        " here is not UTF-8, so the whole file is read as Windows-1252 and "
                                        "each UTF-8 character shows as two or three others"
                                  : "byte " + std::string(hex) + " here stands for no character") +
                    "; save it as UTF-8";
        report.add(std::move(f));
    }

    int reported = 0;
    for (std::uint32_t cp : order) {
        const Missing& m = missing[cp];
        if (reported == kMaxCharacters) {
            const int more = static_cast<int>(order.size()) - kMaxCharacters;
            Finding f = finding(m.line, m.column);
            f.code = "no-glyph";
            f.message = std::to_string(more) + " more characters of text file " + Finding::quoted(file) +
                        " have no glyph";
            report.add(std::move(f));
            break;
        }
        ++reported;
        std::string shown;
        Windows1252::appendUtf8(shown, utf8 ? cp : Windows1252::codePoint(static_cast<unsigned char>(cp)));
        const std::string times = m.count > 1 ? ", " + std::to_string(m.count) + " times" : "";
        Finding f = finding(m.line, m.column);
        f.code = "no-glyph";
        const unsigned char code = utf8 ? Windows1252::byteOf(cp) : static_cast<unsigned char>(cp);
        if (utf8 && code == 0) {
            f.message =
                Finding::quoted(shown) + " (" + codeText(cp) + times + ")" +
                " has no glyph: texts are shown in the 256 Windows-1252 characters, so it shows as \"" +
                std::string(1, scene::PictureCache::kReplacement) + "\"";
        } else {
            f.message =
                Finding::quoted(shown) + (m.count > 1 ? " (" + std::to_string(m.count) + " times)" : "") +
                " has no glyph in the font sheet " + Finding::quoted(sheet) + ", so it shows as a gap";
        }
        report.add(std::move(f));
    }
}

}  // namespace qa::check
