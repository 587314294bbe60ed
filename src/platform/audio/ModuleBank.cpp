// Module loading and operations. Loading and freeing do their slow work outside the lock, so the
// mix thread never waits on a file.
#include "platform/audio/ModuleBank.h"

#include "platform/audio/decoders/OpenMptModule.h"

namespace qa::platform::audio {

namespace {

// The largest module file read.
constexpr std::uint64_t kMaxModuleBytes = 256ull << 20;

}  // namespace

ModuleHandle ModuleBank::load(const char* path) {
    return core_.guarded(ModuleHandle{}, [&]() -> ModuleHandle {
        if (!path) return core_.fail(kErrInvalidParameter), nullptr;
        if (!core_.started()) return nullptr;
        FileSource& files = core_.files();
        if (!files.exists(path)) return core_.fail(kErrFileNotFound), nullptr;
        std::unique_ptr<InputStream> file = files.open(path);
        if (!file) return core_.fail(kErrFileLoad), nullptr;
        if (static_cast<std::uint64_t>(file->size()) > kMaxModuleBytes)
            return core_.fail(kErrMemory), nullptr;
        std::unique_ptr<OpenMptModule> song = OpenMptModule::load(*file);
        if (!song) return core_.fail(kErrFileFormat), nullptr;
        auto module = std::make_unique<Module>(std::move(song));
        Module* mixed = module.get();
        std::lock_guard lock(core_.mutex);
        const ModuleHandle handle = modules_.add(std::move(module));
        core_.mixer->addModule(mixed, modules_.idOf(handle));
        return handle;
    });
}

bool ModuleBank::probe(const char* path) {
    return core_.guarded(false, [&] {
        if (!path) return core_.fail(kErrInvalidParameter);
        if (!core_.started()) return false;
        FileSource& files = core_.files();
        if (!files.exists(path)) return core_.fail(kErrFileNotFound);
        std::unique_ptr<InputStream> file = files.open(path);
        if (!file) return core_.fail(kErrFileLoad);
        if (static_cast<std::uint64_t>(file->size()) > kMaxModuleBytes) return core_.fail(kErrMemory);
        return OpenMptModule::probe(*file) || core_.fail(kErrFileFormat);
    });
}

bool ModuleBank::free(ModuleHandle handle) {
    return core_.guarded(false, [&] {
        std::unique_ptr<Module> gone;
        {
            std::lock_guard lock(core_.mutex);
            gone = modules_.take(handle);
            if (!gone) return core_.fail(kErrInvalidParameter);
            core_.mixer->removeModule(gone.get());
        }
        return true;  // destroyed here, without the lock
    });
}

bool ModuleBank::play(ModuleHandle handle) {
    return core_.with(modules_, handle, false, [](Module& m) { m.play(); });
}

bool ModuleBank::stop(ModuleHandle handle) {
    return core_.with(modules_, handle, false, [](Module& m) { m.stop(); });
}

bool ModuleBank::playing(ModuleHandle handle) {
    return core_.with(modules_, handle, false, [](Module& m) { return m.playing(); });
}

bool ModuleBank::setPaused(ModuleHandle handle, bool paused) {
    return core_.with(modules_, handle, false, [&](Module& m) { m.setPaused(paused); });
}

bool ModuleBank::paused(ModuleHandle handle) {
    return core_.with(modules_, handle, false, [](Module& m) { return m.paused(); });
}

bool ModuleBank::setLooping(ModuleHandle handle, bool looping) {
    return core_.with(modules_, handle, false, [&](Module& m) { m.setLooping(looping); });
}

bool ModuleBank::setVolume(ModuleHandle handle, int volume) {
    return core_.with(modules_, handle, false, [&](Module& m) { m.setVolume(std::clamp(volume, 0, 256)); });
}

int ModuleBank::volume(ModuleHandle handle) {
    return core_.with(modules_, handle, 0, [](Module& m) { return m.volume(); });
}

bool ModuleBank::setSpeed(ModuleHandle handle, float speed) {
    return core_.with(modules_, handle, false,
                      [&](Module& m) { return m.setSpeed(speed) || core_.fail(kErrInvalidParameter); });
}

int ModuleBank::orderCount(ModuleHandle handle) {
    return core_.with(modules_, handle, 0, [](Module& m) { return std::max(0, m.orderCount()); });
}

int ModuleBank::order(ModuleHandle handle) {
    return core_.with(modules_, handle, 0, [](Module& m) { return std::max(0, m.order()); });
}

bool ModuleBank::setOrder(ModuleHandle handle, int order) {
    return core_.with(modules_, handle, false,
                      [&](Module& m) { return m.setOrder(order) || core_.fail(kErrInvalidParameter); });
}

Module* ModuleBank::startFollowing(std::uintptr_t id) {
    Module* m = modules_.find(id);
    if (!m || m->playing()) return nullptr;
    m->play();
    return m;
}

int ModuleBank::time(ModuleHandle handle) {
    return core_.with(modules_, handle, 0, [&](Module& m) {
        const std::uint64_t ms = m.framesPlayed() * 1000 / static_cast<std::uint64_t>(core_.mixer->rate());
        return static_cast<int>(std::min<std::uint64_t>(ms, std::numeric_limits<int>::max()));
    });
}

}  // namespace qa::platform::audio
