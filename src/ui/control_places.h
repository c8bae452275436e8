#pragma once

#include <QRect>

class QWidget;

namespace tarnis {

// Puts a control at its rectangle in the window's client area and keeps it there. A style
// sheet may give a control a minimum size larger than its box (the skin's push buttons
// have one), which would silently widen it over its neighbours or past the window's edge.
void placeControl(QWidget& control, QRect place);

} // namespace tarnis
