#pragma once

#include "canvas.h"
#include "geometry.h"

namespace tarnis::gifgen {

// The pieces of the transfer picture, shared by the animation and the program icon.

// A globe lit from the upper left, with continents, meridians and parallels.
void drawGlobe(Canvas& canvas, Vec2 centre, double radius);

// An open folder spanning `box`. It is drawn in two layers so that sheets can drop in between:
// the back (with its tab and the papers already filed) first, the front flap last.
// `sheetScale` is the size of the filed papers (see drawSheet). `flapDip` lowers the front flap a
// little, for the bounce when a sheet lands.
void drawFolderBack(Canvas& canvas, Box box, double sheetScale);
void drawFolderFront(Canvas& canvas, Box box, double flapDip = 0);

// A sheet with a dog-eared corner and a few lines of text, centred on `centre`, turned by
// `angle` (radians, clockwise) and scaled by `scale` (1 is 11 x 14 pixels); `squeeze` narrows it
// horizontally, as a sheet turning in the air.
void drawSheet(Canvas& canvas, Vec2 centre, double angle, double scale, double squeeze = 1);

} // namespace tarnis::gifgen
