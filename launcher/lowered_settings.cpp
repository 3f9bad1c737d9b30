#include "launcher/lowered_settings.h"

#include <exception>

#include "launch_plan/trusted_location.h"
#include "launcher/module1.h"

namespace tolvarine {

LoweredSettings::~LoweredSettings() {
    try {
        Restore();
    } catch (...) {
    }
}

void LoweredSettings::Lower(std::wstring_view launcherDirectory) {
    if (plan_.AddsTrustedLocation()) {
        locationAdded_ = true;
        AddTrustedLocation(platform_, *plan_.trustCenterVersion, launcherDirectory);
    }
    if (plan_.WritesLevel()) {
        levelLowered_ = true;
        SetAccessSecurityLevel(platform_, kLowSecurityLevel);
    }
}

void LoweredSettings::Restore() {
    std::exception_ptr failure;
    const auto putBack = [&](bool& held, auto&& undo) {
        if (!held) return;
        held = false;
        try {
            undo();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    };
    putBack(levelLowered_, [&] { SetAccessSecurityLevel(platform_, kMediumSecurityLevel); });
    putBack(locationAdded_, [&] { RemoveTrustedLocation(platform_, *plan_.trustCenterVersion); });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tolvarine
