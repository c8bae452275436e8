#include "ui/about_window.h"

namespace tarnis {

void runAboutWindow() {}

} // namespace tarnis
