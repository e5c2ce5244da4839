#pragma once
// The one object map of a running program together with the mutex that guards it, so the lock
// lives beside the map rather than in whatever front end holds it. The window thread reads and
// edits through it; the device link's reply handlers and start operations take the same mutex
// (CommandEngine is built on a SharedMap). Lock order: the engine's start lock before this mutex;
// nobody starts a device command while holding it.
#include "model/ObjectMap.h"

#include <memory>
#include <mutex>
#include <utility>

namespace korvex {

class SharedMap {
public:
    SharedMap() : map_(std::make_unique<ObjectMap>()) {}
    SharedMap(const SharedMap&) = delete;
    SharedMap& operator=(const SharedMap&) = delete;

    // The map itself, for a caller that holds the lock (or runs before any other thread does).
    ObjectMap& map() { return *map_; }
    const ObjectMap& map() const { return *map_; }
    std::mutex& mutex() const { return mutex_; }
    [[nodiscard]] std::unique_lock<std::mutex> lock() const { return std::unique_lock(mutex_); }

    // f(const ObjectMap&) under the lock; returns what f returns.
    template <typename F> decltype(auto) read(F&& f) const {
        std::lock_guard guard(mutex_);
        return std::forward<F>(f)(std::as_const(*map_));
    }
    // f(ObjectMap&) under the lock; returns what f returns.
    template <typename F> decltype(auto) edit(F&& f) {
        std::lock_guard guard(mutex_);
        return std::forward<F>(f)(*map_);
    }

private:
    std::unique_ptr<ObjectMap> map_;
    mutable std::mutex mutex_;
};

} // namespace korvex
