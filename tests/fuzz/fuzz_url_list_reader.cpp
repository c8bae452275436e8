// Any bytes as an address-list file: no empty line comes out, and reading the bytes in two
// pieces (split where the first byte says) or one byte at a time gives the same lines as
// reading them whole.

#include "settings/url_list_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = tarnis::readUrlListLines(bytes);

    std::size_t total = 0;
    for (const std::string& line : lines) {
        check(!line.empty());
        total += line.size();
    }
    check(total <= size);

    const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
    tarnis::UrlListReader halves;
    halves.feed(bytes.substr(0, split));
    halves.feed(bytes.substr(split));
    check(halves.finish() == lines);

    if (size <= 4096) {
        tarnis::UrlListReader single;
        for (char byte : bytes)
            single.feed(std::string_view(&byte, 1));
        check(single.finish() == lines);
    }
    return 0;
}
