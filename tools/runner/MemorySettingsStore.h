// Settings kept in memory for one run, so the runner never touches the user's stored settings.
#pragma once

#include "platform/SettingsStore.h"

namespace qa::runner {

class MemorySettingsStore : public platform::SettingsStore {
  public:
    bool read(const std::string& name, std::uint8_t& value) override {
        auto it = values_.find(name);
        if (it == values_.end()) return false;
        value = it->second;
        return true;
    }
    bool write(const std::map<std::string, std::uint8_t>& values) override {
        for (const auto& [k, v] : values) values_[k] = v;
        return true;
    }

  private:
    std::map<std::string, std::uint8_t> values_;
};

}  // namespace qa::runner
