// The document tree built from expat's events. expat reads UTF-8, UTF-16 and ISO-8859-1 itself;
// windows-1252 comes through its unknown-encoding hook and UTF-32 is converted beforehand. Bytes of
// an eight-bit document that are not UTF-8 (text saved in a Western code page without saying so)
// are kept as they are. expat never opens a file: with no external-entity handler installed,
// external entities and document types are left unread.
#include "platform/XmlDocument.h"

// Debian's expat is built with document type support; the header declares its entity expansion
// limits only when told so.
#define XML_DTD
#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/Windows1252.h"
#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"

namespace qa::platform {

struct XmlTree {
    struct Attribute {
        std::string name;
        std::string value;
        int line = 0;
        int column = 0;
        // Where the value starts, and the value as written when that differs from the parsed one
        // (entity references, line ends, bytes of an eight-bit code page); known only for values
        // that stand in the document's own eight-bit text.
        bool valuePlaced = false;
        int valueLine = 0;
        int valueColumn = 0;
        bool writtenDiffers = false;
        std::string written;
    };
    struct Element {
        std::string name;
        int parent = -1;
        int firstChild = -1;
        int lastChild = -1;
        int nextSibling = -1;
        int line = 0;
        int column = 0;
        bool written = false;  // the start tag stands in the document's own text
        int specified = 0;     // attributes written in the start tag (the first ones)
        std::vector<Attribute> attributes;
        // Attribute positions by name, for elements with many attributes.
        std::unique_ptr<std::unordered_map<std::string, int>> byName;
    };
    // Elements with more attributes than this find them through a hash table.
    static constexpr std::size_t kLinearAttributes = 16;
    std::vector<Element> elements;  // in document order; the root element (when there is one) first

    const Attribute* find(int element, const char* name) const {
        const Element& e = elements[static_cast<std::size_t>(element)];
        if (e.byName) {
            auto it = e.byName->find(name);
            return it == e.byName->end() ? nullptr : &e.attributes[static_cast<std::size_t>(it->second)];
        }
        for (const Attribute& a : e.attributes)
            if (a.name == name) return &a;
        return nullptr;
    }
};

namespace {

// Expansion of entities stops when their text grows past 100 times the document's own bytes,
// counted once more than 8 MiB have been produced.
constexpr float kMaxAmplification = 100.0f;
constexpr unsigned long long kAmplificationThreshold = 8ull << 20;

// How the bytes are handed to the parser.
enum class Encoding {
    Utf8,         // eight-bit text read as UTF-8, whatever its declaration names
    Latin1,       // declared ISO-8859-1 or latin1
    Windows1252,  // declared windows-1252
    Utf16,        // by byte-order mark or by the zero bytes of its first character; the parser decides
};

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The encoding named in the XML declaration at the very start of the bytes, lower case; empty
// when there is none.
std::string declaredEncoding(const std::string& bytes) {
    if (bytes.compare(0, 5, "<?xml") != 0) return {};
    std::size_t end = bytes.find("?>");
    if (end == std::string::npos) return {};
    std::string decl = lowerAscii(bytes.substr(0, end));
    std::size_t at = decl.find("encoding");
    if (at == std::string::npos) return {};
    std::size_t q = decl.find_first_of("\"'", at);
    if (q == std::string::npos) return {};
    std::size_t q2 = decl.find(decl[q], q + 1);
    if (q2 == std::string::npos) return {};
    return decl.substr(q + 1, q2 - q - 1);
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-32 text (by byte-order mark or by the zero bytes of its first character) converted to UTF-8.
// False when the bytes are not UTF-32. A value that is no character, and a character cut short,
// become something the parser refuses.
bool convertUtf32(std::string& bytes) {
    if (bytes.size() < 4) return false;
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    bool big;
    if (b(0) == 0 && b(1) == 0 && ((b(2) == 0xFE && b(3) == 0xFF) || (b(2) == 0 && b(3) == '<'))) {
        big = true;
    } else if (((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == '<' && b(1) == 0)) && b(2) == 0 && b(3) == 0) {
        big = false;
    } else {
        return false;
    }
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::uint32_t cp = big ? (std::uint32_t(b(i)) << 24 | std::uint32_t(b(i + 1)) << 16 |
                                  std::uint32_t(b(i + 2)) << 8 | b(i + 3))
                               : (std::uint32_t(b(i + 3)) << 24 | std::uint32_t(b(i + 2)) << 16 |
                                  std::uint32_t(b(i + 1)) << 8 | b(i));
        if (i == 0 && cp == 0xFEFF) continue;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFE;  // not a character: refused
        appendUtf8(out, cp);
    }
    if (bytes.size() % 4 != 0) out += '\xFF';  // a character cut short: refused
    bytes.swap(out);
    return true;
}

// The length of the well-formed UTF-8 sequence at p, 0 when there is none.
std::size_t utf8Length(const unsigned char* p, std::size_t left) {
    const unsigned char c = p[0];
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (left < n || p[1] < lo || p[1] > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if ((p[k] & 0xC0) != 0x80) return 0;
    return n;
}

// A byte that is not part of well-formed UTF-8 travels through the parser as one of the last 128
// code points of the private use plane 16 (U+10FF80 + byte - 0x80), and is turned back into the
// byte in what the document yields. False when every byte was UTF-8 already (nothing changed).
bool escapeStrayBytes(std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        std::size_t n = utf8Length(p + i, size - i);
        if (n == 0) break;
        i += n;
    }
    if (i == size) return false;
    std::string out(bytes, 0, i);
    out.reserve(size + size / 2);
    while (i < size) {
        std::size_t n = utf8Length(p + i, size - i);
        if (n == 0) {
            appendUtf8(out, 0x10FF00u + p[i]);
            ++i;
        } else {
            out.append(bytes, i, n);
            i += n;
        }
    }
    bytes.swap(out);
    return true;
}

void unescapeStrayBytes(std::string& s) {
    std::size_t w = 0;
    for (std::size_t r = 0; r < s.size();) {
        if (r + 4 <= s.size() && s[r] == '\xF4' && s[r + 1] == '\x8F' &&
            (s[r + 2] == '\xBE' || s[r + 2] == '\xBF')) {
            const unsigned char last = static_cast<unsigned char>(s[r + 3]);
            s[w++] = static_cast<char>((s[r + 2] == '\xBE' ? 0x80 : 0xC0) | (last & 0x3F));
            r += 4;
        } else {
            s[w++] = s[r++];
        }
    }
    s.resize(w);
}

int XMLCALL unknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    const std::string lower = lowerAscii(name);
    if (lower != "windows-1252") return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b) {
        const std::uint32_t cp =
            b < 0x80 ? std::uint32_t(b) : Windows1252::codePoint(static_cast<unsigned char>(b));
        info->map[b] = static_cast<int>(cp || b == 0 ? cp : 0xFFFD);  // unassigned bytes: U+FFFD
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Walks the bytes of a start tag the way the parser counts positions: a character is one column
// (a UTF-8 sequence or a UTF-16 surrogate pair counts once), and CR, LF and CR LF end a line.
class TagCursor {
  public:
    TagCursor(const std::string& bytes, std::size_t begin, std::size_t end, Encoding enc, bool bigEndian,
              int line, int column)
        : bytes_(bytes),
          pos_(begin),
          end_(end),
          unit_(enc == Encoding::Utf16 ? 2 : 1),
          utf8_(enc == Encoding::Utf8),
          big_(bigEndian),
          line_(line),
          column_(column) {}

    bool atEnd() const { return pos_ + unit_ > end_; }
    // The character's value when it is ASCII; something above 0x7F otherwise.
    std::uint32_t peek() const { return atEnd() ? 0 : unitAt(pos_); }
    bool space() const {
        const std::uint32_t c = peek();
        return !atEnd() && (c == ' ' || c == '\t' || c == '\r' || c == '\n');
    }
    int line() const { return line_; }
    int column() const { return column_; }
    std::size_t pos() const { return pos_; }

    void advance() {
        if (atEnd()) return;
        const std::uint32_t c = unitAt(pos_);
        std::size_t width = unit_;
        if (utf8_ && c >= 0xC0) width = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        if (unit_ == 2 && c >= 0xD800 && c <= 0xDBFF) width = 4;
        pos_ += width;
        if (c == '\r') {
            ++line_;
            column_ = 1;
            if (!atEnd() && unitAt(pos_) == '\n') pos_ += unit_;
        } else if (c == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
    }

  private:
    std::uint32_t unitAt(std::size_t i) const {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(bytes_[k]); };
        if (unit_ == 1) return b(i);
        return big_ ? (std::uint32_t(b(i)) << 8 | b(i + 1)) : (std::uint32_t(b(i + 1)) << 8 | b(i));
    }

    const std::string& bytes_;
    std::size_t pos_, end_, unit_;
    bool utf8_, big_;
    int line_, column_;
};

// The state of one parse, reached from expat's callbacks.
struct Builder {
    XML_Parser parser = nullptr;
    XmlTree* tree = nullptr;
    const std::string* bytes = nullptr;
    Encoding encoding = Encoding::Utf8;
    bool bigEndian = false;
    bool escaped = false;
    bool wide = false;  // UTF-32 converted to UTF-8
    std::vector<int> open;
    int entityDeclarations = 0;
    bool tooManyEntities = false;
    // How many written elements still open start at each column, and the first element closed by an
    // end tag on a line of its own, indented like an element further out (for XmlDocument::Error).
    std::unordered_map<int, int> openColumns;
    int suspect = -1;

    // Where an attribute written in a start tag stands: its name, and its value between the quotes.
    struct Written {
        int line = 0, column = 0;
        int valueLine = 0, valueColumn = 0;
        std::size_t valueBegin = 0, valueEnd = 0;
    };
    bool outOfMemory = false;

    void start(const XML_Char* name, const XML_Char** atts) {
        XmlTree::Element e;
        e.name = name;
        e.line = static_cast<int>(XML_GetCurrentLineNumber(parser));
        e.column = static_cast<int>(XML_GetCurrentColumnNumber(parser)) + 1;
        const int specified = XML_GetSpecifiedAttributeCount(parser) / 2;
        e.specified = specified;
        bool inText = false;
        std::vector<Written> positions = attributePositions(e.line, e.column, inText);
        if (static_cast<int>(positions.size()) != specified) positions.clear();
        e.written = inText;
        const bool valuesKnown = encoding != Encoding::Utf16 && !wide;
        for (int i = 0; atts[2 * i]; ++i) {
            XmlTree::Attribute a;
            a.name = atts[2 * i];
            a.value = atts[2 * i + 1];
            a.line = e.line;
            a.column = e.column;
            if (escaped) {
                unescapeStrayBytes(a.name);
                unescapeStrayBytes(a.value);
            }
            if (i < static_cast<int>(positions.size())) {
                const Written& w = positions[static_cast<std::size_t>(i)];
                a.line = w.line;
                a.column = w.column;
                if (valuesKnown) {
                    a.valuePlaced = true;
                    a.valueLine = w.valueLine;
                    a.valueColumn = w.valueColumn;
                    std::string written = bytes->substr(w.valueBegin, w.valueEnd - w.valueBegin);
                    if (escaped) unescapeStrayBytes(written);
                    if (written != a.value) {
                        a.writtenDiffers = true;
                        a.written = std::move(written);
                    }
                }
            }
            e.attributes.push_back(std::move(a));
        }
        if (e.attributes.size() > XmlTree::kLinearAttributes) {
            e.byName = std::make_unique<std::unordered_map<std::string, int>>();
            for (std::size_t i = 0; i < e.attributes.size(); ++i)
                e.byName->emplace(e.attributes[i].name, static_cast<int>(i));
        }
        if (escaped) unescapeStrayBytes(e.name);
        if (e.written) ++openColumns[e.column];
        const int index = static_cast<int>(tree->elements.size());
        if (!open.empty()) {
            e.parent = open.back();
            XmlTree::Element& parent = tree->elements[static_cast<std::size_t>(e.parent)];
            if (parent.lastChild >= 0) {
                tree->elements[static_cast<std::size_t>(parent.lastChild)].nextSibling = index;
            } else {
                parent.firstChild = index;
            }
            parent.lastChild = index;
        }
        tree->elements.push_back(std::move(e));
        open.push_back(index);
    }

    // Where each attribute written in the current start tag begins; empty when the tag came from
    // an entity's text (its bytes are not in the document), and `inText` false then.
    std::vector<Written> attributePositions(int line, int column, bool& inText) const {
        std::vector<Written> found;
        const int count = XML_GetCurrentByteCount(parser);
        const XML_Index at = XML_GetCurrentByteIndex(parser);
        inText = false;
        if (count <= 0 || at < 0 || static_cast<std::size_t>(at) + count > bytes->size()) return found;
        const std::size_t begin = static_cast<std::size_t>(at);
        TagCursor c(*bytes, begin, begin + static_cast<std::size_t>(count), encoding, bigEndian, line,
                    column);
        // Markup from an entity is reported at the reference, which is no tag.
        if (c.peek() != '<') return found;
        inText = true;
        c.advance();
        while (!c.atEnd() && !c.space() && c.peek() != '/' && c.peek() != '>') c.advance();
        for (;;) {
            while (c.space()) c.advance();
            if (c.atEnd() || c.peek() == '/' || c.peek() == '>') break;
            Written w;
            w.line = c.line();
            w.column = c.column();
            while (!c.atEnd() && !c.space() && c.peek() != '=') c.advance();
            while (c.space()) c.advance();
            if (c.peek() == '=') c.advance();
            while (c.space()) c.advance();
            const std::uint32_t quote = c.peek();
            c.advance();
            w.valueLine = c.line();
            w.valueColumn = c.column();
            w.valueBegin = c.pos();
            while (!c.atEnd() && c.peek() != quote) c.advance();
            w.valueEnd = c.pos();
            c.advance();
            found.push_back(w);
        }
        return found;
    }

    void end() {
        const int index = open.back();
        open.pop_back();
        const XmlTree::Element& e = tree->elements[static_cast<std::size_t>(index)];
        if (!e.written) return;
        --openColumns[e.column];
        if (suspect >= 0 || XML_GetCurrentByteCount(parser) <= 0) return;
        // An end tag on its own line, indented like an element further out rather than like the
        // one it closes, most likely belongs to that one: the element it closes was left open.
        const int line = static_cast<int>(XML_GetCurrentLineNumber(parser));
        const int column = static_cast<int>(XML_GetCurrentColumnNumber(parser)) + 1;
        if (line == e.line || column == e.column) return;
        auto further = openColumns.find(column);
        if (further != openColumns.end() && further->second > 0) suspect = index;
    }

    // The element most likely left open where the parse stopped, -1 when none can be told.
    int leftOpen(XML_Error code, std::size_t errorAt) const {
        if (code == XML_ERROR_TAG_MISMATCH) {
            // The end tag closes an element further out: the one just inside it was left open.
            std::size_t i = errorAt;
            if (bytes->compare(i, 2, "</") == 0) i += 2;
            std::size_t j = i;
            while (j < bytes->size() &&
                   std::string_view(" \t\r\n/>=<").find((*bytes)[j]) == std::string_view::npos)
                ++j;
            std::string name = bytes->substr(i, j - i);
            if (escaped) unescapeStrayBytes(name);
            for (std::size_t k = open.size(); k-- > 0;) {
                if (tree->elements[static_cast<std::size_t>(open[k])].name != name) continue;
                if (k + 1 >= open.size()) return -1;
                return suspect >= 0 ? suspect : open[k + 1];
            }
            return -1;
        }
        // The text ran out with elements still open.
        if (!open.empty() && errorAt + 1 >= bytes->size()) return suspect >= 0 ? suspect : open.back();
        return -1;
    }

    void entityDeclared() {
        if (++entityDeclarations > XmlDocument::kMaxEntityDeclarations && !tooManyEntities) {
            tooManyEntities = true;
            XML_StopParser(parser, XML_FALSE);
        }
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** atts) {
    // No exception may pass through the parser: a tree that cannot grow stops the parse.
    auto* b = static_cast<Builder*>(data);
    try {
        b->start(name, atts);
    } catch (const std::bad_alloc&) {
        b->outOfMemory = true;
        XML_StopParser(b->parser, XML_FALSE);
    }
}
void XMLCALL onEnd(void* data, const XML_Char*) {
    auto* b = static_cast<Builder*>(data);
    if (b->open.empty() || b->outOfMemory) return;
    try {
        b->end();
    } catch (const std::bad_alloc&) {
        b->outOfMemory = true;
        XML_StopParser(b->parser, XML_FALSE);
    }
}
void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    static_cast<Builder*>(data)->entityDeclared();
}

}  // namespace

std::string XmlNode::name() const {
    return valid() ? tree_->elements[static_cast<std::size_t>(index_)].name : std::string();
}
XmlNode XmlNode::parent() const {
    return valid() ? at(tree_->elements[static_cast<std::size_t>(index_)].parent) : XmlNode();
}
XmlNode XmlNode::firstChild() const {
    return valid() ? at(tree_->elements[static_cast<std::size_t>(index_)].firstChild) : XmlNode();
}
XmlNode XmlNode::nextSibling() const {
    return valid() ? at(tree_->elements[static_cast<std::size_t>(index_)].nextSibling) : XmlNode();
}
bool XmlNode::attribute(const char* attributeName, std::string& value) const {
    if (!valid()) return false;
    const XmlTree::Attribute* a = tree_->find(index_, attributeName);
    if (!a) return false;
    value = a->value;
    return true;
}
int XmlNode::line() const {
    return valid() ? tree_->elements[static_cast<std::size_t>(index_)].line : 0;
}
int XmlNode::column() const {
    return valid() ? tree_->elements[static_cast<std::size_t>(index_)].column : 0;
}
bool XmlNode::attributePosition(const char* attributeName, int& line, int& column) const {
    if (!valid()) return false;
    const XmlTree::Attribute* a = tree_->find(index_, attributeName);
    if (!a) return false;
    line = a->line;
    column = a->column;
    return true;
}

bool XmlNode::valuePosition(const char* attributeName, std::size_t index, int& line, int& column) const {
    if (!valid()) return false;
    const XmlTree::Attribute* a = tree_->find(index_, attributeName);
    if (!a || !a->valuePlaced) return false;
    // The written byte of the parsed byte at `index`: an entity reference stands for one character
    // (a numeric one for its UTF-8 bytes), and CR LF for one space.
    const std::string& text = a->writtenDiffers ? a->written : a->value;
    const std::size_t end = text.size();
    std::size_t raw = 0, decoded = 0;
    while (raw < end) {
        std::size_t rawLength = 1, decodedLength = 1;
        if (text[raw] == '&') {
            const std::size_t semi = text.find(';', raw);
            if (semi != std::string::npos) {
                rawLength = semi - raw + 1;
                if (raw + 1 < end && text[raw + 1] == '#') {
                    const bool hex = raw + 2 < end && text[raw + 2] == 'x';
                    const std::string digits = text.substr(raw + (hex ? 3 : 2), semi - raw - (hex ? 3 : 2));
                    const unsigned long cp = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
                    decodedLength = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
                }
            }
        } else if (text[raw] == '\r' && raw + 1 < end && text[raw + 1] == '\n') {
            rawLength = 2;
        }
        if (decoded + decodedLength > index) break;
        decoded += decodedLength;
        raw += rawLength;
    }
    // Lines end at line feeds; a column is a character of UTF-8 (a byte that does not continue one).
    line = a->valueLine;
    column = a->valueColumn;
    for (std::size_t k = 0; k < raw && k < end; ++k) {
        if (text[k] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return true;
}

bool XmlNode::written() const {
    return valid() && tree_->elements[static_cast<std::size_t>(index_)].written;
}

int XmlNode::attributeCount() const {
    return valid() ? tree_->elements[static_cast<std::size_t>(index_)].specified : 0;
}

std::string XmlNode::attributeName(int index) const {
    if (!valid() || index < 0 || index >= attributeCount()) return std::string();
    return tree_->elements[static_cast<std::size_t>(index_)].attributes[static_cast<std::size_t>(index)].name;
}

std::vector<XmlNode> XmlNode::descendantsNamed(const char* elementName) const {
    // Elements are stored in document order and a subtree is one contiguous run after its top.
    std::vector<XmlNode> found;
    if (!valid()) return found;
    const auto& elements = tree_->elements;
    for (std::size_t i = static_cast<std::size_t>(index_) + 1; i < elements.size(); ++i) {
        if (elements[i].parent < index_) break;  // past the subtree: a later sibling of it or of an ancestor
        if (elements[i].name == elementName) found.push_back(XmlNode(tree_, static_cast<int>(i)));
    }
    return found;
}

XmlDocument::XmlDocument() : tree_(std::make_unique<XmlTree>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::load(const std::string& windowsPath) {
    file::FolderSource folder;
    return load(folder, windowsPath);
}

bool XmlDocument::load(FileSource& files, const std::string& windowsPath) {
    try {
        std::string bytes;
        std::unique_ptr<InputStream> file = files.open(windowsPath);
        if (!file || !Files::readAll(*file, bytes) || file->failed()) {
            tree_->elements.clear();
            error_ = {};
            error_.reason = "the file cannot be read";
            return false;
        }
        return loadBytes(std::move(bytes));
    } catch (const std::bad_alloc&) {
        tree_->elements.clear();
        tree_->elements.shrink_to_fit();
        error_ = {};
        error_.reason = "out of memory";
        return false;
    }
}

bool XmlDocument::loadBytes(std::string bytes) {
    tree_->elements.clear();
    error_ = {};

    Builder b;
    b.tree = tree_.get();
    const auto byte = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100;
    };
    const char* protocolEncoding = "UTF-8";
    if (convertUtf32(bytes)) {
        b.wide = true;
        b.escaped = escapeStrayBytes(bytes);
    } else if (bytes.size() >= 2 && (byte(0) == 0 || byte(1) == 0 || (byte(0) == 0xFE && byte(1) == 0xFF) ||
                                     (byte(0) == 0xFF && byte(1) == 0xFE))) {
        b.encoding = Encoding::Utf16;
        b.bigEndian = byte(0) == 0 || byte(0) == 0xFE;
        protocolEncoding = nullptr;  // the parser reads the mark or the zero bytes itself
    } else {
        const std::string declared = declaredEncoding(bytes);
        if (declared == "iso-8859-1" || declared == "latin1") {
            b.encoding = Encoding::Latin1;
            protocolEncoding = "ISO-8859-1";
        } else if (declared == "windows-1252" || declared == "cp1252" || declared == "x-cp1252") {
            b.encoding = Encoding::Windows1252;
            protocolEncoding = "windows-1252";
        } else {
            // UTF-8 whatever else the declaration names.
            b.escaped = escapeStrayBytes(bytes);
        }
    }
    b.bytes = &bytes;
    wide_ = b.wide || b.encoding == Encoding::Utf16;

    XML_Parser parser = XML_ParserCreate(protocolEncoding);
    if (!parser) {
        error_ = {};
        error_.reason = "out of memory";
        return false;
    }
    b.parser = parser;
    XML_SetUserData(parser, &b);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetEntityDeclHandler(parser, onEntityDecl);
    XML_SetUnknownEncodingHandler(parser, unknownEncoding, nullptr);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, kMaxAmplification);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, kAmplificationThreshold);

    // Fed in pieces: the parser takes an int length.
    constexpr std::size_t kPiece = 1 << 20;
    bool ok = true;
    std::size_t fed = 0;
    do {
        const std::size_t n = std::min(kPiece, bytes.size() - fed);
        const bool last = fed + n == bytes.size();
        ok = XML_Parse(parser, bytes.data() + fed, static_cast<int>(n), last) == XML_STATUS_OK;
        fed += n;
    } while (ok && fed < bytes.size());

    if (!ok) {
        error_.line = static_cast<int>(XML_GetErrorLineNumber(parser));
        error_.column = static_cast<int>(XML_GetErrorColumnNumber(parser)) + 1;
        error_.reason = b.tooManyEntities
                            ? "more than " + std::to_string(kMaxEntityDeclarations) + " entities declared"
                        : b.outOfMemory ? "out of memory"
                                        : XML_ErrorString(XML_GetErrorCode(parser));
        if (!b.open.empty())
            error_.openElementLine = tree_->elements[static_cast<std::size_t>(b.open.back())].line;
        const XML_Index at = XML_GetCurrentByteIndex(parser);
        const int open =
            wide_ || at < 0 ? -1 : b.leftOpen(XML_GetErrorCode(parser), static_cast<std::size_t>(at));
        if (open >= 0) {
            const XmlTree::Element& e = tree_->elements[static_cast<std::size_t>(open)];
            error_.leftOpenKnown = true;
            error_.leftOpen.name = e.name;
            error_.leftOpen.line = e.line;
            error_.leftOpen.column = e.column;
            if (const XmlTree::Attribute* name = tree_->find(open, "name")) {
                error_.leftOpen.named = true;
                error_.leftOpen.nameAsWritten = name->writtenDiffers ? name->written : name->value;
            }
        }
        tree_->elements.clear();
    }
    XML_ParserFree(parser);
    return ok;
}

XmlNode XmlDocument::documentElement() const {
    return tree_->elements.empty() ? XmlNode() : XmlNode(tree_.get(), 0);
}

}  // namespace qa::platform
