// Owners for the Win32 handles the program creates.
#pragma once

#include <windows.h>

#include "platform/unique_handle.h"

namespace tolvarine {

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};

// CreateFile's "no handle" is INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::RegCloseKey(h); }
};

struct WindowTraits {
    using Type = HWND;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DestroyWindow(h); }
};

struct FontTraits {
    using Type = HFONT;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DestroyIcon(h); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::LocalFree(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

}  // namespace tolvarine
