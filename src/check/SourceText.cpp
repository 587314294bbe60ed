// A small scanner of the document's markup: only tags, comments, processing instructions,
// declarations and CDATA are told apart; it never fails, it stops at the first tag it cannot read.
#include "check/SourceText.h"

#include <algorithm>
#include <cstring>

namespace qa::check {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameEnd(char c) {
    return isSpace(c) || c == '/' || c == '>' || c == '=' || c == '<';
}

// The UTF-8 length of a code point.
std::size_t utf8Length(unsigned long cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

}  // namespace

const SourceText::Attribute* SourceText::Element::attribute(const std::string& attributeName) const {
    for (const Attribute& a : attributes)
        if (a.name == attributeName) return &a;
    return nullptr;
}

SourceText::SourceText(std::string bytes) : text_(std::move(bytes)) {
    const bool utf16 = text_.size() >= 2 &&
                       (text_[0] == '\0' || text_[1] == '\0' || (text_[0] == '\xFF' && text_[1] == '\xFE') ||
                        (text_[0] == '\xFE' && text_[1] == '\xFF'));
    if (utf16) return;
    usable_ = true;
    lineStarts_.push_back(0);
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineStarts_.push_back(i + 1);
    scan();
}

void SourceText::scan() {
    const std::string& t = text_;
    const std::size_t n = t.size();
    std::vector<std::size_t> open;  // indices into elements_
    std::size_t i = 0;
    auto skipPast = [&](const char* end) {
        const std::size_t at = t.find(end, i);
        i = at == std::string::npos ? n : at + std::strlen(end);
    };
    while (true) {
        i = t.find('<', i);
        if (i == std::string::npos) {
            i = n;
            break;
        }
        if (t.compare(i, 4, "<!--") == 0) {
            skipPast("-->");
        } else if (t.compare(i, 9, "<![CDATA[") == 0) {
            skipPast("]]>");
        } else if (t.compare(i, 2, "<?") == 0) {
            skipPast("?>");
        } else if (t.compare(i, 2, "<!") == 0) {
            // A declaration; an internal subset in brackets may hold ">" of its own.
            std::size_t j = i + 2;
            int brackets = 0;
            while (j < n && !(t[j] == '>' && brackets == 0)) {
                if (t[j] == '[') ++brackets;
                if (t[j] == ']') --brackets;
                if (t[j] == '"' || t[j] == '\'') {
                    const std::size_t q = t.find(t[j], j + 1);
                    j = q == std::string::npos ? n : q;
                }
                ++j;
            }
            i = std::min(j + 1, n);
        } else if (t.compare(i, 2, "</") == 0) {
            const std::size_t start = i;
            std::size_t j = i + 2;
            while (j < n && !isNameEnd(t[j])) ++j;
            const std::string name = t.substr(i + 2, j - i - 2);
            if (!open.empty() && elements_[open.back()].name == name) {
                // An end tag on its own line, indented like an element further out rather than like
                // the one it closes, most likely belongs to that one: the element it closes was left
                // open (a start tag written without its "/").
                const Place startPlace = place(elements_[open.back()].offset), endPlace = place(start);
                if (suspect_ == std::string::npos && startPlace.line != endPlace.line &&
                    startPlace.column != endPlace.column) {
                    for (std::size_t k = open.size() - 1; k-- > 0;) {
                        if (place(elements_[open[k]].offset).column == endPlace.column) {
                            suspect_ = open.back();
                            break;
                        }
                    }
                }
                open.pop_back();
            } else {
                if (mismatchOffset_ == std::string::npos) {
                    mismatchOffset_ = start;
                    // The end tag closes an element further out: the one just inside it was left open.
                    for (std::size_t k = open.size(); k-- > 0;) {
                        if (elements_[open[k]].name == name) {
                            mismatchLeftOpen_ = open[k + 1];
                            break;
                        }
                    }
                }
                auto it = std::find_if(open.rbegin(), open.rend(),
                                       [&](std::size_t e) { return elements_[e].name == name; });
                if (it != open.rend()) open.erase(std::prev(it.base()), open.end());
            }
            const std::size_t gt = t.find('>', j);
            i = gt == std::string::npos ? n : gt + 1;
        } else {
            Element e;
            e.offset = i;
            std::size_t j = i + 1;
            while (j < n && !isNameEnd(t[j])) ++j;
            e.name = t.substr(i + 1, j - i - 1);
            if (e.name.empty()) {
                i = j;
                break;  // not a tag: the parser stops here too
            }
            bool closed = false, broken = false;
            while (j < n) {
                while (j < n && isSpace(t[j])) ++j;
                if (j >= n) break;
                if (t[j] == '>') {
                    ++j;
                    break;
                }
                if (t[j] == '/' && j + 1 < n && t[j + 1] == '>') {
                    closed = true;
                    j += 2;
                    break;
                }
                Attribute a;
                a.nameOffset = j;
                while (j < n && !isNameEnd(t[j])) ++j;
                a.name = t.substr(a.nameOffset, j - a.nameOffset);
                while (j < n && isSpace(t[j])) ++j;
                if (a.name.empty() || j >= n || t[j] != '=') {
                    broken = true;
                    break;
                }
                ++j;
                while (j < n && isSpace(t[j])) ++j;
                if (j >= n || (t[j] != '"' && t[j] != '\'')) {
                    broken = true;
                    break;
                }
                const std::size_t close = t.find(t[j], j + 1);
                if (close == std::string::npos) {
                    broken = true;
                    break;
                }
                a.valueOffset = j + 1;
                a.valueEnd = close;
                j = close + 1;
                e.attributes.push_back(std::move(a));
            }
            elements_.push_back(std::move(e));
            if (broken) {
                i = j;
                break;
            }
            if (!closed) open.push_back(elements_.size() - 1);
            i = j;
        }
        if (i >= n) break;
    }
    scanEnd_ = i;
    openAtEnd_ = open;
}

SourceText::Place SourceText::place(std::size_t offset) const {
    if (!usable_) return {};
    offset = std::min(offset, text_.size());
    auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    const std::size_t line = static_cast<std::size_t>(it - lineStarts_.begin());
    const std::size_t start = lineStarts_[line - 1];
    int column = 1;
    for (std::size_t k = start; k < offset; ++k)
        if ((static_cast<unsigned char>(text_[k]) & 0xC0) != 0x80) ++column;
    return {static_cast<int>(line), column};
}

std::size_t SourceText::valueByteOffset(const Attribute& attribute, std::size_t index) const {
    std::size_t raw = attribute.valueOffset;
    std::size_t decoded = 0;
    while (raw < attribute.valueEnd) {
        std::size_t rawLength = 1, decodedLength = 1;
        if (text_[raw] == '&') {
            const std::size_t semi = text_.find(';', raw);
            if (semi != std::string::npos && semi < attribute.valueEnd) {
                rawLength = semi - raw + 1;
                if (text_[raw + 1] == '#') {
                    const bool hex = text_[raw + 2] == 'x';
                    const std::string digits = text_.substr(raw + (hex ? 3 : 2), semi - raw - (hex ? 3 : 2));
                    decodedLength = utf8Length(std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10));
                }
            }
        } else if (text_[raw] == '\r' && raw + 1 < attribute.valueEnd && text_[raw + 1] == '\n') {
            rawLength = 2;
        }
        if (decoded + decodedLength > index) return raw;
        decoded += decodedLength;
        raw += rawLength;
    }
    return raw;
}

const SourceText::Element* SourceText::leftOpen(std::size_t errorOffset) const {
    if (!usable_) return nullptr;
    if (mismatchOffset_ != std::string::npos && mismatchOffset_ <= errorOffset) {
        if (mismatchLeftOpen_ == std::string::npos) return nullptr;
        if (suspect_ != std::string::npos && elements_[suspect_].offset < mismatchOffset_)
            return &elements_[suspect_];
        return &elements_[mismatchLeftOpen_];
    }
    // The parser ran out of text with elements still open.
    if (mismatchOffset_ == std::string::npos && scanEnd_ >= text_.size() && !openAtEnd_.empty() &&
        errorOffset + 1 >= text_.size()) {
        if (suspect_ != std::string::npos) return &elements_[suspect_];
        return &elements_[openAtEnd_.back()];
    }
    return nullptr;
}

}  // namespace qa::check
