// Owners for the Win32 handles the program creates.
#pragma once

#include <windows.h>

#include "platform/unique_handle.h"

namespace tolvarine {

// Handles whose "none" is null, closed by one Win32 function.
template <typename T, auto Close>
struct NullEmptyTraits {
    using Type = T;
    static Type empty() noexcept { return nullptr; }
    static void close(Type h) noexcept { Close(h); }
};

// CreateFile's "no handle" is INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};

// FindFirstFile's search handle: INVALID_HANDLE_VALUE for none, closed by FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::FindClose(h); }
};

// CreateActCtx's "no context" is INVALID_HANDLE_VALUE; released by ReleaseActCtx.
struct ActivationContextTraits {
    using Type = HANDLE;
    static Type empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::ReleaseActCtx(h); }
};

using UniqueKernelHandle = UniqueHandle<NullEmptyTraits<HANDLE, ::CloseHandle>>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueRegistryKey = UniqueHandle<NullEmptyTraits<HKEY, ::RegCloseKey>>;
using UniqueWindow = UniqueHandle<NullEmptyTraits<HWND, ::DestroyWindow>>;
using UniqueFont = UniqueHandle<NullEmptyTraits<HFONT, ::DeleteObject>>;
using UniqueIcon = UniqueHandle<NullEmptyTraits<HICON, ::DestroyIcon>>;
using UniqueLocalMemory = UniqueHandle<NullEmptyTraits<HLOCAL, ::LocalFree>>;
using UniqueModule = UniqueHandle<NullEmptyTraits<HMODULE, ::FreeLibrary>>;
using UniqueActivationContext = UniqueHandle<ActivationContextTraits>;

}  // namespace tolvarine
