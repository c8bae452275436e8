#include "transfer_animation.h"

#include "canvas.h"
#include "palette.h"
#include "quantised_animation.h"
#include "transfer_colours.h"
#include "transfer_scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace tarnis::gifgen {

using namespace transfer_colours;

namespace {

constexpr int kWidth = 270;
constexpr int kHeight = 40;

// 200 ms for the sheet leaving the globe, eleven steps of flight, 500 ms for the last landing.
constexpr std::array<int, 13> kDelays = {20, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 50};

// Two sheets a cycle: the first flies during frames 0 to 8, the second during frames 4 to 12,
// so both are in the air in the middle and every cycle starts and ends with none.
constexpr int kFlightFrames = 8;
constexpr std::array<int, 2> kLaunchFrames = {0, 4};

const Vec2 kGlobeCentre{23, 19};
constexpr double kGlobeRadius = 16.5;
constexpr double kFiledSheetScale = 1.2;
const Box kFolder{224, 7, 258, 36};

Palette transferPalette() {
    Palette p;
    p.add(kWhite); // entry 0, the background
    p.addRamp(kWhite, rgb(0x000000), 12);
    p.addRamp(kWhite, kPaperEdge, 10);
    p.addRamp(kWhite, kPaperText, 6);
    p.addRamp(kWhite, kShadow, 5);
    p.addRamp(kPaperText, kPaperEdge, 4);

    p.addRamp(kOceanDeep, kOceanLight, 24);
    p.addRamp(kLandDeep, kLandLight, 16);
    p.addRamp(kOceanDeep, kLandDeep, 5);
    p.addRamp(mix(kOceanDeep, kOceanLight, 0.5), mix(kLandDeep, kLandLight, 0.5), 5);
    p.addRamp(kOceanLight, kLandLight, 5);
    p.addRamp(mix(kOceanDeep, kWhite, 0.4), mix(kOceanLight, kWhite, 0.4), 10);
    p.addRamp(mix(kLandDeep, kWhite, 0.4), mix(kLandLight, kWhite, 0.4), 8);
    p.addRamp(kOceanLight, kWhite, 6);
    p.addRamp(kWhite, kGlobeRim, 10);
    p.addRamp(kGlobeRim, kOceanDeep, 5);
    p.addRamp(kGlobeRim, kOceanLight, 5);
    p.addRamp(kGlobeRim, kLandDeep, 4);
    p.addRamp(kGlobeRim, kPaperEdge, 4);

    p.addRamp(kFolderFrontLight, kFolderFrontDeep, 10);
    p.addRamp(kFolderBackLight, kFolderBackDeep, 8);
    p.addRamp(kWhite, kFolderFrontLight, 6);
    p.addRamp(kWhite, kFolderBackLight, 6);
    p.addRamp(kWhite, kFolderEdge, 10);
    p.addRamp(kFolderEdge, kFolderFrontLight, 6);
    p.addRamp(kFolderEdge, kFolderFrontDeep, 6);
    p.addRamp(kFolderEdge, kFolderBackLight, 5);
    p.addRamp(kFolderEdge, kFolderBackDeep, 4);
    p.addRamp(kPaperEdge, kFolderFrontLight, 4);
    p.addRamp(kPaperEdge, kFolderBackLight, 4);
    p.addRamp(kFolderEdge, kPaperEdge, 4);
    p.complete();
    return p;
}

double smoothstep(double t) {
    return t * t * (3 - 2 * t);
}

struct SheetPose {
    Vec2 centre;
    double angle;
    double scale;
    double squeeze;
};

// The filed sheet a landing sheet ends up on, so that it vanishes into the folder unseen.
SheetPose filedSheet() {
    const double midX = (kFolder.minX + kFolder.maxX) / 2;
    return {{midX + 3, kFolder.minY + 16}, degrees(5), kFiledSheetScale, 1};
}

// Where a sheet is at `t` (0 leaving the globe, 1 filed): on a curve that climbs over the
// strip and drops into the folder from above, tilted along its path, turning a little in the
// air, and settling on the filed papers at the end.
SheetPose sheetAt(double t) {
    const SheetPose filed = filedSheet();
    const Vec2 start = kGlobeCentre + Vec2{10, -2};
    const Vec2 control{filed.centre.x - 45, 1};
    const Vec2 end = filed.centre;
    const double u = 1 - t;
    const Vec2 heading = (control - start) * (2 * u) + (end - control) * (2 * t);
    const double settle = smoothstep(std::clamp((t - 0.55) / 0.45, 0.0, 1.0));

    SheetPose pose;
    pose.centre = start * (u * u) + control * (2 * u * t) + end * (t * t);
    const double flutter = degrees(12) * std::sin(3 * kPi * t);
    pose.angle =
        (1 - settle) * (0.8 * std::atan2(heading.y, heading.x) + flutter) + settle * filed.angle;
    pose.scale = 0.8 + (filed.scale - 0.8) * smoothstep(std::min(1.0, t * 2.5));
    const double turn = std::sin(2 * kPi * t);
    pose.squeeze = 1 - 0.3 * turn * turn;
    return pose;
}

std::optional<double> flightTime(int frame, int launch) {
    const int step = frame - launch;
    if (step < 0 || step > kFlightFrames) {
        return std::nullopt;
    }
    return double(step) / kFlightFrames;
}

Canvas drawFrame(int frame) {
    Canvas canvas(kWidth, kHeight, kWhite);
    drawGlobe(canvas, kGlobeCentre, kGlobeRadius);
    drawFolderBack(canvas, kFolder, kFiledSheetScale);
    bool landing = false;
    for (const int launch : kLaunchFrames) {
        if (const auto t = flightTime(frame, launch)) {
            const SheetPose pose = sheetAt(*t);
            drawSheet(canvas, pose.centre, pose.angle, pose.scale, pose.squeeze);
            landing = landing || *t == 1.0;
        }
    }
    drawFolderFront(canvas, kFolder, landing ? 0.8 : 0);
    return canvas;
}

} // namespace

GifAnimation makeTransferAnimation() {
    return quantisedAnimation(transferPalette(), kWhite,
                              std::vector<int>(kDelays.begin(), kDelays.end()), drawFrame);
}

} // namespace tarnis::gifgen
