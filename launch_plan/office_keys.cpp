#include "launch_plan/office_keys.h"

namespace tolvarine {

std::wstring OfficeVersionKey(std::wstring_view base, std::uint16_t version, std::wstring_view subKey) {
    std::wstring key(base);
    key += std::to_wstring(version);
    key += L".0";
    key += subKey;
    return key;
}

}  // namespace tolvarine
