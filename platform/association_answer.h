// What the shell's association look-up (AssocQueryStringW) says about the
// program that opens a kind of file, read the same way on every Windows
// from XP to 11. Kept apart from the call itself, and free of Windows
// headers, so that every answer a shell may give can be tried natively.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/system_reads.h"

namespace tolvarine::association {

// The flags, strings and results of AssocQueryStringW that the reading
// depends on, with the values shlwapi.h and winerror.h give them.
inline constexpr std::uint32_t kNoTruncate = 0x20;       // ASSOCF_NOTRUNCATE
inline constexpr std::uint32_t kIgnoreUnknown = 0x400;   // ASSOCF_INIT_IGNOREUNKNOWN
inline constexpr int kCommand = 1;                       // ASSOCSTR_COMMAND
inline constexpr int kExecutable = 2;                    // ASSOCSTR_EXECUTABLE
inline constexpr std::int32_t kOk = 0;                   // S_OK
inline constexpr auto kFail = static_cast<std::int32_t>(0x80004005u);           // E_FAIL
inline constexpr auto kPointer = static_cast<std::int32_t>(0x80004003u);        // E_POINTER
inline constexpr auto kInvalidArg = static_cast<std::int32_t>(0x80070057u);     // E_INVALIDARG
inline constexpr auto kFileNotFound = static_cast<std::int32_t>(0x80070002u);   // from ERROR_FILE_NOT_FOUND
inline constexpr auto kNoAssociation = static_cast<std::int32_t>(0x80070483u);  // from ERROR_NO_ASSOCIATION

// One call of the look-up for the extension and verb at hand: the flags,
// the string asked for, a buffer and, in `length`, its room in characters,
// which the call may set to the length it needs. Gives the HRESULT.
using Query = std::function<std::int32_t(std::uint32_t flags, int string, std::span<wchar_t> buffer,
                                         std::uint32_t& length)>;

// The program, or why there is none:
// - Windows 8 and later fall back to a catch-all whose "open" is the "How do
//   you want to open this file?" picker (OpenWith.exe): no program. The
//   look-up is asked to ignore it; a shell that refuses that flag is asked
//   again without it.
// - No association, and, as Windows XP reports it, a file not found where
//   no command is found either: no program. Where the association has a
//   command whose program the shell could not find (Wine says so where
//   Windows gives the path regardless), that program as the command names
//   it, with or without a folder, so that the caller can judge it.
// - Any other failure, E_FAIL included, which Microsoft gives no meaning
//   here: not known, and the shell decides.
AssociatedProgram ReadAssociation(const Query& query);

}  // namespace tolvarine::association
