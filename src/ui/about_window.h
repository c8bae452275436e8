#pragma once

namespace tarnis {

// Opens the about window modally and returns when it has closed.
void runAboutWindow();

} // namespace tarnis
