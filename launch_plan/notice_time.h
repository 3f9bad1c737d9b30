// When the launcher's warning that Access may not run the application's
// code is read: in its box, once the application is open, or in the
// check's verdict, before the launcher starts in an installed folder or
// before the package is installed, when nothing is open yet.
#pragma once

#include <string_view>

namespace tolvarine {

enum class NoticeTime { OnceOpened, BeforeStart, BeforeInstall };

// The warning's first words, in the tense of that moment.
constexpr std::wstring_view NoticeLead(NoticeTime time) {
    switch (time) {
    case NoticeTime::OnceOpened: return L"Tolvarine has been opened, but Access may not run its code: ";
    case NoticeTime::BeforeStart: return L"Tolvarine will open, but Access may not run its code: ";
    case NoticeTime::BeforeInstall: break;
    }
    return L"Once installed, Tolvarine will open, but Access may not run its code: ";
}

// The first words where Access may refuse to open the application at all.
constexpr std::wstring_view RefusalLead(NoticeTime time) {
    return time == NoticeTime::BeforeInstall ? L"Once installed, Access may not open Tolvarine: "
                                             : L"Access may not open Tolvarine: ";
}

}  // namespace tolvarine
