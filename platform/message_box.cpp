#include "platform/message_box.h"

#include <string>

#include "platform/running_program.h"
#include "platform/system_library.h"
#include "platform/win32_handles.h"
#include "resources/resource_ids.h"

namespace tolvarine {

namespace {

// Common Controls 6 once loaded under a box's context, kept for the rest of
// the process: their classes stay registered, so that no later box depends
// on their being unloaded and loaded again.
UniqueModule& CommonControlsForBoxes() {
    static UniqueModule commonControls;
    return commonControls;
}

// The box-styles context, active on this thread for the owner's lifetime,
// with Common Controls 6 loaded under it the first time. Under that context
// user32 redirects the box's button to their class, which Windows XP has
// only once the library is loaded (Vista and later load it on demand): the
// context is not kept where the library cannot be loaded. Every program
// that shows boxes carries the resource, also one whose process manifest
// asks for Common Controls 6, so that its boxes load them too; where it is
// missing, or the system cannot make the context, the box is shown as it
// would be.
class BoxStyles {
public:
    BoxStyles() noexcept {
        Activate();
        if (!active_) return;
        UniqueModule& commonControls = CommonControlsForBoxes();
        if (!commonControls) commonControls = LoadCommonControls();
        if (!commonControls) Deactivate();
    }

    ~BoxStyles() {
        if (active_) Deactivate();
    }

    BoxStyles(const BoxStyles&) = delete;
    BoxStyles& operator=(const BoxStyles&) = delete;

    // Whether the box-styles context is in force, so that a box that fails
    // under it may be tried without it.
    bool active() const noexcept { return active_; }

private:
    void Activate() noexcept {
        const HMODULE program = ::GetModuleHandleW(nullptr);
        const auto resource = MAKEINTRESOURCEW(IDR_BOX_STYLES_MANIFEST);
        if (!::FindResourceW(program, resource, RT_MANIFEST)) return;
        std::wstring path;
        try {
            path = RunningProgramPath();
        } catch (...) {
            return;  // the style is never worth more than the box
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

    void Deactivate() noexcept {
        ::DeactivateActCtx(0, cookie_);
        active_ = false;
    }

    UniqueActivationContext context_;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

}  // namespace

void ShowBox(std::wstring_view text, std::wstring_view caption, UINT type) {
    const std::wstring body(text);
    const std::wstring title(caption);
    {
        const BoxStyles styles;
        if (::MessageBoxW(nullptr, body.c_str(), title.c_str(), type) != 0 || !styles.active()) return;
    }
    // Past this, nothing is left to try: the caller goes on as after the box.
    ::MessageBoxW(nullptr, body.c_str(), title.c_str(), type);
}

}  // namespace tolvarine
