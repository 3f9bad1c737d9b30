// The settings the launcher lowers while the application starts (a trusted
// location for Access 2007 and later, Access 2003's level), held by one
// owner that puts them back on every way out of the run: when the run
// says so, and otherwise, as an error leaves it, before the error reaches
// the user.
#pragma once

#include <string_view>

#include "launch_plan/launch_plan.h"
#include "platform/launcher_actions.h"

namespace tolvarine {

class LoweredSettings {
public:
    // Nothing is lowered yet.
    LoweredSettings(LauncherActions& actions, const LaunchPlan& plan) : actions_(actions), plan_(plan) {}
    // Puts back what is still lowered. An error doing so is dropped: either
    // one is already leaving the run, and it is the one the user must see,
    // or Restore has run.
    ~LoweredSettings();
    LoweredSettings(const LoweredSettings&) = delete;
    LoweredSettings& operator=(const LoweredSettings&) = delete;

    // What the plan lowers: the trusted location, then level 1.
    void Lower(std::wstring_view launcherDirectory);
    // Level 2, then the trusted location removed. Each is put back even
    // where the other fails; the first error is raised after both.
    void Restore();

private:
    LauncherActions& actions_;
    const LaunchPlan& plan_;
    // Set before each change is made, so that one cut short is put back too.
    bool levelLowered_ = false;
    bool locationAdded_ = false;
};

}  // namespace tolvarine
