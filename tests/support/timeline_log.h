// A shared event log for the test helpers: one line per event,
// "<microseconds> <source> <event>", appended with a single write so that
// several processes can share one file. The times come from the performance
// counter, which all processes (and Linux's CLOCK_MONOTONIC_RAW under Wine)
// share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvarine::support {

std::int64_t NowMicroseconds();

std::string Utf8(std::wstring_view text);

// Appends one line, stamped now or at the given time; does nothing when
// path is empty.
void AppendEvent(const std::wstring& path, std::wstring_view source, std::wstring_view event);
void AppendEventAt(const std::wstring& path, std::int64_t microseconds, std::wstring_view source,
                   std::wstring_view event);

// Level under HKCU\Software\Microsoft\Office\11.0\Access\Security, or -1 when absent.
long ReadSecurityLevel();

// The launcher's trusted location, under any Office version: "16.0 <Path>"
// for HKCU\Software\Microsoft\Office\16.0\Access\Security\Trusted
// Locations\Tolvarine, or "none".
std::wstring ReadTrustedLocation();

// An environment variable, or fallback when it is not set.
std::wstring Environment(const wchar_t* name, std::wstring_view fallback = {});

}  // namespace tolvarine::support
