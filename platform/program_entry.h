// The frame of each entry point: harden the process before anything else
// can load a DLL, run the program on the real platform, and report an Error
// that ends it, here and only here.
#pragma once

#include "platform/error.h"
#include "platform/process_hardening.h"
#include "platform/windows_platform.h"

namespace tolvarine {

// Runs body(platform) and gives its exit code, or kExitCodeError after
// reporting the Error that ended it: in a box, unless `report` says otherwise.
template <typename Body>
int RunProgram(Body body, void (*report)(std::uint32_t, std::wstring_view) = ReportFatalError) {
    HardenProcess();
    try {
        WindowsPlatform platform;
        return body(platform);
    } catch (const Error& error) {
        report(error.code(), error.description());
        return kExitCodeError;
    }
}

}  // namespace tolvarine
