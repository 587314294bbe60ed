// libopenmpt behind RAII; its log goes nowhere, so a file that is not a module fails silently.
#include "platform/audio/decoders/OpenMptModule.h"

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <vector>

namespace qa::platform::audio {

namespace {

// libopenmpt reads the module through these, with the file as the stream; it keeps what it needs.
std::size_t readInput(void* stream, void* out, std::size_t bytes) {
    return static_cast<InputStream*>(stream)->read(out, bytes);
}

int seekInput(void* stream, std::int64_t offset, int whence) {
    return static_cast<InputStream*>(stream)->seek(offset, whence) < 0 ? -1 : 0;
}

std::int64_t tellInput(void* stream) {
    return static_cast<InputStream*>(stream)->tell();
}

}  // namespace

std::unique_ptr<OpenMptModule> OpenMptModule::load(InputStream& file) {
    if (file.size() <= 0) return nullptr;
    int error = 0;
    const char* message = nullptr;
    const openmpt_stream_callbacks callbacks{&readInput, &seekInput, &tellInput};
    openmpt_module* m =
        openmpt_module_create2(callbacks, &file, &openmpt_log_func_silent, nullptr,
                               &openmpt_error_func_ignore, nullptr, &error, &message, nullptr);
    if (message) openmpt_free_string(message);
    if (!m) return nullptr;
    return std::unique_ptr<OpenMptModule>(new OpenMptModule(m));
}

bool OpenMptModule::probe(InputStream& file) {
    const std::int64_t size = file.size();
    if (size <= 0) return false;
    std::vector<unsigned char> head(openmpt_probe_file_header_get_recommended_size());
    head.resize(file.read(head.data(), head.size()));
    const int result = openmpt_probe_file_header(
        OPENMPT_PROBE_FILE_HEADER_FLAGS_DEFAULT, head.data(), head.size(), static_cast<std::uint64_t>(size),
        &openmpt_log_func_silent, nullptr, &openmpt_error_func_ignore, nullptr, nullptr, nullptr);
    return result == OPENMPT_PROBE_FILE_HEADER_RESULT_SUCCESS ||
           (result == OPENMPT_PROBE_FILE_HEADER_RESULT_WANTMOREDATA &&
            head.size() < static_cast<std::uint64_t>(size));
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
