// The command words that scripts may use, each mapped to its handler.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

// A command: the argument text (the handler's own copy), a cursor position and the item whose
// script runs (null in plain scripts). True when the command counts as having handled the event.
// A handler reaches the rest of the engine through what it was registered with.
using CommandHandler = std::function<bool(std::string argument, Vec3 position, scene::ImageItem* item)>;

class CommandTable {
  public:
    // Stores the handler under the word, replacing an earlier entry.
    void registerCommand(const std::string& word, CommandHandler handler) {
        entries_[word] = std::move(handler);
    }
    // Whether the word is a key of the table (the empty word is, with no handler).
    bool contains(const std::string& word) const { return entries_.count(word) != 0; }
    // The handler for the word; null when the word is unknown or has no handler.
    const CommandHandler* find(const std::string& word) const {
        auto it = entries_.find(word);
        return it == entries_.end() || !it->second ? nullptr : &it->second;
    }
    const std::map<std::string, CommandHandler>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

  private:
    std::map<std::string, CommandHandler> entries_;
};

}  // namespace qa::script
