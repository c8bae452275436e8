#pragma once

#include "gif_writer.h"

namespace tarnis::gifgen {

// The about window's animation, 101 x 80: a skeleton dancing a loop of 36 frames.
GifAnimation makeAboutAnimation();

} // namespace tarnis::gifgen
