// Form1: opens a typed database path in Access 2003 from its standard
// install path. A label, the path box txtPathDB and the button Command1.
#pragma once

#include <windows.h>

#include "platform/top_level_window.h"

namespace tolvarine {

class Form1 final : public TopLevelWindow {
public:
    // Creates the window, hidden; raises Error on failure.
    explicit Form1(HINSTANCE instance);
    ~Form1() override;

    void Show(int showCommand);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateControls();
    void OnLoad();
    void OnCommand1Click();

    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    HWND command1_ = nullptr;
    HWND txtPathDB_ = nullptr;
    HWND label1_ = nullptr;
};

}  // namespace tolvarine
