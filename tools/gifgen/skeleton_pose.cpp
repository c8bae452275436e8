#include "skeleton_pose.h"

#include <algorithm>
#include <cmath>

namespace tarnis::gifgen {

namespace {

constexpr double kUpperArm = 10;
constexpr double kForearm = 9;
constexpr double kThigh = 13.5;
constexpr double kShin = 13.5;

// The middle joint of a limb of two bones reaching from `root` to `end`, bent towards the side
// given by `bendSign` (+1 bends clockwise of the root-to-end line, -1 the other way).
Vec2 middleJoint(Vec2 root, Vec2& end, double first, double second, double bendSign) {
    Vec2 reach = end - root;
    double distance = length(reach);
    const double longest = (first + second) * 0.999;
    if (distance > longest) {
        // Out of reach: stretch the limb straight towards the target.
        reach = reach * (longest / distance);
        end = root + reach;
        distance = longest;
    }
    const double cosBend =
        std::clamp((first * first + distance * distance - second * second) / (2 * first * distance),
                   -1.0, 1.0);
    const double angle = std::atan2(reach.y, reach.x) + bendSign * std::acos(cosBend);
    return polar(root, first, angle);
}

// 0 while `s` is negative, then a smooth rise and fall: a foot lifting on its half of the beat.
double lift(double s) {
    return s > 0 ? s * s : 0;
}

Limb arm(Vec2 shoulder, double upperAngle, double forearmAngle) {
    const Vec2 elbow = polar(shoulder, kUpperArm, upperAngle);
    const Vec2 wrist = polar(elbow, kForearm, forearmAngle);
    return {shoulder, elbow, wrist, forearmAngle};
}

Limb leg(Vec2 hip, Vec2 ankle, double bendSign, double footAngle) {
    const Vec2 knee = middleJoint(hip, ankle, kThigh, kShin, bendSign);
    return {hip, knee, ankle, footAngle};
}

} // namespace

SkeletonPose dancePose(double phase, double centreX, double floorY) {
    const double a = 2 * kPi * phase;
    const double sway = std::sin(a);
    const double beat = (1 - std::cos(2 * a)) / 2; // 0 standing tall, 1 knees bent, twice a cycle

    SkeletonPose pose{};
    pose.pelvis = {centreX + 4 * sway, floorY - 27 + 3.2 * beat};
    pose.pelvisTilt = degrees(9) * sway;
    pose.chest = {centreX + 1.5 * sway - 1.5 * std::sin(2 * a), pose.pelvis.y - 15 + 0.6 * beat};
    pose.chestTilt = degrees(-7) * sway;
    pose.neck = pose.chest + Vec2{std::sin(pose.chestTilt) * 9, -std::cos(pose.chestTilt) * 9};
    pose.headTilt = degrees(13) * std::sin(a + 0.6);
    pose.skull = pose.neck + Vec2{std::sin(pose.headTilt) * 10, -std::cos(pose.headTilt) * 10} +
                 Vec2{0, 1.2 * std::sin(2 * a - 0.8)};
    pose.jawDrop = 2.2 * (0.5 + 0.5 * std::sin(4 * a));

    // The shoulders ride on the ribcage; the arms wave in turn, the raised one waving its hand.
    const double shoulderHalf = 10.5;
    const Vec2 across{std::cos(pose.chestTilt), std::sin(pose.chestTilt)};
    const Vec2 shoulderLine =
        pose.chest + Vec2{std::sin(pose.chestTilt), -std::cos(pose.chestTilt)} * 5;
    const Vec2 leftShoulder = shoulderLine - across * shoulderHalf;
    const Vec2 rightShoulder = shoulderLine + across * shoulderHalf;
    const double leftRaise = (1 + sway) / 2;
    const double rightRaise = (1 - sway) / 2;
    const double wave = degrees(38) * std::sin(2 * a + 0.5);
    const double leftUpper = degrees(150 + 85 * leftRaise);
    const double rightUpper = degrees(30 - 85 * rightRaise);
    pose.leftArm = arm(leftShoulder, leftUpper,
                       leftUpper + degrees(35) * (1 - leftRaise) + degrees(20) + wave * leftRaise);
    pose.rightArm =
        arm(rightShoulder, rightUpper,
            rightUpper - degrees(35) * (1 - rightRaise) - degrees(20) + wave * rightRaise);

    // The hips follow the pelvis; each foot lifts and kicks out while the weight is on the other.
    const Vec2 hipAcross{std::cos(pose.pelvisTilt), std::sin(pose.pelvisTilt)};
    const Vec2 hipLine =
        pose.pelvis + Vec2{-std::sin(pose.pelvisTilt), std::cos(pose.pelvisTilt)} * 2.5;
    const double leftLift = lift(sway);
    const double rightLift = lift(-sway);
    const Vec2 leftAnkle{centreX - 8 - 3 * leftLift, floorY - 2 - 6 * leftLift};
    const Vec2 rightAnkle{centreX + 8 + 3 * rightLift, floorY - 2 - 6 * rightLift};
    pose.leftLeg = leg(hipLine - hipAcross * 5.5, leftAnkle, 1, degrees(180 - 30 * leftLift));
    pose.rightLeg = leg(hipLine + hipAcross * 5.5, rightAnkle, -1, degrees(30 * rightLift));
    return pose;
}

} // namespace tarnis::gifgen
