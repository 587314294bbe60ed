// A read-only XML document tree: elements, parent links, attribute lookup by name and children in
// document order. Text in any of the usual encodings arrives as UTF-8.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qa::platform {

class XmlNode {
  public:
    XmlNode() = default;
    bool valid() const { return node_ != nullptr; }
    bool isElement() const;
    std::string name() const;
    XmlNode parent() const;
    XmlNode firstChild() const;
    XmlNode nextSibling() const;
    // False when the attribute is absent; its value as UTF-8 otherwise.
    bool attribute(const char* attributeName, std::string& value) const;
    // The 1-based line of the element's start in the document (0 when unknown).
    int line() const;
    // Every element named `elementName` below this node, in document order (walked without recursion).
    std::vector<XmlNode> descendantsNamed(const char* elementName) const;
    bool operator==(const XmlNode& other) const { return node_ == other.node_; }

  private:
    friend class XmlDocument;
    explicit XmlNode(void* node, const class XmlDocument* doc) : node_(node), doc_(doc) {}
    void* node_ = nullptr;
    const XmlDocument* doc_ = nullptr;
};

class XmlDocument {
  public:
    struct Error {
        int line = 0;    // 1-based; 0 when the file could not be read at all
        int column = 0;  // 1-based
        std::string reason;
    };

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses the file; false (with `error()` filled) when it cannot be read or parsed.
    bool load(const std::string& windowsPath);
    // Parses bytes already in memory.
    bool loadBytes(std::string bytes);
    XmlNode documentElement() const;
    const Error& error() const { return error_; }
    // The 1-based line holding a byte offset of the parsed text.
    int lineOf(std::ptrdiff_t offset) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Error error_;
};

}  // namespace qa::platform
