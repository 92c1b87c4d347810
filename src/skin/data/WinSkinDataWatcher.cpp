// The one window watcher of the process, created on demand through the factory the watcher
// installs.
#include "WinSkinDataWatcher.h"

#include <utility>

namespace {

TSkinWatcherFactory& Factory() {
    static TSkinWatcherFactory factory;
    return factory;
}

std::unique_ptr<ISkinWatcher>& Instance() {
    static std::unique_ptr<ISkinWatcher> instance;
    return instance;
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
