#include "launch_plan/database_access.h"

#include <string_view>

#include "launch_plan/office_keys.h"
#include "platform/ascii_case.h"
#include "platform/module_directory.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kDatabaseExtension = L".mde";
constexpr std::wstring_view kOpenVerb = L"open";
constexpr std::uint16_t kFirstTrustCenterAccess = 12;  // Access 2007; Access 2003 is 11

// The edition as Office names it to its users; nothing for a machine no Access is built for.
std::optional<std::wstring_view> Edition(std::optional<std::uint16_t> machine) {
    if (machine == kMachineX86) return L"32-bit";
    if (machine == kMachineX64 || machine == kMachineArm64) return L"64-bit";
    return std::nullopt;
}

// "32-bit": the edition of Access that the application needs.
std::wstring_view ApplicationEdition() { return *Edition(kApplicationMachine); }

}  // namespace

AssociatedProgram FindDatabaseHandler(SystemReads& reads) {
    return reads.FindAssociatedExecutable(kDatabaseExtension, kOpenVerb);
}

std::optional<DatabaseAccess> DatabaseAccessOf(SystemReads& reads, const AssociatedProgram& handler) {
    if (handler.answer != AssociatedProgram::Answer::Program ||
        !EqualsIgnoringAsciiCase(FileNameOfPath(handler.path), kAccessFileName))
        return std::nullopt;
    // A name alone is read from no file: which one the shell finds is its own affair.
    const ProgramImage image = IsFullPath(handler.path) ? reads.ReadProgramImage(handler.path) : ProgramImage{};
    return DatabaseAccess{image.version ? std::optional(image.version->major) : std::nullopt, image.machine};
}

std::wstring AccessName(const DatabaseAccess& access) {
    std::wstring name = L"Access";
    if (access.version) name += L" " + std::to_wstring(*access.version);
    if (const auto edition = Edition(access.machine)) (name += L" (") += std::wstring(*edition) += L')';
    return name;
}

bool IsOtherEdition(const DatabaseAccess& access) {
    const auto found = Edition(access.machine);
    return found && *found != ApplicationEdition();
}

std::wstring AccessInstallAdvice() {
    return L"Install the " + std::wstring(ApplicationEdition()) +
           L" edition of Microsoft Access or of the free Access Runtime";
}

std::wstring OtherEditionText(const DatabaseAccess& access) {
    std::wstring text = L"Tolvarine needs the " + std::wstring(ApplicationEdition()) +
                        L" edition of Access. The Access that opens .mde files on this computer";
    if (access.version) text += L" (version " + std::to_wstring(*access.version) + L")";
    text += L" is the " + std::wstring(Edition(access.machine).value_or(L"other")) +
            L" edition, which cannot open this application. " + AccessInstallAdvice() + L", or ask your IT department.";
    return text;
}

std::optional<std::uint16_t> TrustCenterVersion(const std::optional<DatabaseAccess>& access) {
    if (!access || !access->version || *access->version < kFirstTrustCenterAccess) return std::nullopt;
    return access->version;
}

}  // namespace tolvarine
