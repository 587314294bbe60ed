// What the sound library's banks share: the one lock, the error code, the mixer once the library is
// started, the counter handles are drawn from and the files sounds are read from; and the guarded
// run every operation goes through, so that no exception leaves the library.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <type_traits>

#include "platform/audio/Mixer.h"
#include "platform/audio/SoundError.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/file/FileSource.h"

namespace qa::platform::audio {

class LibraryCore {
  public:
    // Reads sound files from `files` (null: the disk folder).
    explicit LibraryCore(std::shared_ptr<FileSource> files);
    LibraryCore(const LibraryCore&) = delete;
    LibraryCore& operator=(const LibraryCore&) = delete;

    FileSource& files() { return *files_; }

    // Sets the error code; false, for `return fail(...)`.
    bool fail(int code) {
        error = code;
        return false;
    }
    // Under the lock: whether the library was started (the error set when not).
    bool started();

    // body(), or `failure` with the error set when it throws.
    template <class R, class F>
    R guarded(R failure, F&& body) noexcept {
        try {
            return body();
        } catch (const std::bad_alloc&) {
            error = kErrMemory;
        } catch (...) {
            error = kErrInvalidParameter;
        }
        return failure;
    }

    // Under the lock: body(object) for the object a handle names (success when the body returns
    // nothing); `failure`, and the error set, when the handle names nothing.
    template <class Table, class Handle, class R, class F>
    R with(Table& table, Handle handle, R failure, F&& body) {
        return guarded(failure, [&]() -> R {
            std::lock_guard lock(mutex);
            auto* object = table.find(handle);
            if (!object) return fail(kErrInvalidParameter), failure;
            return outcome<R>(body, *object);
        });
    }

    // The same for the channel a number names while its sound plays.
    template <class R, class F>
    R withChannel(int channel, R failure, F&& body) {
        return guarded(failure, [&]() -> R {
            std::lock_guard lock(mutex);
            Channel* c = mixer ? mixer->find(channel) : nullptr;
            if (!c) return fail(kErrInvalidParameter), failure;
            return outcome<R>(body, *c);
        });
    }

    // Whether a mode asks for looping.
    static bool loops(unsigned mode) { return (mode & kModeLoopNormal) != 0 && (mode & kModeLoopOff) == 0; }
    // A count or position as the library reports it, saturated.
    static unsigned toUnsigned(std::uint64_t v) {
        return static_cast<unsigned>(std::min<std::uint64_t>(v, std::numeric_limits<unsigned>::max()));
    }

    std::mutex mutex;
    std::atomic<int> error{kErrNone};
    bool initialised = false;
    std::unique_ptr<Mixer> mixer;
    // Handles of every kind are numbered from here: a number names at most one object.
    std::uintptr_t lastId = 0;

  private:
    // An operation's result: what the body gives, or success for a body that only acts.
    template <class R, class F, class T>
    static R outcome(F& body, T& object) {
        if constexpr (std::is_void_v<std::invoke_result_t<F&, T&>>) {
            body(object);
            return R(true);
        } else {
            return body(object);
        }
    }

    const std::shared_ptr<FileSource> files_;
};

}  // namespace qa::platform::audio
