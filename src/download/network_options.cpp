#include "download/download_component.h"

#include <atomic>

namespace tarnis {
namespace {

constexpr NetworkOptions kDefaults{};

std::atomic<std::int32_t> g_receiveBufferSize{kDefaults.receiveBufferSize};
std::atomic<std::int32_t> g_retryWait{kDefaults.retryWait};
std::atomic<std::int32_t> g_retryCount{kDefaults.retryCount};

} // namespace

void setNetworkOptions(std::int32_t receiveBufferSize, std::int32_t retryWait,
                       std::int32_t retryCount) {
    // A 0 (or a value that makes no sense) keeps the default rather than disabling a feature.
    g_receiveBufferSize = receiveBufferSize > 0 ? receiveBufferSize : kDefaults.receiveBufferSize;
    g_retryWait = retryWait > 0 ? retryWait : kDefaults.retryWait;
    g_retryCount = retryCount > 0 ? retryCount : kDefaults.retryCount;
}

NetworkOptions networkOptions() {
    return NetworkOptions{g_receiveBufferSize.load(), g_retryWait.load(), g_retryCount.load()};
}

} // namespace tarnis
