#pragma once

// <windows.h> for the Windows branches of the platform layer, without its
// min and max macros and the rarely used parts. Include it only inside
// `#ifdef _WIN32`.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
