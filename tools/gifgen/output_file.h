#pragma once

#include <string>

namespace tarnis::gifgen {

// Files are written under a temporary name beside their target and renamed over it once
// complete, so the build never sees a half-written picture.
std::string partialPath(const std::string& path);
bool commitPartial(const std::string& partial, const std::string& path, std::string& error);
void discardPartial(const std::string& partial);

} // namespace tarnis::gifgen
