#include "platform/box_styles.h"

#include <string>

#include "platform/error.h"
#include "platform/running_program.h"
#include "resources/resource_ids.h"

namespace tolvarine {

BoxStyles::BoxStyles() noexcept {
    const HMODULE program = ::GetModuleHandleW(nullptr);
    const auto resource = MAKEINTRESOURCEW(IDR_BOX_STYLES_MANIFEST);
    if (!::FindResourceW(program, resource, RT_MANIFEST)) return;
    std::wstring path;
    try {
        path = RunningProgramPath();
    } catch (const Error&) {
        return;
    }
    // The module is named twice: Windows XP wants the file's path even
    // where the module's handle is given.
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = resource;
    request.hModule = program;
    context_.reset(::CreateActCtxW(&request));
    active_ = context_ && ::ActivateActCtx(context_.get(), &cookie_);
}

BoxStyles::~BoxStyles() {
    if (active_) ::DeactivateActCtx(0, cookie_);
}

}  // namespace tolvarine
