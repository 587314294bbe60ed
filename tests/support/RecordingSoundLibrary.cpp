// The recording set-up of the mock sound library: one default action for every operation.
#include "support/RecordingSoundLibrary.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>
#include <type_traits>

namespace qa::test {

namespace {

namespace audio = platform::audio;

std::string show(const void* handle) {
    if (!handle) return "null";
    if (handle == RecordingSoundLibrary::module()) return "M";
    if (handle == RecordingSoundLibrary::stream()) return "T";
    if (handle == RecordingSoundLibrary::sample()) return "S";
    return "&";
}
std::string show(const char* text) {
    return text ? text : "null";
}
std::string show(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
    return buf;
}
std::string show(bool v) {
    return v ? "1" : "0";
}
std::string show(int v) {
    return std::to_string(v);
}
std::string show(unsigned v) {
    return std::to_string(v);
}
std::string show(audio::MusicHandle music) {
    return music.module ? show(music.module) : show(music.stream);
}
std::string show(audio::StreamEndCallback callback) {
    return callback ? "callback" : "null";
}

}  // namespace

// Notes the call as "Name(arg,arg)" and answers from the library's table (or `fixed`).
class RecordingSoundLibrary::Record {
  public:
    Record(RecordingSoundLibrary& library, const char* name, std::optional<double> fixed = std::nullopt)
        : library_(library), name_(name), fixed_(fixed) {}

    template <typename Result, typename Arguments>
    Result Perform(const Arguments& arguments) const {
        std::string call = name_ + "(";
        std::apply(
            [&](const auto&... argument) {
                std::string sep;
                ((call += sep + show(argument), sep = ","), ...);
            },
            arguments);
        library_.calls_.push_back(call + ")");
        return answer<Result>();
    }

  private:
    template <typename Result>
    Result answer() const {
        const auto found = library_.answers_.find(name_);
        const double value = fixed_                                                      ? *fixed_
                             : found != library_.answers_.end()                          ? found->second
                             : std::is_pointer_v<Result> || std::is_same_v<Result, bool> ? 1
                                                                                         : 0;
        if constexpr (std::is_same_v<Result, audio::ModuleHandle>)
            return value != 0 ? module() : nullptr;
        else if constexpr (std::is_same_v<Result, audio::StreamHandle>)
            return value != 0 ? stream() : nullptr;
        else if constexpr (std::is_same_v<Result, audio::SampleHandle>)
            return value != 0 ? sample() : nullptr;
        else
            return static_cast<Result>(value);
    }

    RecordingSoundLibrary& library_;
    std::string name_;
    std::optional<double> fixed_;
};

RecordingSoundLibrary::RecordingSoundLibrary()
    : answers_{{"FSOUND_GetVersion", 3.63}, {"FMUSIC_GetMasterVolume", 256},
               {"FMUSIC_GetNumOrders", 10}, {"FSOUND_Stream_Play", 7},
               {"FSOUND_PlaySound", 7},     {"FSOUND_Sample_GetLength", 1000},
               {"FMUSIC_IsPlaying", 0},     {"FSOUND_IsPlaying", 0},
               {"FMUSIC_GetPaused", 0},     {"FSOUND_GetPaused", 0}} {
    using testing::_;
#define QA_RECORD_OPERATION(result, name, parameters) \
    ON_CALL(*this, name).WillByDefault(testing::MakePolymorphicAction(Record(*this, #name)));
    QA_SOUND_LIBRARY_OPERATIONS(QA_RECORD_OPERATION)
#undef QA_RECORD_OPERATION

    ON_CALL(*this, FSOUND_StopSound(-1))
        .WillByDefault(testing::MakePolymorphicAction(Record(*this, "FSOUND_StopSound", 0)));
    ON_CALL(*this, FSOUND_SetCurrentPosition(-1, _))
        .WillByDefault(testing::MakePolymorphicAction(Record(*this, "FSOUND_SetCurrentPosition", 0)));
    ON_CALL(*this, FSOUND_Stream_SetEndCallback)
        .WillByDefault(
            testing::DoAll(testing::SaveArg<1>(&callback), testing::SaveArg<2>(&user),
                           testing::MakePolymorphicAction(Record(*this, "FSOUND_Stream_SetEndCallback"))));
    ON_CALL(*this, FSOUND_Sample_GetDefaults)
        .WillByDefault(testing::DoAll(
            [this](audio::SampleHandle, int* frequency, int* volume, int* pan, int* priority) {
                if (frequency) *frequency = defaultFrequency;
                if (volume) *volume = defaultVolume;
                if (pan) *pan = defaultPan;
                if (priority) *priority = 128;
            },
            testing::MakePolymorphicAction(Record(*this, "FSOUND_Sample_GetDefaults"))));
}

std::string RecordingSoundLibrary::take() {
    std::string all;
    for (const std::string& c : calls_) all += (all.empty() ? "" : ";") + c;
    calls_.clear();
    return all;
}

bool RecordingSoundLibrary::made(const std::string& call) const {
    return std::find(calls_.begin(), calls_.end(), call) != calls_.end();
}

int RecordingSoundLibrary::count(const std::string& operation) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const std::string& c) {
        return c.compare(0, operation.size() + 1, operation + "(") == 0;
    }));
}

}  // namespace qa::test
