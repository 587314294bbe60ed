// A text file's characters, held once for every item that shows that file: read-only to its
// holders, and replaced whole when one holder is given a text of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

namespace qa::scene {

class SharedText {
  public:
    SharedText() = default;
    explicit SharedText(std::shared_ptr<const std::string> text) : text_(std::move(text)) {}
    // A text of this holder's own; the others sharing the old one keep it.
    SharedText& operator=(std::string text) {
        text_ = std::make_shared<const std::string>(std::move(text));
        return *this;
    }

    const std::string& str() const { return text_ ? *text_ : none(); }
    operator const std::string&() const { return str(); }
    std::size_t size() const { return str().size(); }
    bool empty() const { return str().empty(); }
    char operator[](std::size_t i) const { return str()[i]; }
    char back() const { return str().back(); }
    // Whether two holders share one copy.
    bool sameCopy(const SharedText& other) const { return text_ && text_ == other.text_; }

  private:
    static const std::string& none() {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<const std::string> text_;
};

}  // namespace qa::scene
