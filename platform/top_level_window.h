// A top-level window of our own: registers its class, creates the window
// with a pointer to this object, and hands each message to HandleMessage.
// An exception thrown by a handler cannot unwind through the system's
// callback, so it is carried across it and rethrown from RunMessageLoop.
#pragma once

#include <windows.h>

#include <exception>

#include "platform/win32_handles.h"

namespace tolvarine {

struct WindowSpec {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    int clientWidth;
    int clientHeight;
    HICON bigIcon;  // owned by the caller, kept until Destroy
    HICON smallIcon;
};

class TopLevelWindow {
public:
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    HWND hwnd() const noexcept { return window_.get(); }

    // Dispatches messages, with dialog keyboard handling (Tab between
    // controls), until the window is destroyed; returns the quit code.
    int RunMessageLoop();

protected:
    TopLevelWindow() = default;
    virtual ~TopLevelWindow() { Destroy(); }

    // Raises Error when the class or the window cannot be created.
    void Create(HINSTANCE instance, const WindowSpec& spec);

    // Destroys the window and unregisters its class; also done on
    // destruction. Derived classes call it first in their destructor, so
    // that both go before the fonts and icons they use.
    void Destroy() noexcept;

    // Raises Error when the control cannot be created.
    HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD extendedStyle, int left,
                       int top, int width, int height, int id);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The control that takes the focus whenever the window is activated
    // until the user moves it.
    void SetInitialFocus(HWND control) noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Loaded for the window, not imported: a program that carries the
    // window but never shows it (the launcher) never loads them.
    UniqueModule commonControls_;
    UniqueWindow window_;
    HINSTANCE instance_ = nullptr;
    const wchar_t* className_ = nullptr;
    HWND focusBeforeDeactivation_ = nullptr;
    bool quitOnDestroy_ = true;
    std::exception_ptr pendingError_;
};

}  // namespace tolvarine
