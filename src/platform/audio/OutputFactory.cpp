// Output choice: the device when it opens, the no-sound output otherwise, or the pull output.
#include "platform/audio/OutputFactory.h"

#include "platform/audio/PullOutput.h"
#include "platform/audio/null/NullOutput.h"
#include "platform/audio/sdl/SdlCallbackOutput.h"
#include "platform/audio/sdl/SdlOutput.h"

namespace qa::platform::audio {

OutputFactory::~OutputFactory() = default;

std::unique_ptr<Output> OutputFactory::start(RenderSource& source, int rate) {
    if (kind_ == OutputKind::DeviceInCallback) {
        auto device = std::make_unique<SdlCallbackOutput>();
        if (device->start(source, rate)) return device;
        unopenedDevice_ = std::move(device);
    }
    if (kind_ == OutputKind::Pull || kind_ == OutputKind::DeviceInCallback) {
        auto pull = std::make_unique<PullOutput>();
        if (!pull->start(source, rate)) return nullptr;
        return pull;
    }
    if (kind_ == OutputKind::Device) {
        auto device = std::make_unique<SdlOutput>();
        if (device->start(source, rate)) return device;
        unopenedDevice_ = std::move(device);
    }
    // No device (a build machine, a server): the mix is still consumed in real time.
    auto none = std::make_unique<NullOutput>();
    if (!none->start(source, rate)) return nullptr;
    return none;
}

}  // namespace qa::platform::audio
