#pragma once

#include "canvas.h"
#include "skeleton_pose.h"

namespace tarnis::gifgen {

// Draws the skeleton in `pose`: ivory bones with a dark outline, so they stand out on white,
// and round knobs at the joints.
void drawSkeleton(Canvas& canvas, const SkeletonPose& pose);

} // namespace tarnis::gifgen
