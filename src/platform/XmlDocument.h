// A read-only XML document tree: elements, parent links, attribute lookup by name, children in
// document order and where each element, attribute and attribute value starts. Text in any of the
// usual encodings arrives as UTF-8.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace qa::platform {

class FileSource;

struct XmlTree;

class XmlNode {
  public:
    XmlNode() = default;
    bool valid() const { return tree_ != nullptr && index_ >= 0; }
    bool isElement() const { return valid(); }
    std::string name() const;
    XmlNode parent() const;
    XmlNode firstChild() const;
    XmlNode nextSibling() const;
    // False when the attribute is absent; its value as UTF-8 otherwise.
    bool attribute(const char* attributeName, std::string& value) const;
    // Where the element's start tag begins: 1-based line and column (0 when unknown).
    int line() const;
    int column() const;
    // Where the attribute's name begins; false when the attribute is absent. An attribute that
    // comes from a default in the document type, or from markup inside an entity, gets the
    // element's position.
    bool attributePosition(const char* attributeName, int& line, int& column) const;
    // Where the character of the attribute's value (as parsed: entity references replaced, line
    // ends turned into spaces) at byte `index` is written; false when the attribute is absent or its
    // value does not stand in the document's own eight-bit text (an entity's markup, a default, a
    // document in UTF-16 or UTF-32).
    bool valuePosition(const char* attributeName, std::size_t index, int& line, int& column) const;
    // Whether the element's start tag stands in the document's own text (not in an entity's).
    bool written() const;
    // The attributes written in the start tag, in the order written (defaults from the document
    // type are not among them).
    int attributeCount() const;
    std::string attributeName(int index) const;
    // Every element named `elementName` below this node, in document order (walked without recursion).
    std::vector<XmlNode> descendantsNamed(const char* elementName) const;
    bool operator==(const XmlNode& other) const { return tree_ == other.tree_ && index_ == other.index_; }

  private:
    friend class XmlDocument;
    XmlNode(const XmlTree* tree, int index) : tree_(tree), index_(index) {}
    XmlNode at(int index) const { return index >= 0 ? XmlNode(tree_, index) : XmlNode(); }
    const XmlTree* tree_ = nullptr;
    int index_ = -1;
};

class XmlDocument {
  public:
    // Entity declarations allowed in one document: references nest at most this deep, which keeps
    // their expansion from exhausting the stack.
    static constexpr int kMaxEntityDeclarations = 1000;

    struct Error {
        int line = 0;    // 1-based; 0 when the file could not be read at all
        int column = 0;  // 1-based
        std::string reason;
        // The start line of the innermost element still open where reading stopped (0 when none).
        int openElementLine = 0;
        // The element an author most likely left open, when one can be told (in eight-bit text
        // only): the one inside the element that a mismatched end tag closes, or the innermost one
        // still open at the end of the text; in both cases rather an element closed by an end tag
        // indented like an element further out (a start tag written without its "/").
        struct OpenElement {
            std::string name;
            int line = 0;
            int column = 0;
            bool named = false;         // it has a name attribute
            std::string nameAsWritten;  // that attribute's value as written, between its quotes
        };
        bool leftOpenKnown = false;
        OpenElement leftOpen;
    };

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses the file; false (with `error()` filled) when it cannot be read or is not well-formed.
    // Nothing but this file is ever read: external entities and document types are not fetched.
    bool load(const std::string& windowsPath);
    // The same for a file of a disk's source.
    bool load(FileSource& files, const std::string& windowsPath);
    // Parses bytes already in memory.
    bool loadBytes(std::string bytes);
    XmlNode documentElement() const;
    const Error& error() const { return error_; }
    // Whether the text was read as UTF-16 or UTF-32 (where places inside values are not known).
    bool wideText() const { return wide_; }

  private:
    std::unique_ptr<XmlTree> tree_;
    Error error_;
    bool wide_ = false;
};

}  // namespace qa::platform
