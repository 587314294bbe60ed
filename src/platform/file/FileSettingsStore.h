// The settings' key kept in a per-user file in the registry-export text form:
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\Brennick\QuorvArt]
//   "windowed"=hex:00
// Missing or garbled values read as absent; the file is written whole to a temporary file that then
// replaces it, so a reader never sees half a file. A settings file that is not the program's own (a
// symbolic link, something other than a regular file, another user's file, a file with other names)
// is neither read nor replaced: the defaults stand for the run, and a notice says so once.
#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace qa::platform {

class FileSettingsStore : public SettingsStore {
  public:
    static constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt";
    static constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

    explicit FileSettingsStore(std::filesystem::path file, std::FILE* notices = stderr)
        : file_(std::move(file)), notices_(notices) {}

    // ${XDG_CONFIG_HOME:-$HOME/.config}/Brennick/QuorvArt/settings.reg; empty when neither is known.
    static std::filesystem::path defaultPath();
    const std::filesystem::path& path() const { return file_; }

    // Reads the file afresh; true only for a value of exactly one byte.
    bool read(const std::string& name, std::uint8_t& value) override;
    // Sets the values, keeping the key's other values; false when the file could not be replaced.
    bool write(const std::map<std::string, std::uint8_t>& values) override;

    // One value of the key as the file holds it: its name as written, its data text, and its bytes
    // (absent when the data cannot be read).
    struct Value {
        std::string name;
        std::string data;
        bool readable = false;
        std::vector<std::uint8_t> bytes;
    };
    // The values of the settings' key in a file's text, in file order; later lines replace earlier
    // ones of the same name (names compare without regard to case).
    static std::vector<Value> parse(const std::string& text);
    static std::string format(const std::vector<Value>& values);

  private:
    // Whether the file is absent or one this program may read and replace; the notice, once, when not.
    bool usable();

    std::filesystem::path file_;
    std::FILE* notices_;
    bool noticed_ = false;
};

}  // namespace qa::platform
