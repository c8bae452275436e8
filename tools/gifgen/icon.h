#pragma once

#include "canvas.h"

namespace tarnis::gifgen {

// The program icon, 64 x 64 on a transparent background: the globe with a green arrow
// pointing down into the open folder.
Canvas drawIcon();

} // namespace tarnis::gifgen
