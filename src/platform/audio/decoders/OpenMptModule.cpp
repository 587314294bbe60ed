// libopenmpt behind RAII; its log goes nowhere, so a file that is not a module fails silently.
#include "platform/audio/decoders/OpenMptModule.h"

#include <libopenmpt/libopenmpt.h>

#include <cmath>

namespace qa::platform::audio {

std::unique_ptr<OpenMptModule> OpenMptModule::load(const std::string& bytes) {
    if (bytes.empty()) return nullptr;
    int error = 0;
    const char* message = nullptr;
    openmpt_module* m =
        openmpt_module_create_from_memory2(bytes.data(), bytes.size(), &openmpt_log_func_silent, nullptr,
                                           &openmpt_error_func_ignore, nullptr, &error, &message, nullptr);
    if (message) openmpt_free_string(message);
    if (!m) return nullptr;
    return std::unique_ptr<OpenMptModule>(new OpenMptModule(m));
}

OpenMptModule::~OpenMptModule() {
    openmpt_module_destroy(module_);
}

std::size_t OpenMptModule::read(int rate, std::size_t frames, float* out) {
    return openmpt_module_read_interleaved_float_stereo(module_, rate, frames, out);
}

void OpenMptModule::setRepeatCount(int count) {
    openmpt_module_set_repeat_count(module_, count);
}

bool OpenMptModule::setTempoFactor(double factor) {
    if (!std::isfinite(factor) || factor <= 0.0) return false;
    return openmpt_module_ctl_set_floatingpoint(module_, "play.tempo_factor", factor) != 0;
}

int OpenMptModule::orderCount() const {
    return openmpt_module_get_num_orders(module_);
}

int OpenMptModule::currentOrder() const {
    return openmpt_module_get_current_order(module_);
}

bool OpenMptModule::setOrder(int order) {
    if (order < 0 || order >= orderCount()) return false;
    openmpt_module_set_position_order_row(module_, order, 0);
    return true;
}

void OpenMptModule::rewind() {
    openmpt_module_set_position_seconds(module_, 0.0);
}

}  // namespace qa::platform::audio
