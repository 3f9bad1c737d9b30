// Resource ids shared by the C++ code and the resource scripts.
#pragma once

// The first icon resource: Explorer shows it for the executable.
#define IDI_PROGRAM 1

// A manifest that only asks for Common Controls 6, in a program whose
// process manifest does not: its message boxes take the visual style from
// it while they are shown.
#define IDR_BOX_STYLES_MANIFEST 101
