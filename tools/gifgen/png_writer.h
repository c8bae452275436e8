#pragma once

#include "canvas.h"

#include <string>

namespace tarnis::gifgen {

// Writes the canvas as an 8-bit RGBA PNG (compressed with zlib, no filtering). The file is
// written beside `path` and renamed over it.
bool writePng(const Canvas& canvas, const std::string& path, std::string& error);

} // namespace tarnis::gifgen
