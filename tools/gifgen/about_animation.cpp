#include "about_animation.h"

#include "canvas.h"
#include "palette.h"
#include "quantised_animation.h"
#include "skeleton_colours.h"
#include "skeleton_drawing.h"
#include "skeleton_pose.h"

#include <vector>

namespace tarnis::gifgen {

using namespace skeleton_colours;

namespace {

constexpr int kWidth = 101;
constexpr int kHeight = 80;
constexpr int kFrames = 36;
constexpr int kDelay = 9; // centiseconds

// The about window squeezes the picture into a 56 x 56 box, narrowing it more than it lowers
// it. Drawing everything a quarter wider than true makes the skeleton look right in the box.
constexpr double kWiden = 1.25;
constexpr double kDrawingWidth = kWidth / kWiden;
constexpr double kFloorY = 77;

Palette aboutPalette() {
    Palette p;
    p.add(kWhite); // entry 0, the background
    p.addRamp(kWhite, kOutline, 40);
    p.addRamp(kBone, kOutline, 40);
    p.addRamp(kBoneShade, kOutline, 24);
    p.addRamp(kWhite, kBone, 6);
    p.addRamp(kBone, kBoneShade, 10);
    p.addRamp(kWhite, kFloorShadow, 8);
    p.addRamp(kFloorShadow, kOutline, 16);
    p.complete();
    return p;
}

Canvas drawFrame(int frame) {
    Canvas canvas(kWidth, kHeight, kWhite);
    canvas.setTransform(Affine::scaling(kWiden, 1, {}));
    const SkeletonPose pose = dancePose(double(frame) / kFrames, kDrawingWidth / 2, kFloorY);
    // A shadow on the floor that follows the hips.
    canvas.fill(ellipse({pose.pelvis.x, kFloorY}, 15, 1.8), kFloorShadow);
    drawSkeleton(canvas, pose);
    return canvas;
}

} // namespace

GifAnimation makeAboutAnimation() {
    return quantisedAnimation(aboutPalette(), kWhite, std::vector<int>(kFrames, kDelay), drawFrame);
}

} // namespace tarnis::gifgen
