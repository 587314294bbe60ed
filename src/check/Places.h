// Turns "this item, this attribute, this byte of its value" into a finding's file, line, column and
// item, from the start tags found in the text (or, when the text could not be matched, the line the
// parser gives).
#pragma once

#include <cstddef>
#include <string>

#include "check/Finding.h"
#include "check/ItemTree.h"
#include "check/SourceText.h"
#include "scene/Syntax.h"

namespace qa::check {

class Places {
  public:
    static constexpr const char* kDocument = scene::Syntax::kDocumentName;

    explicit Places(const SourceText& source) : source_(source) {}

    // A finding about the item as a whole: at its start tag.
    Finding item(Severity severity, const ItemTree::Item& item) const;
    // At the attribute's name.
    Finding attributeName(Severity severity, const ItemTree::Item& item, const std::string& attribute) const;
    // At a byte of the attribute's value (as parsed), naming the attribute.
    Finding value(Severity severity, const ItemTree::Item& item, const std::string& attribute,
                  std::size_t index) const;
    // At a byte offset of the document text, about no item.
    Finding document(Severity severity, std::size_t offset) const;

  private:
    Finding base(Severity severity, const ItemTree::Item& item, std::size_t offset, bool known) const;

    const SourceText& source_;
};

}  // namespace qa::check
