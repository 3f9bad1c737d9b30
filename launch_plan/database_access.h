// The Access that opens ".mde" files on this PC decides how the launcher
// serves it: Access 2007 and later by a trusted location (see
// trusted_location.h), and an Access built for another machine than the
// application not at all, since it cannot open the application.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/system_reads.h"

namespace tolvarine {

// The application is a 32-bit x86 database, and the shipped launcher is
// built for the same machine. The x86-64 builds, which exist only to test on
// hosts that run no 32-bit code, take their own machine as the
// application's: there a 64-bit Access is the right one and a 32-bit
// Access the wrong one.
#if defined(__x86_64__) || defined(_M_X64)
inline constexpr std::uint16_t kApplicationMachine = kMachineX64;
#else
inline constexpr std::uint16_t kApplicationMachine = kMachineX86;
#endif

// MSACCESS.EXE as the program that the shell's "open" verb runs for ".mde"
// files, as its file describes it.
struct DatabaseAccess {
    std::optional<std::uint16_t> version;
    std::optional<std::uint16_t> machine;
};

// The program that the shell runs to open ".mde" files.
AssociatedProgram FindDatabaseHandler(SystemReads& reads);

// Access as that program describes itself; nothing when the program is not
// Access, or there is none.
std::optional<DatabaseAccess> DatabaseAccessOf(SystemReads& reads, const AssociatedProgram& handler);

// True when that Access is of the other edition than the application (a
// 64-bit Access, x64 or ARM64, for the 32-bit application), which cannot
// open it. An image whose machine cannot be read, or is none that Access
// is built for, is given the benefit of the doubt.
bool IsOtherEdition(const DatabaseAccess& access);

// "Install the 32-bit edition of Microsoft Access or of the free Access
// Runtime": what the user is asked to do where no Access can open the application.
std::wstring AccessInstallAdvice();

// "Access 16 (32-bit)", as far as the file says.
std::wstring AccessName(const DatabaseAccess& access);

// What the user is told then: the edition needed, the edition and version found.
std::wstring OtherEditionText(const DatabaseAccess& access);

// The version, 12 or later, whose Trust Center decides whether the
// application may run its macros; nothing for Access 2003 or older, one
// whose version cannot be read, and no Access.
std::optional<std::uint16_t> TrustCenterVersion(const std::optional<DatabaseAccess>& access);

}  // namespace tolvarine
