// Resource ids shared by the C++ code and the resource scripts.
#pragma once

// The first icon resource: Explorer shows it for the executable.
#define IDI_PROGRAM 1
