#pragma once

// The icon format library in one include: open an executable or icon file
// (IconLibrary, over any ByteSource), ask how many icons it holds, load icon
// k at the large size or any other the way Windows does and draw it
// (drawIcon, drawIconAt), describe
// every image of an icon, decode any of them at its natural size, and write
// the whole icon as an .ico file (writeIconFile). Every failure comes back
// as a Result holding a Failure.

#include "icons/icon_at_size.h"
#include "icons/icon_drawing.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_library.h"
#include "icons/image_choice.h"
#include "icons/limits.h"
#include "icons/result.h"
