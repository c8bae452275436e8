#include "download/curl_setup.h"

#include <curl/curl.h>
#include <mutex>

namespace tarnis {

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace tarnis
