// The sound library's tracker modules: loading, freeing and every module operation, each under the
// library's lock. A loaded module is mixed from the moment it is loaded (silent until played).
#pragma once

#include <memory>

#include "platform/audio/HandleTable.h"
#include "platform/audio/LibraryCore.h"
#include "platform/audio/Module.h"

namespace qa::platform::audio {

class ModuleBank {
  public:
    explicit ModuleBank(LibraryCore& core) : core_(core), modules_(core.lastId) {}

    ModuleHandle load(const char* path);
    // Whether load would take the file, from its size and first bytes.
    bool probe(const char* path);
    bool free(ModuleHandle handle);
    bool play(ModuleHandle handle);
    bool stop(ModuleHandle handle);
    bool playing(ModuleHandle handle);
    bool setPaused(ModuleHandle handle, bool paused);
    bool paused(ModuleHandle handle);
    bool setLooping(ModuleHandle handle, bool looping);
    bool setVolume(ModuleHandle handle, int volume);
    int volume(ModuleHandle handle);
    bool setSpeed(ModuleHandle handle, float speed);
    int orderCount(ModuleHandle handle);
    int order(ModuleHandle handle);
    bool setOrder(ModuleHandle handle, int order);
    // Milliseconds played since the module was started.
    int time(ModuleHandle handle);

    // Under the lock: the module a number names, null when none.
    Module* find(std::uintptr_t id) const { return modules_.find(id); }
    // Under the lock: starts the module from its beginning as the music that follows, unless it is
    // playing or paused; null when it is, or when there is no such module.
    Module* startFollowing(std::uintptr_t id);

  private:
    LibraryCore& core_;
    HandleTable<Module, ModuleHandle, std::unique_ptr<Module>> modules_;
};

}  // namespace qa::platform::audio
