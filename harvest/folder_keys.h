#pragma once

#include "harvest/tile_collection.h"

namespace orvu {

// The running number behind the keys of folder harvests: my1, my2, … for as
// long as the main window lives, never reset, so that every folder harvest
// keys its tiles after the last one. 64 bits: no tree can make it overflow.
struct FolderKeys {
    TileCollection::Key handedOut = 0;

    TileCollection::Key next() { return ++handedOut; }
};

} // namespace orvu
