#include "window/form1.h"

#include <string>

#include "launch_plan/office_keys.h"
#include "platform/system_error.h"
#include "platform/windows_platform.h"
#include "resources/resource_ids.h"
#include "window/access_command_line.h"
#include "window/form1_layout.h"

namespace tolvarine {

namespace {

// Control ids stay clear of IDOK and IDCANCEL, which dialog keyboard
// handling sends for Enter and Escape: the window has no default button.
constexpr int kCommand1Id = 100;
constexpr int kTxtPathDBId = 101;
constexpr int kLabel1Id = 102;

struct DotsPerInch {
    int x;
    int y;
};

DotsPerInch ScreenDotsPerInch() {
    const HDC screen = ::GetDC(nullptr);
    const DotsPerInch dpi{::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY)};
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The system's font for dialogs and messages.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);  // the Windows XP size: built for XP
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) ThrowLastError();
    const HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    if (!font) ThrowLastError();
    return font;
}

HICON LoadProgramIcon(HINSTANCE instance, int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                           ::GetSystemMetrics(sizeMetricX), ::GetSystemMetrics(sizeMetricY), 0));
}

constexpr std::wstring_view kOffice11UnderProgramFiles = L"Microsoft Office\\OFFICE11\\";

// MSACCESS.EXE's path in the folder (or the subfolder of it) when the
// folder is known and the file is there; otherwise empty.
std::wstring AccessIn(std::wstring folder, std::wstring_view subFolder = {}) {
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    std::wstring path = folder + std::wstring(subFolder) + std::wstring(kAccessFileName);
    return FileExists(path) ? path : std::wstring();
}

// Where Access 2003 is, looked up afresh each time: its standard install
// path when the file is there; else MSACCESS.EXE in the folder Access 2003
// registered at install; else under the system's 32-bit Program Files
// folder, where 64-bit Windows installs it; else the standard path, so that
// starting it fails as it would have.
std::wstring FindAccessExecutable() {
    if (FileExists(kAccessExecutable)) return std::wstring(kAccessExecutable);
    const std::wstring installRoot = ReadRegistryText32(
        kHkeyLocalMachine, OfficeVersionKey(kOfficeUserSettings, kAccess2003Version, kAccessInstallRoot), L"Path");
    if (std::wstring path = AccessIn(installRoot); !path.empty()) return path;
    if (std::wstring path = AccessIn(GetProgramFilesX86Directory(), kOffice11UnderProgramFiles); !path.empty())
        return path;
    return std::wstring(kAccessExecutable);
}

}  // namespace

Form1::Form1(HINSTANCE instance)
    : font_(CreateMessageFont()),
      bigIcon_(LoadProgramIcon(instance, SM_CXICON, SM_CYICON)),
      smallIcon_(LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON)) {
    const DotsPerInch dpi = ScreenDotsPerInch();
    Create(instance, WindowSpec{L"TolvarineForm1", kForm1Caption.data(), WS_OVERLAPPEDWINDOW,
                                TwipsToPixels(kForm1ClientWidthTwips, dpi.x),
                                TwipsToPixels(kForm1ClientHeightTwips, dpi.y), bigIcon_.get(), smallIcon_.get()});
}

Form1::~Form1() { Destroy(); }

void Form1::Show(int showCommand) {
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    SetInitialFocus(command1_);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            OnLoad();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommand1Id && HIWORD(wParam) == BN_CLICKED) {
                OnCommand1Click();
                return 0;
            }
            break;
        default:
            break;
    }
    return TopLevelWindow::HandleMessage(message, wParam, lParam);
}

void Form1::CreateControls() {
    const DotsPerInch dpi = ScreenDotsPerInch();
    const auto place = [&](const TwipsRect& twips) { return ToPixels(twips, dpi.x, dpi.y); };

    // Creation order is the tab order: Command1, then txtPathDB.
    const PixelRect button = place(kCommand1Rect);
    command1_ = CreateControl(L"BUTTON", kCommand1Text.data(), WS_TABSTOP | BS_PUSHBUTTON, 0, button.left,
                              button.top, button.width, button.height, kCommand1Id);
    const PixelRect box = place(kTxtPathDBRect);
    txtPathDB_ = CreateControl(L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, box.left,
                               box.top, box.width, box.height, kTxtPathDBId);
    const PixelRect label = place(kLabel1Rect);
    label1_ = CreateControl(L"STATIC", kLabel1Text.data(), SS_LEFT, 0, label.left, label.top, label.width,
                            label.height, kLabel1Id);

    // The box takes text of any length.
    ::SendMessageW(txtPathDB_, EM_LIMITTEXT, 0, 0);
    for (const HWND control : {command1_, txtPathDB_, label1_})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void Form1::OnLoad() { ::SetWindowTextW(txtPathDB_, kDefaultDatabasePath.data()); }

void Form1::OnCommand1Click() {
    const int length = ::GetWindowTextLengthW(txtPathDB_);
    std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
    path.resize(static_cast<std::size_t>(::GetWindowTextW(txtPathDB_, path.data(), length + 1)));
    StartCommandLine(AccessCommandLine(FindAccessExecutable(), path), kShowNormal);
}

}  // namespace tolvarine
