// The scene document's text as written, for places: the start tags in document order with the
// offsets of their attributes and values, lines and columns of byte offsets, and, for a document that
// does not parse, the element that was left open.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qa::check {

class SourceText {
  public:
    struct Attribute {
        std::string name;
        std::size_t nameOffset = 0;
        std::size_t valueOffset = 0;  // first byte inside the quotes
        std::size_t valueEnd = 0;     // the closing quote
    };
    struct Element {
        std::string name;
        std::size_t offset = 0;  // the "<"
        std::vector<Attribute> attributes;
        const Attribute* attribute(const std::string& attributeName) const;
    };
    struct Place {
        int line = 0;    // 1-based, 0 when unknown
        int column = 0;  // 1-based, in characters; 0 when unknown
    };

    // Scans the bytes. Text in UTF-16 is not scanned (its places are unknown).
    explicit SourceText(std::string bytes);

    // Whether the text could be scanned: places are known.
    bool usable() const { return usable_; }
    // Every start tag, in document order, as far as the text is well formed.
    const std::vector<Element>& elements() const { return elements_; }
    Place place(std::size_t offset) const;
    // The offset of the byte of an attribute's value (as the parser hands it on, with entity
    // references replaced and line ends turned into spaces) at the given index.
    std::size_t valueByteOffset(const Attribute& attribute, std::size_t index) const;

    // For a document that does not parse at errorOffset: the element left open there, if one can be
    // told: the one inside the element that a mismatched end tag closes, or the innermost one still
    // open at the end of the text. Null when the error is of another kind.
    const Element* leftOpen(std::size_t errorOffset) const;

  private:
    void scan();

    std::string text_;
    bool usable_ = false;
    std::vector<Element> elements_;
    std::vector<std::size_t> lineStarts_;
    // What the scan saw of the nesting: the first end tag that did not close the innermost open
    // element, with the element it left open (an index into elements_, or npos), and the elements
    // still open at the end.
    std::size_t mismatchOffset_ = std::string::npos;
    std::size_t mismatchLeftOpen_ = std::string::npos;
    std::vector<std::size_t> openAtEnd_;
    // The first element closed by an end tag indented like an element further out (see scan).
    std::size_t suspect_ = std::string::npos;
    std::size_t scanEnd_ = 0;  // where the scan stopped (the end, or the first malformed tag)
};

}  // namespace qa::check
