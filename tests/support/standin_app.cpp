// A stand-in for the database application, registered for ".mde" in test
// prefixes. It logs the security level and the launcher's trusted location
// it sees at start and the file it was given, shows its main window after a
// delay, and ends on WM_CLOSE or after its lifetime.
//   TOLVARINE_STANDIN_LOG       event log (see timeline_log.h)
//   TOLVARINE_STANDIN_DELAY_MS  delay before the window appears (default 300)
//   TOLVARINE_STANDIN_TITLE     the window's title (default "Tolvarine")
//   TOLVARINE_STANDIN_CLASS     the window's class (default "TolvarineStandIn")
//   TOLVARINE_STANDIN_BEHIND    1: the window takes its title behind every
//                               other window, as when another is in front,
//                               and stays hidden
//   TOLVARINE_STANDIN_STARTUP_MS   time before it reads the level, as a slow
//                                  start-up would take (default 0)
//   TOLVARINE_STANDIN_LIFETIME_MS  time from start to exit (default 30000)
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32_handles.h"
#include "tests/support/timeline_log.h"

namespace {

using namespace tolvarine;
using namespace tolvarine::support;

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kLifetimeTimer = 2;

std::wstring g_log;
std::wstring g_source;
std::wstring g_title;
bool g_behind = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kShowTimer) {
                ::KillTimer(window, kShowTimer);
                // Under Wine a window shown on the screen returns to the top, so
                // one kept behind the others stays hidden.
                if (g_behind) ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                // The window can be found from the moment it has its title.
                const auto shown = NowMicroseconds();
                ::SetWindowTextW(window, g_title.c_str());
                if (!g_behind) ::ShowWindow(window, SW_SHOWNORMAL);
                AppendEventAt(g_log, shown, g_source, L"window title=" + g_title);
            } else {
                ::DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

unsigned Milliseconds(const wchar_t* name, unsigned fallback) {
    const std::wstring text = Environment(name);
    return text.empty() ? fallback : static_cast<unsigned>(std::stoul(text));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_log = Environment(L"TOLVARINE_STANDIN_LOG");
    g_title = Environment(L"TOLVARINE_STANDIN_TITLE", L"Tolvarine");
    const std::wstring className = Environment(L"TOLVARINE_STANDIN_CLASS", L"TolvarineStandIn");
    g_behind = Environment(L"TOLVARINE_STANDIN_BEHIND") == L"1";
    g_source = L"app" + std::to_wstring(::GetCurrentProcessId());
    AppendEvent(g_log, g_source, L"launched");
    const unsigned startup = Milliseconds(L"TOLVARINE_STANDIN_STARTUP_MS", 0);
    ::Sleep(startup);

    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const UniqueLocalMemory arguments(argv);
    const std::wstring file = argv && argc > 1 ? argv[1] : L"";
    AppendEvent(g_log, g_source, L"start level=" + std::to_wstring(ReadSecurityLevel()) + L" file=" + file);
    AppendEvent(g_log, g_source, L"trusted-location " + ReadTrustedLocation());
    AppendEvent(g_log, g_source, L"command-line " + std::wstring(::GetCommandLineW()));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    if (!::RegisterClassExW(&windowClass)) return 10;
    // Created hidden and untitled: the title appears together with the window.
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                          CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 11;
    ::SetTimer(window, kShowTimer, Milliseconds(L"TOLVARINE_STANDIN_DELAY_MS", 300), nullptr);
    const unsigned lifetime = Milliseconds(L"TOLVARINE_STANDIN_LIFETIME_MS", 30000);
    ::SetTimer(window, kLifetimeTimer, lifetime > startup ? lifetime - startup : 1, nullptr);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    AppendEvent(g_log, g_source, L"exit");
    return 0;
}
