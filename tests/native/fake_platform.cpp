#include "tests/native/fake_platform.h"

#include "platform/ascii_case.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tolvarine::testing {

namespace {

std::wstring Hex(std::uintmax_t value) {
    wchar_t text[24];
    std::swprintf(text, 24, L"0x%jX", value);
    return text;
}

std::wstring Bytes(std::span<const std::byte> data) {
    std::wstring text;
    for (const std::byte b : data) {
        wchar_t pair[4];
        std::swprintf(pair, 4, L"%02X", static_cast<unsigned>(b));
        if (!text.empty()) text += L' ';
        text += pair;
    }
    return text;
}

}  // namespace

void FakePlatform::Record(std::wstring call) {
    constexpr std::size_t kCallLimit = 100'000;
    if (calls.size() >= kCallLimit)
        throw std::length_error("the fake platform took 100000 calls: the code under test does not stop; last call: " +
                                std::string(call.begin(), call.end()));
    calls.push_back(std::move(call));
    callTicks.push_back(tick);
}

std::string FakePlatform::ToAnsi(std::wstring_view text) {
    // Latin-1 stands in for the ANSI code page; others become '?', as there.
    std::string ansi;
    for (const wchar_t c : text) ansi += c < 0x100 ? static_cast<char>(c) : '?';
    return ansi;
}

long FakePlatform::RegCreateKeyA(RegistryRoot root, std::wstring_view subKey, KeyHandle& key) {
    Record(L"RegCreateKeyA(" + Hex(root) + L", " + std::wstring(subKey) + L", " + Hex(key) + L")");
    if (createKeyStatus == 0) key = createdKey;
    return createKeyStatus;
}

long FakePlatform::RegSetValueExA(KeyHandle key, std::wstring_view valueName, std::uint32_t type,
                                  std::span<const std::byte> data) {
    Record(L"RegSetValueExA(" + Hex(key) + L", " + std::wstring(valueName) + L", " +
                    std::to_wstring(type) + L", [" + Bytes(data) + L"], " + std::to_wstring(data.size()) + L")");
    return setValueStatus;
}

long FakePlatform::RegCloseKey(KeyHandle key) {
    Record(L"RegCloseKey(" + Hex(key) + L")");
    return closeKeyStatus;
}

long FakePlatform::WriteVolatileRegistryKey(RegistryRoot root, std::wstring_view parentPath,
                                            std::wstring_view keyName, std::span<const RegistryEntry> values) {
    std::wstring call = L"WriteVolatileRegistryKey(" + Hex(root) + L", " + std::wstring(parentPath) + L", " +
                        std::wstring(keyName);
    for (const RegistryEntry& value : values) {
        call += L", " + std::wstring(value.name) + L"=";
        if (const auto* number = std::get_if<std::uint32_t>(&value.data))
            call += L"REG_DWORD:" + std::to_wstring(*number);
        else
            call += L"REG_SZ:" + std::wstring(std::get<std::wstring_view>(value.data));
    }
    Record(call + L")");
    return 0;
}

long FakePlatform::DeleteRegistryKey(RegistryRoot root, std::wstring_view keyPath) {
    Record(L"DeleteRegistryKey(" + Hex(root) + L", " + std::wstring(keyPath) + L")");
    return 0;
}

std::vector<std::optional<RegistryData>> FakePlatform::ReadRegistryValues(
    RegistryRoot, std::wstring_view keyPath, std::span<const std::wstring_view> valueNames) {
    readsAt.push_back(calls.size());
    std::vector<std::optional<RegistryData>> values(valueNames.size());
    for (const StoredValue& value : registry)
        for (std::size_t i = 0; i < valueNames.size(); ++i)
            if (EqualsIgnoringAsciiCase(value.key, keyPath) && EqualsIgnoringAsciiCase(value.name, valueNames[i]))
                values[i] = value.data;
    return values;
}

// The tests store values one key below the one listed, at most.
std::vector<std::wstring> FakePlatform::ListRegistrySubkeys(RegistryRoot, std::wstring_view keyPath) {
    readsAt.push_back(calls.size());
    std::vector<std::wstring> names;
    for (const StoredValue& value : registry) {
        const std::wstring_view key = value.key;
        if (key.size() <= keyPath.size() + 1 || key[keyPath.size()] != L'\\' ||
            !EqualsIgnoringAsciiCase(key.substr(0, keyPath.size()), keyPath))
            continue;
        const std::wstring name(key.substr(keyPath.size() + 1));
        if (std::ranges::find(names, name) == names.end()) names.push_back(name);
    }
    return names;
}

bool FakePlatform::IsNetworkDrive(wchar_t) {
    readsAt.push_back(calls.size());
    return networkDrives;
}

std::wstring FakePlatform::UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) c = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    return upper;
}

AssociatedProgram FakePlatform::FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
    readsAt.push_back(calls.size());
    if (extension != L".mde" || verb != L"open") return {};
    return associatedProgram;
}

ProgramImage FakePlatform::ReadProgramImage(std::wstring_view) {
    readsAt.push_back(calls.size());
    if (!executableVersion) return {executableMachine, std::nullopt};
    return {executableMachine, FileVersion{*executableVersion}};
}

WindowHandle FakePlatform::GetDesktopWindow() {
    Record(L"GetDesktopWindow()");
    return desktopWindow;
}

std::int32_t FakePlatform::ShellExecuteW(WindowHandle owner, std::wstring_view verb, std::wstring_view file,
                                         std::wstring_view parameters, std::wstring_view directory,
                                         int showCommand) {
    Record(L"ShellExecuteW(" + Hex(owner) + L", " + std::wstring(verb) + L", " + std::wstring(file) +
                    L", \"" + std::wstring(parameters) + L"\", " + std::wstring(directory) + L", " +
                    std::to_wstring(showCommand) + L")");
    return shellResult;
}

WindowHandle FakePlatform::FindWindowExA(WindowHandle after, std::wstring_view title) {
    Record(L"FindWindowExA(" + Hex(after) + L", " + std::wstring(title) + L")");
    if (windowSearchError) throw *windowSearchError;
    if (after == 0) windowShown_ = polls_++ >= pollsBeforeWindow;
    std::vector<WindowHandle> windows = folderWindows;
    if (windowShown_) windows.push_back(windowHandle);
    auto next = windows.begin();
    if (after != 0) {
        next = std::find(windows.begin(), windows.end(), after);
        if (next != windows.end()) ++next;
    }
    return next == windows.end() ? 0 : *next;
}

std::wstring FakePlatform::GetClassNameW(WindowHandle window) {
    Record(L"GetClassNameW(" + Hex(window) + L")");
    return std::find(folderWindows.begin(), folderWindows.end(), window) != folderWindows.end() ? L"CabinetWClass"
                                                                                                : L"OMain";
}

void FakePlatform::Sleep(std::uint32_t milliseconds) {
    Record(L"Sleep(" + std::to_wstring(milliseconds) + L")");
    tick += milliseconds;
}

std::uint32_t FakePlatform::GetTickCount() {
    Record(L"GetTickCount()");
    const std::uint32_t now = tick;
    tick += tickPerCall;
    return now;
}

std::wstring FakePlatform::GetLauncherDirectory() {
    if (launcherDirectoryError) throw *launcherDirectoryError;
    return launcherDirectory;
}

void FakePlatform::ShowMessageBox(std::wstring_view text) {
    Record(L"ShowMessageBox(" + std::wstring(text) + L")");
}

void FakePlatform::ShowWarningOnTop(std::wstring_view text) { Record(L"ShowWarningOnTop(" + std::wstring(text) + L")"); }

bool FakePlatform::FileExists(std::wstring_view path) {
    readsAt.push_back(calls.size());
    if (!associatedProgram.path.empty() && path == associatedProgram.path) return !associatedProgramMissing;
    return std::ranges::find(files, path) != files.end();
}

std::optional<std::wstring> FakePlatform::ReadableFolder(std::wstring_view path) {
    if (path.empty() || path.starts_with(L"X:")) return std::nullopt;  // X: is unreadable
    return std::wstring(path);
}

std::optional<std::wstring> FakePlatform::FullFolderPath(std::wstring_view path) {
    if (path.empty()) return std::nullopt;
    return std::wstring(path);
}

std::wstring FakePlatform::GetLocalAppDataDirectory() {
    return L"C:\\Users\\ann\\AppData\\Local";
}

bool FakePlatform::IsServiceAccount() {
    return serviceAccount;
}

std::wstring FakePlatform::DescribeError(std::uint32_t code) {
    Record(L"DescribeError(" + std::to_wstring(code) + L")");
    return L"description of " + std::to_wstring(code);
}

std::vector<std::wstring> LevelWrite(int level) {
    return {L"RegCreateKeyA(0x80000001, Software\\Microsoft\\Office\\11.0\\Access\\Security, 0x0)",
            L"RegSetValueExA(0x1234, Level, 4, [0" + std::to_wstring(level) + L" 00 00 00], 4)",
            L"RegCloseKey(0x1234)"};
}

}  // namespace tolvarine::testing
