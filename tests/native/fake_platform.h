// The system's reads and the launcher's actions in one fake that answers as
// the test tells it and records each action, in order, as readable text
// with the clock's reading at the time. Reads change nothing and are not recorded.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/launcher_actions.h"
#include "platform/system_reads.h"

namespace tolvarine::testing {

class FakePlatform : public SystemReads, public LauncherActions {
public:
    // Answers.
    std::wstring launcherDirectory = L"C:\\Apps\\Tolvarine";
    std::optional<Error> launcherDirectoryError;
    long createKeyStatus = 0;
    KeyHandle createdKey = 0x1234;  // filled in only when createKeyStatus is 0
    long setValueStatus = 0;
    long closeKeyStatus = 0;
    WindowHandle desktopWindow = 0x10010;
    std::int32_t shellResult = 42;
    // The windows titled "Tolvarine", in the order FindWindowExA meets them:
    // shell folder windows first, then from poll number pollsBeforeWindow on
    // (a poll starts with the first window) the application's windowHandle.
    std::vector<WindowHandle> folderWindows;
    int pollsBeforeWindow = 0;
    WindowHandle windowHandle = 0x20020;
    std::optional<Error> windowSearchError;  // raised by every search
    std::uint32_t tick = 5000;
    std::uint32_t tickPerCall = 1;
    AssociatedProgram associatedProgram;  // for ".mde" files; by default the look-up fails
    bool associatedProgramMissing = false;  // else its file exists
    std::optional<std::uint16_t> executableVersion;   // its major version, the rest 0
    std::optional<std::uint16_t> executableMachine;  // nothing: a header that cannot be read
    // The values the registry reads find (key path and name in any case).
    struct StoredValue {
        std::wstring key, name;
        RegistryData data;
    };
    std::vector<StoredValue> registry;
    bool networkDrives = false;  // every drive letter
    std::vector<std::wstring> files;  // the files that exist, paths as given
    bool serviceAccount = false;

    std::vector<std::wstring> calls;
    std::vector<std::uint32_t> callTicks;  // the tick count at each call
    std::vector<std::size_t> readsAt;  // at each read a plan makes, how many calls were made before it

    std::string ToAnsi(std::wstring_view text) override;
    long RegCreateKeyA(RegistryRoot root, std::wstring_view subKey, KeyHandle& key) override;
    long RegSetValueExA(KeyHandle key, std::wstring_view valueName, std::uint32_t type,
                        std::span<const std::byte> data) override;
    long RegCloseKey(KeyHandle key) override;
    long WriteVolatileRegistryKey(RegistryRoot root, std::wstring_view parentPath, std::wstring_view keyName,
                                  std::span<const RegistryEntry> values) override;
    long DeleteRegistryKey(RegistryRoot root, std::wstring_view keyPath) override;
    std::vector<std::optional<RegistryData>> ReadRegistryValues(RegistryRoot root, std::wstring_view keyPath,
                                                                std::span<const std::wstring_view> valueNames) override;
    std::vector<std::wstring> ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) override;
    bool IsNetworkDrive(wchar_t driveLetter) override;
    std::wstring UpperCase(std::wstring_view text) override;
    AssociatedProgram FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) override;
    ProgramImage ReadProgramImage(std::wstring_view path) override;
    WindowHandle GetDesktopWindow() override;
    std::int32_t ShellExecuteW(WindowHandle owner, std::wstring_view verb, std::wstring_view file,
                               std::wstring_view parameters, std::wstring_view directory,
                               int showCommand) override;
    WindowHandle FindWindowExA(WindowHandle after, std::wstring_view title) override;
    std::wstring GetClassNameW(WindowHandle window) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t GetTickCount() override;
    std::wstring GetLauncherDirectory() override;
    void ShowMessageBox(std::wstring_view text) override;
    void ShowWarningOnTop(std::wstring_view text) override;
    bool FileExists(std::wstring_view path) override;
    std::optional<std::wstring> ReadableFolder(std::wstring_view path) override;
    std::optional<std::wstring> FullFolderPath(std::wstring_view path) override;
    std::wstring GetLocalAppDataDirectory() override;
    bool IsServiceAccount() override;
    std::wstring DescribeError(std::uint32_t code) override;

private:
    // Appends to calls. Code under test that never stops would otherwise
    // fill memory: past a limit no test needs, this fails the test at once.
    void Record(std::wstring call);

    int polls_ = 0;
    bool windowShown_ = false;  // in the current poll
};

// The two calls that write a level, between create and close.
std::vector<std::wstring> LevelWrite(int level);

}  // namespace tolvarine::testing
