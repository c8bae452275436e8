#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnis {

// The name a download gets on disk. Names that come from the network are never trusted:
// they are reduced to one harmless file name inside the target folder. All results are UTF-8.

// The name a Content-Disposition header value gives ("filename*=" in RFC 5987 form wins
// over "filename=", quoted or bare); empty when it gives none. Not yet made safe.
std::string fileNameFromContentDisposition(std::string_view headerValue);

// Bytes of a name as UTF-8: kept when they already are valid UTF-8, otherwise read as GBK.
std::string nameBytesAsUtf8(std::string_view bytes);

// The last component after any '/' or '\', without control characters, surrounding blanks
// and leading dots, cut to a length every file system holds while keeping the extension.
// Empty when nothing usable is left.
std::string safeFileName(std::string_view name);

// The name for a download: the server's Content-Disposition name, else the last segment of
// the final address, else "index.html"; always safe.
std::string chooseDownloadName(std::string_view contentDisposition, std::string_view finalUrl);

// name.ext -> name(1).ext, name(1).ext -> name(2).ext, name -> name(1); nothing once the
// number would reach 100.
std::optional<std::string> nextNumberedName(std::string_view name);

inline constexpr int kMaxNumberedNameTries = 99;

} // namespace tarnis
