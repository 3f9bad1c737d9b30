#include "tests/windows/kit_state.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "tests/windows/windows_test_support.h"

namespace tolvarine::windows_test {

namespace {

struct TrackedKey {
    HKEY root;
    const char* rootName;
    REGSAM view;
    std::wstring path;
    const wchar_t* onlyValue;  // null: the whole key
};

// The association, the Office keys of every version the suite uses, the policy
// keys, Form1's key in the 32-bit view, the writer's test key, the package's
// remembered folder and the display density the layout tests set.
std::vector<TrackedKey> TrackedKeys() {
    std::vector<TrackedKey> keys;
    for (const wchar_t* name : {L".mde", L"TolvarineTest.Database"}) {
        keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, std::wstring(L"Software\\Classes\\") + name, nullptr});
        keys.push_back({HKEY_LOCAL_MACHINE, "HKLM", 0, std::wstring(L"Software\\Classes\\") + name, nullptr});
    }
    for (const wchar_t* version : {L"11.0", L"16.0"})
        for (const wchar_t* part : {L"\\Access", L"\\Common\\Security"})
            keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, std::wstring(L"Software\\Microsoft\\Office\\") + version + part,
                            nullptr});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Policies\\Microsoft\\Office", nullptr});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Policies\\Microsoft\\Cloud\\Office", nullptr});
    keys.push_back({HKEY_LOCAL_MACHINE, "HKLM", KEY_WOW64_32KEY, L"SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot",
                    nullptr});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, L"Software\\TolvarineTests", nullptr});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Tolvarine\\Installer", nullptr});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", 0, L"Control Panel\\Desktop", L"LogPixels"});
    return keys;
}

// Where Form1's tests put a stand-in Access, outermost folder first.
std::vector<std::wstring> TrackedFiles() {
    std::vector<std::wstring> files;
    for (const wchar_t* programs : {L"C:\\Program Files", L"C:\\Program Files (x86)"})
        for (const wchar_t* part : {L"\\Microsoft Office", L"\\Microsoft Office\\OFFICE11",
                                    L"\\Microsoft Office\\OFFICE11\\MSACCESS.EXE"})
            files.push_back(std::wstring(programs) + part);
    return files;
}

std::string Hex(const void* data, std::size_t size) {
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof(digits), "%02x", static_cast<const unsigned char*>(data)[i]);
        text += digits;
    }
    return text.empty() ? "-" : text;
}

std::vector<unsigned char> Bytes(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// "key <relative path as hex>" then "value <name as hex> <type> <data as hex>"
// lines, depth first; nothing when the key is missing.
void DumpKey(const TrackedKey& tracked, const std::wstring& relative, std::string& out) {
    UniqueRegistryKey key;
    const std::wstring path = relative.empty() ? tracked.path : tracked.path + L"\\" + relative;
    if (::RegOpenKeyExW(tracked.root, path.c_str(), 0, KEY_READ | tracked.view, key.put()) != ERROR_SUCCESS) return;
    if (!tracked.onlyValue) out += "key " + Hex(relative.data(), relative.size() * sizeof(wchar_t)) + "\n";
    std::vector<wchar_t> name(16384);
    std::vector<unsigned char> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
        if (::RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        if (tracked.onlyValue && _wcsicmp(name.data(), tracked.onlyValue) != 0) continue;
        out += "value " + Hex(name.data(), nameLength * sizeof(wchar_t)) + " " + std::to_string(type) + " " +
               Hex(data.data(), size) + "\n";
    }
    for (DWORD i = 0; !tracked.onlyValue; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExW(key.get(), i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring child(name.data(), nameLength);
        DumpKey(tracked, relative.empty() ? child : relative + L"\\" + child, out);
    }
}

std::string Dump(const TrackedKey& tracked) {
    std::string out;
    DumpKey(tracked, L"", out);
    return out;
}

}  // namespace

std::string RegistryTreeText(HKEY root, const std::wstring& path) { return Dump({root, "", 0, path, nullptr}); }

namespace {

// Writes the recorded keys and values again, over a key already emptied.
LONG Recreate(const TrackedKey& tracked, const std::string& dump) {
    std::istringstream lines(dump);
    std::string kind, name, type, data;
    UniqueRegistryKey key;
    while (lines >> kind >> name) {
        if (kind == "key") {
            const auto bytes = Bytes(name);
            std::wstring relative(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
            const std::wstring path = relative.empty() ? tracked.path : tracked.path + L"\\" + relative;
            key.reset();
            const LONG status = ::RegCreateKeyExW(tracked.root, path.c_str(), 0, nullptr, 0, KEY_WRITE | tracked.view,
                                                  nullptr, key.put(), nullptr);
            if (status != ERROR_SUCCESS) return status;
            continue;
        }
        lines >> type >> data;
        if (!key && ::RegOpenKeyExW(tracked.root, tracked.path.c_str(), 0, KEY_WRITE | tracked.view, key.put()) !=
                        ERROR_SUCCESS)
            return ERROR_FILE_NOT_FOUND;
        const auto nameBytes = Bytes(name), value = Bytes(data);
        const std::wstring valueName(reinterpret_cast<const wchar_t*>(nameBytes.data()), nameBytes.size() / 2);
        const LONG status = ::RegSetValueExW(key.get(), valueName.c_str(), 0, static_cast<DWORD>(std::stoul(type)),
                                             value.data(), static_cast<DWORD>(value.size()));
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace

LONG PutBackRegistryTree(HKEY root, const std::wstring& path, const std::string& text) {
    const TrackedKey tracked{root, "", 0, path, nullptr};
    const LONG status = DeleteRegistryTree(root, path);
    return status == ERROR_SUCCESS ? Recreate(tracked, text) : status;
}

namespace {

// Keys above the tracked ones that the suite may create, innermost first:
// removed again when they were missing and are left without subkeys.
const TrackedKey kParentKeys[] = {
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Microsoft\\Office\\11.0", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Microsoft\\Office\\16.0", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Microsoft\\Office", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Policies\\Microsoft\\Cloud", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Policies\\Microsoft", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Policies", nullptr},
    {HKEY_CURRENT_USER, "HKCU", 0, L"Software\\Tolvarine", nullptr},
    {HKEY_LOCAL_MACHINE, "HKLM", KEY_WOW64_32KEY, L"SOFTWARE\\Microsoft\\Office\\11.0\\Access", nullptr},
    {HKEY_LOCAL_MACHINE, "HKLM", KEY_WOW64_32KEY, L"SOFTWARE\\Microsoft\\Office\\11.0", nullptr},
    {HKEY_LOCAL_MACHINE, "HKLM", KEY_WOW64_32KEY, L"SOFTWARE\\Microsoft\\Office", nullptr},
};

std::string Existence() {
    std::string out;
    for (const std::wstring& file : TrackedFiles())
        out += ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ? '0' : '1';
    for (const TrackedKey& parent : kParentKeys) {
        UniqueRegistryKey key;
        out += ::RegOpenKeyExW(parent.root, parent.path.c_str(), 0, KEY_READ | parent.view, key.put()) == ERROR_SUCCESS
                   ? '1'
                   : '0';
    }
    return out;
}

}  // namespace

bool SaveKitState(const std::wstring& file) {
    std::string state = Existence() + "\n";
    for (const TrackedKey& tracked : TrackedKeys()) state += Dump(tracked) + "end\n";
    const UniqueFileHandle out(
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!out || !::WriteFile(out.get(), state.data(), static_cast<DWORD>(state.size()), &written, nullptr)) {
        std::printf("error: cannot record the registry in %s\n", Utf8(file).c_str());
        return false;
    }
    return true;
}

bool RestoreKitState(const std::wstring& file) {
    std::istringstream saved(ReadFileUtf8(file));
    std::string existed, line;
    if (!std::getline(saved, existed)) {
        std::printf("error: no record of the registry in %s: nothing put back\n", Utf8(file).c_str());
        return false;
    }
    bool restored = true;
    // The files the suite added, innermost first; folders only when empty.
    const auto files = TrackedFiles();
    for (std::size_t i = files.size(); i-- > 0;)
        if (i < existed.size() && existed[i] == '0' && ::GetFileAttributesW(files[i].c_str()) != INVALID_FILE_ATTRIBUTES)
            if (!::DeleteFileW(files[i].c_str()) && !::RemoveDirectoryW(files[i].c_str())) {
                std::printf("error: cannot remove %s, which the tests added\n", Utf8(files[i]).c_str());
                restored = false;
            }
    for (const TrackedKey& tracked : TrackedKeys()) {
        std::string before;
        while (std::getline(saved, line) && line != "end") before += line + "\n";
        if (Dump(tracked) == before) continue;
        LONG status = ERROR_SUCCESS;
        if (tracked.onlyValue) {
            UniqueRegistryKey key;
            status = ::RegOpenKeyExW(tracked.root, tracked.path.c_str(), 0, KEY_WRITE | tracked.view, key.put());
            if (status == ERROR_SUCCESS) status = ::RegDeleteValueW(key.get(), tracked.onlyValue);
            if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
        } else {
            status = DeleteRegistryTree(tracked.root, tracked.path, tracked.view);
        }
        if (status == ERROR_SUCCESS) status = Recreate(tracked, before);
        if (status != ERROR_SUCCESS || Dump(tracked) != before) {
            std::printf("error: cannot put back %s\\%s (error %ld)\n", tracked.rootName, Utf8(tracked.path).c_str(),
                        status);
            restored = false;
        }
    }
    for (std::size_t i = 0; i < std::size(kParentKeys); ++i)
        if (files.size() + i < existed.size() && existed[files.size() + i] == '0')  // fails, as it should, where subkeys remain
            ::RegDeleteKeyExW(kParentKeys[i].root, kParentKeys[i].path.c_str(), kParentKeys[i].view, 0);
    return restored;
}

bool UnblockFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    DWORD failure = search ? ERROR_SUCCESS : ::GetLastError();
    for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring stream = folder + L"\\" + found.cFileName + L":Zone.Identifier";
        // No such stream, or a file system without streams: nothing to remove.
        if (!::DeleteFileW(stream.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND &&
            ::GetLastError() != ERROR_PATH_NOT_FOUND && ::GetLastError() != ERROR_INVALID_NAME)
            failure = ::GetLastError();
    }
    if (failure != ERROR_SUCCESS)
        std::printf("note: the mark of the web could not be removed from %s (error %lu): Windows may ask before it "
                    "opens its files\n", Utf8(folder).c_str(), failure);
    return failure == ERROR_SUCCESS;
}

}  // namespace tolvarine::windows_test
