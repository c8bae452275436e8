#pragma once

#include "geometry.h"

namespace tarnis::gifgen {

struct Limb {
    Vec2 root;       // shoulder or hip
    Vec2 joint;      // elbow or knee
    Vec2 end;        // wrist or ankle
    double endAngle; // direction of the hand or foot, radians
};

// Where the skeleton's parts are in one frame of its dance, in drawing units (y grows down).
struct SkeletonPose {
    Vec2 skull;        // centre of the cranium
    double headTilt;   // radians, clockwise
    double jawDrop;    // how far the jaw hangs open
    Vec2 neck;         // top of the spine
    Vec2 chest;        // middle of the ribcage
    double chestTilt;  // radians, clockwise
    Vec2 pelvis;       // centre of the pelvis
    double pelvisTilt; // radians, clockwise
    Limb leftArm;      // the arm on the left of the picture
    Limb rightArm;
    Limb leftLeg;
    Limb rightLeg;
};

// The dance as a loop: `phase` runs from 0 to 1 and the pose at 1 is the pose at 0, so a cycle
// of frames repeats without a jump. Every motion is a sine of the phase or of its double, the
// feet lift one after the other, the knees bend out on every beat and the jaw chatters.
SkeletonPose dancePose(double phase, double centreX, double floorY);

} // namespace tarnis::gifgen
