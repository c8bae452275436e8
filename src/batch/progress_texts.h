#pragma once

#include "batch/batch_view.h"

#include <string>

namespace tarnis {

// Rounds halves away from zero, after a nudge of 1e-12 that lifts values lying just
// below a half only through the inexactness of double arithmetic. Zero and NaN pass
// unchanged; a negative value that rounds to zero gives negative zero.
double roundNumber(double x);

// "%.13g"; zero of either sign prints as "0".
std::string realToText(double x);

// The display half of the 100 ms tick: status with percentage, bar, received and local
// file size, target folder.
void refreshProgressTexts(BatchView& view);

// The 1000 ms tick: the bytes received during the last second.
void onSpeedTick(BatchView& view);

} // namespace tarnis
