#include "harvest/window_design.h"

#include "texts/text.h"

namespace orvu::design {

const char* productTitle() {
    return text("Orvu Icon Extractor D2002.10.27");
}

} // namespace orvu::design
