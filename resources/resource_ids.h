// Resource ids shared by the C++ code and the resource scripts.
#pragma once

// The first icon resource: Explorer shows it for the executable.
#define IDI_PROGRAM 1

// A manifest that only asks for Common Controls 6, in every program that
// shows message boxes: activated while a box is shown, with Common Controls
// 6 loaded under it.
#define IDR_BOX_STYLES_MANIFEST 101
