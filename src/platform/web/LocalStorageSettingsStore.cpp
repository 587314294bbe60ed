// Settings in local storage (which a page may be refused: then nothing is read or kept).
#include "platform/web/LocalStorageSettingsStore.h"

#include <emscripten.h>

namespace {

// The stored value, or -1 when it is absent, not a number from 0 to 255, or storage is refused.
// (JavaScript: kept as written.)
// clang-format off
EM_JS(int, qa_storage_read, (const char* name), {
    try {
        const text = window.localStorage.getItem("quorvart." + UTF8ToString(name));
        if (text === null || !/^[0-9]{1,3}$/.test(text)) return -1;
        const value = parseInt(text, 10);
        return value <= 255 ? value : -1;
    } catch (e) {
        return -1;
    }
});

EM_JS(int, qa_storage_write, (const char* name, int value), {
    try {
        window.localStorage.setItem("quorvart." + UTF8ToString(name), String(value));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

}  // namespace

namespace qa::platform {

bool LocalStorageSettingsStore::read(const std::string& name, std::uint8_t& value) {
    const int stored = qa_storage_read(name.c_str());
    if (stored < 0) return false;
    value = static_cast<std::uint8_t>(stored);
    return true;
}

bool LocalStorageSettingsStore::write(const std::map<std::string, std::uint8_t>& values) {
    bool all = true;
    for (const auto& [name, value] : values) all = qa_storage_write(name.c_str(), value) != 0 && all;
    return all;
}

}  // namespace qa::platform
