// The Windows headers as the backend wants them: no rarely used parts, no min/max macros.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <mmsystem.h>
#include <windows.h>
