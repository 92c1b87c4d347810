// The one window watcher of the process, created on demand through the factory the watcher
// installs.
#include "WinSkinDataWatcher.h"

#include <utility>

namespace {

TSkinWatcherFactory& Factory() {
    static TSkinWatcherFactory factory;
    return factory;
}

// Constant-initialised, so it outlives every object built at start-up: forms freed at program
// end still find it (or find none) when their skin components unregister.
constinit std::unique_ptr<ISkinWatcher> WatcherInstance;

std::unique_ptr<ISkinWatcher>& Instance() {
    return WatcherInstance;
}

} // namespace

TSkinWatcherFactory SetSkinWatcherFactory(TSkinWatcherFactory factory) {
    return std::exchange(Factory(), std::move(factory));
}

ISkinWatcher* SkinWatcher() {
    return Instance().get();
}

ISkinWatcher* CreateSkinWatcher() {
    if (!Instance() && Factory())
        Instance() = Factory()();
    return Instance().get();
}

void FreeSkinWatcher() {
    Instance().reset();
}
