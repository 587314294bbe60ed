// The look-up of graphics device nodes.
#include "platform/gfx/GraphicsHardware.h"

#include <string>

namespace qa::platform::gfx {

bool GraphicsHardware::present() {
    static const bool found = presentUnder("/dev");
    return found;
}

bool GraphicsHardware::presentUnder(const std::filesystem::path& devices) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* node : {"nvidia0", "nvidiactl", "dxg"}) {
        if (fs::exists(devices / node, ec)) return true;
    }
    for (fs::directory_iterator it(devices / "dri", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
    }
    return false;
}

}  // namespace qa::platform::gfx
