// Safe DLL loading and heap checks, done first thing in each entry point.
#pragma once

namespace tolvarine {

// Removes the current folder from the DLL search, restricts the default
// search to System32 and enables safe search mode where the system has
// those calls, and ends the process on heap corruption. Never fails: each
// step is a defence that older systems may not offer.
void HardenProcess() noexcept;

}  // namespace tolvarine
