#pragma once

#include <string>
#include <string_view>

namespace tarnis {

// Removes leading and trailing spaces from a GBK address: the ASCII space and the
// full-width space (bytes A1 A1). Walks characters, so the trail byte of one character
// and the lead byte of the next are never taken for a full-width space.
std::string trimAddress(std::string_view address);

} // namespace tarnis
