#pragma once

namespace tarnis {

// The program's control skin: 1 blue, 2 olive green, 3 silver; any other number switches
// it off. One application-wide style, so it covers the push buttons, check boxes, radio
// buttons, group boxes, edit boxes, combo boxes and spin boxes of every window, those
// created later and message boxes included. List boxes, progress bars, labels and
// pictures keep their plain look. A new scheme replaces the one before.
void setControlSkin(int scheme);

// The scheme in force, 0 when the skin is off.
int controlSkin();

} // namespace tarnis
