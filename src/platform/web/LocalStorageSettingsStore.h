// The settings of the page's player, kept in the browser's local storage for the page's site: each
// value under "quorvart.NAME" as a decimal number (the page's start screen reads and writes the same).
#pragma once

#include "platform/SettingsStore.h"

namespace qa::platform {

class LocalStorageSettingsStore : public SettingsStore {
  public:
    bool read(const std::string& name, std::uint8_t& value) override;
    bool write(const std::map<std::string, std::uint8_t>& values) override;
};

}  // namespace qa::platform
