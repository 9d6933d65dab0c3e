#pragma once

// The icon format library in one include: open an executable or icon file
// (IconLibrary, over any ByteSource), ask how many icons it holds, load icon
// k at the large size the way Windows does, and draw it (drawIcon). Every
// failure comes back as a Result holding a Failure.

#include "icons/icon_choice.h"
#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
#include "icons/limits.h"
#include "icons/result.h"
