// The frame of each entry point: harden the process before anything else
// can load a DLL, run the program on the real platform, and report an Error
// that ends it, here and only here.
#pragma once

#include <exception>
#include <new>

#include "platform/error.h"
#include "platform/process_hardening.h"
#include "platform/system_error.h"
#include "platform/windows_platform.h"

namespace tolvarine {

// Runs body(platform) and gives its exit code, or kExitCodeError after
// reporting the Error (or the want of memory, or another failure of the
// library) that ended it: in a box, unless `report` says otherwise.
template <typename Body>
int RunProgram(Body body, void (*report)(std::uint32_t, std::wstring_view) = ReportFatalError) {
    HardenProcess();
    try {
        WindowsPlatform platform;
        return body(platform);
    } catch (const Error& error) {
        report(error.code(), error.description());
        return kExitCodeError;
    } catch (const std::bad_alloc&) {
        // Caught too, so that the run unwinds and its owners put back what it
        // lowered: an exception nothing catches may end the process unwound.
        report(ERROR_NOT_ENOUGH_MEMORY, SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
        return kExitCodeError;
    } catch (const std::exception&) {
        // Any other failure of the library, for the same reason.
        report(ERROR_INTERNAL_ERROR, SystemErrorText(ERROR_INTERNAL_ERROR));
        return kExitCodeError;
    }
}

}  // namespace tolvarine
