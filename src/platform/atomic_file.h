#pragma once

#include <string>
#include <string_view>

namespace tarnis {

// Replaces the file at the GBK path with `bytes` as one step: the content goes to a new
// file beside it, is flushed to the disk and then renamed over the old one. Whoever reads
// the path, even after a crash or with a full disk, sees the old file or the new one whole,
// never a truncated mix. False when the file could not be replaced; the old one then stays.
bool saveFileAtomically(const std::string& gbkPath, std::string_view bytes);

} // namespace tarnis
