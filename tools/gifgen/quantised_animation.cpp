#include "quantised_animation.h"

namespace tarnis::gifgen {

GifAnimation quantisedAnimation(const Palette& palette, Rgb background,
                                const std::vector<int>& delaysCentiseconds,
                                const std::function<Canvas(int frame)>& drawFrame) {
    GifAnimation animation;
    animation.palette = palette.colours();
    animation.backgroundIndex = palette.nearest(background);
    for (int frame = 0; frame < static_cast<int>(delaysCentiseconds.size()); ++frame) {
        const Canvas canvas = drawFrame(frame);
        animation.width = canvas.width();
        animation.height = canvas.height();
        animation.frames.push_back({quantise(canvas, palette), delaysCentiseconds[frame]});
    }
    return animation;
}

} // namespace tarnis::gifgen
