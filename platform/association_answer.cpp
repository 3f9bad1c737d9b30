#include "platform/association_answer.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/module_directory.h"

namespace tolvarine::association {

namespace {

// Paths may be longer than MAX_PATH, but never longer than this.
constexpr std::size_t kLongestPath = 32768;
constexpr std::size_t kMaxPath = 260;

// The program part of a command line: quoted, or else up to the ".exe" that
// ends a word (a path with spaces written without quotes), or the first word.
std::wstring ProgramOfCommand(std::wstring_view command) {
    if (command.starts_with(L'"')) return std::wstring(command.substr(1, command.find(L'"', 1) - 1));
    for (std::size_t end = command.find(L' '); end != std::wstring_view::npos; end = command.find(L' ', end + 1))
        if (end >= 4 && EqualsIgnoringAsciiCase(command.substr(end - 4, 4), L".exe"))
            return std::wstring(command.substr(0, end));
    return std::wstring(command.substr(0, command.find(L' ')));
}

}  // namespace

AssociatedProgram ReadAssociation(const Query& query) {
    using Answer = AssociatedProgram::Answer;
    // With ASSOCF_NOTRUNCATE a string that does not fit fails, saying its
    // length, instead of coming back cut short.
    std::uint32_t flags = kNoTruncate | kIgnoreUnknown;
    const auto ask = [&](int string) -> std::pair<std::int32_t, std::wstring> {
        std::vector<wchar_t> buffer(kMaxPath);
        for (;;) {
            auto length = static_cast<std::uint32_t>(buffer.size());
            const std::int32_t result = query(flags, string, buffer, length);
            if (result == kInvalidArg && (flags & kIgnoreUnknown)) {
                flags &= ~kIgnoreUnknown;  // a shell older than the flag
                continue;
            }
            if (result == kPointer && buffer.size() < kLongestPath) {
                buffer.resize(std::min(std::max<std::size_t>(length, buffer.size() * 2), kLongestPath));
                continue;
            }
            if (result != kOk) return {result, {}};
            buffer.back() = L'\0';
            return {result, std::wstring(buffer.data())};
        }
    };

    const auto [result, path] = ask(kExecutable);
    if (result == kOk) {
        if (path.empty()) return {};
        if (EqualsIgnoringAsciiCase(FileNameOfPath(path), L"OpenWith.exe")) return {Answer::NoProgram, {}};
        return {Answer::Program, path};
    }
    if (result == kNoAssociation) return {Answer::NoProgram, {}};
    if (result != kFileNotFound) return {};
    // Windows XP answers so where no program opens the type, and Wine where
    // the command's program is not there: the command tells which.
    const auto [found, command] = ask(kCommand);
    if (found == kOk && !command.empty()) return {Answer::Program, ProgramOfCommand(command)};
    if (found == kOk || found == kFileNotFound || found == kNoAssociation) return {Answer::NoProgram, {}};
    return {};
}

}  // namespace tolvarine::association
