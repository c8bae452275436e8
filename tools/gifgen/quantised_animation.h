#pragma once

#include "canvas.h"
#include "gif_writer.h"
#include "palette.h"

#include <functional>
#include <vector>

namespace tarnis::gifgen {

// A GIF of frames drawn one by one, each quantised to the palette and shown for its delay
// (centiseconds). The picture takes the size of the drawn frames; `background` names the
// palette entry readers fill the screen with.
GifAnimation quantisedAnimation(const Palette& palette, Rgb background,
                                const std::vector<int>& delaysCentiseconds,
                                const std::function<Canvas(int frame)>& drawFrame);

} // namespace tarnis::gifgen
