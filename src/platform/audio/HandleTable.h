// The library's objects of one kind (modules, streams or samples) under the opaque handles callers
// hold. A handle's value is the object's number, drawn from a counter the tables share: a number
// names at most one object of any kind, and a freed number is never given out again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace qa::platform::audio {

template <class T, class Handle, class Owner = std::shared_ptr<T>>
class HandleTable {
  public:
    explicit HandleTable(std::uintptr_t& lastId) : lastId_(lastId) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    static std::uintptr_t idOf(Handle handle) { return reinterpret_cast<std::uintptr_t>(handle); }
    static Handle handleOf(std::uintptr_t id) { return reinterpret_cast<Handle>(id); }

    // Takes the object and gives it a new handle.
    Handle add(Owner object) {
        const std::uintptr_t id = ++lastId_;
        objects_.emplace(id, std::move(object));
        return handleOf(id);
    }

    // Null when the number names nothing in this table.
    T* find(std::uintptr_t id) const {
        auto it = objects_.find(id);
        return it == objects_.end() ? nullptr : it->second.get();
    }
    T* find(Handle handle) const { return find(idOf(handle)); }

    // The owning pointer, for sharing the object (null when the handle names nothing).
    const Owner* owner(Handle handle) const {
        auto it = objects_.find(idOf(handle));
        return it == objects_.end() ? nullptr : &it->second;
    }

    // Removes the object and hands it over (empty when the handle names nothing), so that the caller
    // can destroy it after letting go of the library's lock.
    Owner take(Handle handle) {
        auto it = objects_.find(idOf(handle));
        if (it == objects_.end()) return Owner();
        Owner object = std::move(it->second);
        objects_.erase(it);
        return object;
    }

    // Calls f(id, object) for every object, in handle order.
    template <class F>
    void forEach(F&& f) const {
        for (const auto& [id, object] : objects_) f(id, *object);
    }

  private:
    std::uintptr_t& lastId_;
    std::map<std::uintptr_t, Owner> objects_;
};

}  // namespace qa::platform::audio
