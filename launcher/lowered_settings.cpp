#include "launcher/lowered_settings.h"

#include <exception>

#include "launch_plan/office_keys.h"
#include "launch_plan/trusted_location.h"
#include "launcher/module1.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kTrustedLocationName = L"Tolvarine";
constexpr std::wstring_view kTrustedLocationDescription = L"Tolvarine, while the launcher starts it";

std::wstring TrustedLocationsKey(std::uint16_t accessVersion) {
    return OfficeVersionKey(kOfficeUserSettings, accessVersion, kAccessTrustedLocations);
}

// Makes the launcher's folder, without its subfolders, a trusted location
// of that Access. Failures are not reported.
void AddTrustedLocation(LauncherActions& actions, std::uint16_t accessVersion, std::wstring_view launcherDirectory) {
    const std::wstring folder = TrustedLocationFolder(launcherDirectory);
    const RegistryEntry values[] = {
        {L"Path", std::wstring_view(folder)},
        {L"AllowSubfolders", std::uint32_t{0}},
        {L"Description", kTrustedLocationDescription},
    };
    actions.WriteVolatileRegistryKey(kHkeyCurrentUser, TrustedLocationsKey(accessVersion), kTrustedLocationName,
                                     values);
}

// Deletes that trusted location, and nothing else. Failures are not reported.
void RemoveTrustedLocation(LauncherActions& actions, std::uint16_t accessVersion) {
    actions.DeleteRegistryKey(kHkeyCurrentUser,
                              TrustedLocationsKey(accessVersion) + L'\\' + std::wstring(kTrustedLocationName));
}

}  // namespace

LoweredSettings::~LoweredSettings() {
    try {
        Restore();
    } catch (...) {
    }
}

void LoweredSettings::Lower(std::wstring_view launcherDirectory) {
    if (what_.trustedLocationFor) {
        locationAdded_ = true;
        AddTrustedLocation(actions_, *what_.trustedLocationFor, launcherDirectory);
    }
    if (what_.accessLevel) {
        levelLowered_ = true;
        SetAccessSecurityLevel(actions_, kLowSecurityLevel);
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
    putBack(levelLowered_, [&] { SetAccessSecurityLevel(actions_, kMediumSecurityLevel); });
    putBack(locationAdded_, [&] { RemoveTrustedLocation(actions_, *what_.trustedLocationFor); });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tolvarine
