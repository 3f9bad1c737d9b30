// The settings the launcher lowers while the application starts (a trusted
// location for Access 2007 and later, Access 2003's level), held by one
// owner that puts them back on every way out of the run: when the run
// says so, and otherwise, as an error leaves it, before the error reaches
// the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/launcher_actions.h"

namespace tolvarine {

// What a run lowers, as its course decides.
struct Lowering {
    // The Access (2007 or later) for which the launcher's folder becomes a
    // trusted location; nothing: none is added.
    std::optional<std::uint16_t> trustedLocationFor;
    // Access 2003's level written low (1), and back to medium (2).
    bool accessLevel = false;
};

class LoweredSettings {
public:
    // Nothing is lowered yet.
    LoweredSettings(LauncherActions& actions, Lowering what) : actions_(actions), what_(what) {}
    // Puts back what is still lowered. An error doing so is dropped: either
    // one is already leaving the run, and it is the one the user must see,
    // or Restore has run.
    ~LoweredSettings();
    LoweredSettings(const LoweredSettings&) = delete;
    LoweredSettings& operator=(const LoweredSettings&) = delete;

    // What it was given: the trusted location, then level 1.
    void Lower(std::wstring_view launcherDirectory);
    // Level 2, then the trusted location removed. Each is put back even
    // where the other fails; the first error is raised after both.
    void Restore();

private:
    LauncherActions& actions_;
    Lowering what_;
    // Set before each change is made, so that one cut short is put back too.
    bool levelLowered_ = false;
    bool locationAdded_ = false;
};

}  // namespace tolvarine
