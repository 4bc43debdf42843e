// The Windows headers as the backend wants them: no rarely used parts, no min/max macros.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// windows.h must come first: the other system headers build on its types.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on
