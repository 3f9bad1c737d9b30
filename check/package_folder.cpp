#include "check/package_folder.h"

#include <string_view>

namespace tolvarine {

namespace {

// Written by the package at install time (installer/tolvarine.wxs).
constexpr std::wstring_view kInstallerKey = L"Software\\Tolvarine\\Installer";
constexpr std::wstring_view kInstallFolderValue = L"InstallFolder";
constexpr std::wstring_view kDefaultFolderUnderLocalAppData = L"\\Programs\\Tolvarine";

}  // namespace

std::wstring PackageInstallFolder(SystemReads& reads) {
    if (auto folder = ReadRegistryValue<std::wstring>(reads, kHkeyCurrentUser, kInstallerKey, kInstallFolderValue);
        folder && !folder->empty())
        return *folder;
    const std::wstring localAppData = reads.GetLocalAppDataDirectory();
    return localAppData.empty() ? std::wstring() : localAppData + std::wstring(kDefaultFolderUnderLocalAppData);
}

}  // namespace tolvarine
