#include "platform/top_level_window.h"

#include "platform/system_error.h"
#include "platform/system_library.h"

namespace tolvarine {

void TopLevelWindow::Create(HINSTANCE instance, const WindowSpec& spec) {
    // Common Controls 6, which the manifest asks for, so that the controls
    // have the system's visual style (on Windows XP too).
    commonControls_ = LoadCommonControls();

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = spec.bigIcon;
    windowClass.hIconSm = spec.smallIcon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = spec.className;
    if (!::RegisterClassExW(&windowClass)) ThrowLastError();
    instance_ = instance;
    className_ = spec.className;

    RECT frame{0, 0, spec.clientWidth, spec.clientHeight};
    ::AdjustWindowRectEx(&frame, spec.style, FALSE, 0);
    // WM_CREATE runs inside this call; WindowProc stores the handle on WM_NCCREATE.
    const HWND created = ::CreateWindowExW(0, spec.className, spec.caption, spec.style, CW_USEDEFAULT, CW_USEDEFAULT,
                                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                           instance, this);
    if (!created) {
        if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
        ThrowLastError();
    }
}

void TopLevelWindow::Destroy() noexcept {
    // Torn down by its owner, not closed by the user: no quit message, which
    // would also end any message box shown afterwards (an error report).
    quitOnDestroy_ = false;
    window_.reset();
    if (className_) ::UnregisterClassW(className_, instance_);
    className_ = nullptr;
}

void TopLevelWindow::SetInitialFocus(HWND control) noexcept {
    focusBeforeDeactivation_ = control;
    ::SetFocus(control);
}

HWND TopLevelWindow::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD extendedStyle,
                                   int left, int top, int width, int height, int id) {
    const HWND control = ::CreateWindowExW(extendedStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top,
                                           width, height, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd(), GWLP_HINSTANCE)),
                                           nullptr);
    if (!control) ThrowLastError();
    return control;
}

int TopLevelWindow::RunMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) ThrowLastError();
        if (got == 0) break;
        if (!hwnd() || !::IsDialogMessageW(hwnd(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
    }
    return static_cast<int>(message.wParam);
}

LRESULT TopLevelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Keyboard focus returns to the control that had it.
            if (LOWORD(wParam) == WA_INACTIVE) {
                focusBeforeDeactivation_ = ::GetFocus();
            } else if (focusBeforeDeactivation_ && ::IsChild(hwnd(), focusBeforeDeactivation_)) {
                ::SetFocus(focusBeforeDeactivation_);
                return 0;
            }
            break;
        case WM_DESTROY:
            if (quitOnDestroy_) ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK TopLevelWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TopLevelWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TopLevelWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: nothing is left to destroy, no object to call.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_.release();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->pendingError_ = std::current_exception();
        // A failure while creating makes creation fail.
        return message == WM_CREATE ? -1 : 0;
    }
}

}  // namespace tolvarine
