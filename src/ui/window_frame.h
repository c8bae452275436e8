#pragma once

class QWidget;

namespace tarnis {

// Gives a top-level window a fixed frame of the given outer size (title bar and border
// included, as the window manager reports them), a close box only, and centres it on the
// whole screen: left = (screen width - width) / 2, top = (screen height - height) / 2.
// Where no frame is reported (the offscreen platform), the client area takes the whole size.
void fixOuterFrame(QWidget& window, int outerWidth, int outerHeight);

} // namespace tarnis
