#include "platform/text_encoding.h"

#include "platform/system_error.h"

namespace tolvarine {

std::string EncodeText(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) ThrowLastError();
    std::string encoded(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(codePage, 0, text.data(), wideLength, encoded.data(), length, nullptr, nullptr) !=
        length)
        ThrowLastError();
    return encoded;
}

}  // namespace tolvarine
