// When the launcher's warning that Access may not run the application's
// code is read: in its box, once the application is open, or in the
// check's verdict before the package is installed, when nothing is open yet.
#pragma once

#include <string_view>

namespace tolvarine {

enum class NoticeTime { OnceOpened, BeforeInstall };

// The warning's first words, in the tense of that moment.
constexpr std::wstring_view NoticeLead(NoticeTime time) {
    return time == NoticeTime::OnceOpened ? L"Tolvarine has been opened, but Access may not run its code: "
                                          : L"Once installed, Tolvarine will open, but Access may not run its code: ";
}

}  // namespace tolvarine
