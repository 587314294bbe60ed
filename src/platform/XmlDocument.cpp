// The document tree on pugixml. windows-1252 text, which pugixml does not know, is converted to
// UTF-8 before parsing; UTF-16 (with or without byte-order mark) and ISO-8859-1 pugixml converts itself.
#include "platform/XmlDocument.h"

#include <algorithm>
#include <cctype>
#include <pugixml.hpp>

#include "platform/Files.h"
#include "platform/Windows1252.h"

namespace qa::platform {

struct XmlDocument::Impl {
    pugi::xml_document doc;
    std::string text;                     // the bytes that were parsed (UTF-8 after conversion)
    std::vector<std::size_t> lineStarts;  // offsets of line starts in `text`, for line numbers
};

namespace {

pugi::xml_node toNode(void* p) {
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(p));
}

// When the declaration names windows-1252, converts the bytes to UTF-8 and declares UTF-8.
void convertWindows1252(std::string& bytes) {
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return;
    if (bytes.compare(0, 5, "<?xml") != 0) return;
    std::size_t end = bytes.find("?>");
    if (end == std::string::npos) return;
    std::string decl = bytes.substr(0, end);
    std::string lower = decl;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    std::size_t at = lower.find("encoding");
    if (at == std::string::npos) return;
    std::size_t q = lower.find_first_of("\"'", at);
    if (q == std::string::npos) return;
    std::size_t q2 = lower.find(lower[q], q + 1);
    if (q2 == std::string::npos) return;
    std::string name = lower.substr(q + 1, q2 - q - 1);
    if (name != "windows-1252" && name != "cp1252" && name != "x-cp1252") return;
    std::string out = decl.substr(0, q + 1) + "UTF-8" + decl.substr(q2);
    out.reserve(bytes.size() + bytes.size() / 4);
    for (std::size_t i = end; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        const std::uint32_t cp = Windows1252::codePoint(c);
        Windows1252::appendUtf8(out, cp || !c ? cp : 0xFFFD);
    }
    bytes.swap(out);
}

}  // namespace

bool XmlNode::isElement() const {
    return valid() && toNode(node_).type() == pugi::node_element;
}
std::string XmlNode::name() const {
    return valid() ? toNode(node_).name() : std::string();
}
XmlNode XmlNode::parent() const {
    if (!valid()) return {};
    pugi::xml_node p = toNode(node_).parent();
    return p ? XmlNode(p.internal_object(), doc_) : XmlNode();
}
XmlNode XmlNode::firstChild() const {
    if (!valid()) return {};
    pugi::xml_node c = toNode(node_).first_child();
    return c ? XmlNode(c.internal_object(), doc_) : XmlNode();
}
XmlNode XmlNode::nextSibling() const {
    if (!valid()) return {};
    pugi::xml_node s = toNode(node_).next_sibling();
    return s ? XmlNode(s.internal_object(), doc_) : XmlNode();
}
bool XmlNode::attribute(const char* attributeName, std::string& value) const {
    if (!valid()) return false;
    pugi::xml_attribute a = toNode(node_).attribute(attributeName);
    if (!a) return false;
    value = a.value();
    return true;
}
int XmlNode::line() const {
    if (!valid() || !doc_) return 0;
    return doc_->lineOf(toNode(node_).offset_debug());
}

std::vector<XmlNode> XmlNode::descendantsNamed(const char* elementName) const {
    std::vector<XmlNode> found;
    if (!valid()) return found;
    pugi::xml_node top = toNode(node_);
    pugi::xml_node cur = top.first_child();
    while (cur) {
        if (cur.type() == pugi::node_element && std::string_view(cur.name()) == elementName) {
            found.push_back(XmlNode(cur.internal_object(), doc_));
        }
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur && cur != top && !cur.next_sibling()) cur = cur.parent();
        if (!cur || cur == top) break;
        cur = cur.next_sibling();
    }
    return found;
}

XmlDocument::XmlDocument() : impl_(std::make_unique<Impl>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::load(const std::string& windowsPath) {
    std::string bytes;
    if (!Files::readAll(windowsPath, bytes)) {
        impl_->doc.reset();
        error_ = {0, 0, "the file cannot be read"};
        return false;
    }
    return loadBytes(std::move(bytes));
}

bool XmlDocument::loadBytes(std::string bytes) {
    impl_->doc.reset();
    error_ = {};
    convertWindows1252(bytes);
    pugi::xml_parse_result r = impl_->doc.load_buffer(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_declaration, pugi::encoding_auto);
    // Line numbers are counted in the bytes as read; for UTF-8 text (and windows-1252 text, converted
    // above) they are exact, for UTF-16 text they are approximate.
    impl_->text = std::move(bytes);
    impl_->lineStarts.assign(1, 0);
    for (std::size_t i = 0; i < impl_->text.size(); ++i)
        if (impl_->text[i] == '\n') impl_->lineStarts.push_back(i + 1);
    if (!r) {
        error_.line = lineOf(r.offset);
        std::size_t start = impl_->lineStarts[static_cast<std::size_t>(error_.line - 1)];
        error_.column =
            static_cast<int>(static_cast<std::size_t>(std::max<std::ptrdiff_t>(r.offset, 0)) - start) + 1;
        error_.reason = r.description();
        impl_->doc.reset();
        return false;
    }
    if (!impl_->doc.document_element()) {
        error_ = {1, 1, "no root element"};
        return false;
    }
    return true;
}

XmlNode XmlDocument::documentElement() const {
    pugi::xml_node e = impl_->doc.document_element();
    return e ? XmlNode(e.internal_object(), this) : XmlNode();
}

int XmlDocument::lineOf(std::ptrdiff_t offset) const {
    if (offset < 0 || impl_->lineStarts.empty()) return 1;
    auto it = std::upper_bound(impl_->lineStarts.begin(), impl_->lineStarts.end(),
                               static_cast<std::size_t>(offset));
    return static_cast<int>(it - impl_->lineStarts.begin());
}

}  // namespace qa::platform
