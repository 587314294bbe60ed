// Places of findings in the scene document.
#include "check/Places.h"

namespace qa::check {

Finding Places::base(Severity severity, const ItemTree::Item& item, std::size_t offset, bool known) const {
    Finding f;
    f.severity = severity;
    f.file = kDocument;
    f.aboutItem = true;
    f.itemName = item.name;
    f.itemIndex = item.index;
    if (known) {
        const SourceText::Place p = source_.place(offset);
        f.line = p.line;
        f.column = p.column;
    } else {
        f.line = item.element.line();
        f.column = item.element.column();
    }
    return f;
}

Finding Places::item(Severity severity, const ItemTree::Item& item) const {
    return base(severity, item, item.source ? item.source->offset : 0, item.source != nullptr);
}

Finding Places::attributeName(Severity severity, const ItemTree::Item& item,
                              const std::string& attribute) const {
    const SourceText::Attribute* a = item.source ? item.source->attribute(attribute) : nullptr;
    Finding f = a ? base(severity, item, a->nameOffset, true) : this->item(severity, item);
    int line = 0, column = 0;
    if (!a && item.element.attributePosition(attribute.c_str(), line, column)) {
        f.line = line;
        f.column = column;
    }
    f.attribute = attribute;
    return f;
}

Finding Places::value(Severity severity, const ItemTree::Item& item, const std::string& attribute,
                      std::size_t index) const {
    const SourceText::Attribute* a = item.source ? item.source->attribute(attribute) : nullptr;
    if (!a) return attributeName(severity, item, attribute);  // the parser knows where the name starts
    Finding f = base(severity, item, source_.valueByteOffset(*a, index), true);
    f.attribute = attribute;
    return f;
}

Finding Places::document(Severity severity, std::size_t offset) const {
    Finding f;
    f.severity = severity;
    f.file = kDocument;
    const SourceText::Place p = source_.place(offset);
    f.line = p.line;
    f.column = p.column;
    return f;
}

}  // namespace qa::check
