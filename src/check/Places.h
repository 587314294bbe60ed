// Turns "this item, this attribute, this byte of its value" into a finding's file, line, column and
// item, from where the parser saw each written (or, when places inside values cannot be told, at
// the attribute's name).
#pragma once

#include <cstddef>
#include <string>

#include "check/Finding.h"
#include "check/ItemTree.h"
#include "scene/Syntax.h"

namespace qa::check {

class Places {
  public:
    static constexpr const char* kDocument = scene::Syntax::kDocumentName;

    explicit Places(const ItemTree& tree) : valuesPlaced_(tree.valuesPlaced()) {}

    // A finding about the item as a whole: at its start tag.
    Finding item(Severity severity, const ItemTree::Item& item) const;
    // At the attribute's name.
    Finding attributeName(Severity severity, const ItemTree::Item& item, const std::string& attribute) const;
    // At a byte of the attribute's value (as parsed), naming the attribute.
    Finding value(Severity severity, const ItemTree::Item& item, const std::string& attribute,
                  std::size_t index) const;

  private:
    bool valuesPlaced_;
};

}  // namespace qa::check
