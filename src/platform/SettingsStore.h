// The per-user store of the two 1-byte settings: a small file in the registry-export text form,
// written atomically.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace qa::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // False when the value is absent or unreadable.
    virtual bool read(const std::string& name, std::uint8_t& value) = 0;
    // Writes every value of the key at once; false when it could not be written (callers ignore it).
    virtual bool write(const std::map<std::string, std::uint8_t>& values) = 0;
};

}  // namespace qa::platform
