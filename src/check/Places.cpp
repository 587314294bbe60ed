// Places of findings in the scene document.
#include "check/Places.h"

namespace qa::check {

Finding Places::item(Severity severity, const ItemTree::Item& item) const {
    Finding f;
    f.severity = severity;
    f.file = kDocument;
    f.aboutItem = true;
    f.itemName = item.name;
    f.itemIndex = item.index;
    f.line = item.element.line();
    f.column = item.element.column();
    return f;
}

Finding Places::attributeName(Severity severity, const ItemTree::Item& item,
                              const std::string& attribute) const {
    Finding f = this->item(severity, item);
    int line = 0, column = 0;
    if (item.element.attributePosition(attribute.c_str(), line, column)) {
        f.line = line;
        f.column = column;
    }
    f.attribute = attribute;
    return f;
}

Finding Places::value(Severity severity, const ItemTree::Item& item, const std::string& attribute,
                      std::size_t index) const {
    int line = 0, column = 0;
    if (!valuesPlaced_ || !item.element.valuePosition(attribute.c_str(), index, line, column))
        return attributeName(severity, item, attribute);  // the parser knows where the name starts
    Finding f = this->item(severity, item);
    f.line = line;
    f.column = column;
    f.attribute = attribute;
    return f;
}

}  // namespace qa::check
