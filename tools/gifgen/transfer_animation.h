#pragma once

#include "gif_writer.h"

namespace tarnis::gifgen {

// The main window's animation, 270 x 40: sheets of paper fly from a globe into an open folder.
// Frame 0 is also the still picture shown while no download runs.
GifAnimation makeTransferAnimation();

} // namespace tarnis::gifgen
