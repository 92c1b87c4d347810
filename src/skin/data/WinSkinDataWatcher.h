// What the skin data component asks of the process-wide window watcher: registration, the
// hook, the queued skin commands and the flags it shares with the painters. The watcher
// implements this interface and installs a factory for itself; until one is installed there is
// no watcher, and the component's calls into it do nothing.
#pragma once

#include <functional>
#include <memory>

class TCustomForm;
class TSkinData;

// Commands the watcher's timer carries out.
enum TSkinAction { saNone = 0, saActivate = 1, saDeactivate = 2, saRefresh = 3 };

// The delay the skin data component gives its commands, so that nothing is skinned before the
// message loop runs.
inline constexpr int SkinActionDelay = 250;

// The watcher's states as the skin data component reads and sets them.
inline constexpr int SkinWatcherStarting = 0; // no window activated yet
inline constexpr int SkinWatcherRunning = 1;  // commands run through the timer

class ISkinWatcher {
public:
    virtual ~ISkinWatcher() = default;

    // The first registered component of kind sfMainform becomes the default source.
    virtual void RegisterSkinData(TSkinData& skin) = 0;
    virtual void UnregisterSkinData(TSkinData& skin) = 0;
    // The thread-local window-creation hook of the GUI thread.
    virtual void InstallHook() = 0;
    // The component whose commands the next action carries out (none: nullptr).
    virtual void SetActionSkin(TSkinData* skin) = 0;
    virtual void RequestAction(TSkinAction action, int delayMs) = 0;
    // Makes every form painter that uses the action's component drop what it built from the
    // previous skin.
    virtual void RefreshForms() = 0;
    // The component is about to free its element records (a skin is being parsed): every
    // painter using it lets go of what refers to them first.
    virtual void ElementsReleasing(TSkinData& skin) { (void)skin; }
    // Skins one form's window now.
    virtual void SkinForm(TCustomForm& form) = 0;
    virtual bool Active() const = 0;
    virtual void SetActive(bool value) = 0;
    virtual int State() const = 0;
    virtual void SetState(int value) = 0;
};

using TSkinWatcherFactory = std::function<std::unique_ptr<ISkinWatcher>()>;

// Installed once by the watcher; replaces and returns the previous factory.
TSkinWatcherFactory SetSkinWatcherFactory(TSkinWatcherFactory factory);

// The process-wide watcher, or nullptr while none has been created.
ISkinWatcher* SkinWatcher();
// The watcher, created through the factory when there is none; nullptr without a factory.
ISkinWatcher* CreateSkinWatcher();
// Frees the watcher (program end, tests).
void FreeSkinWatcher();
