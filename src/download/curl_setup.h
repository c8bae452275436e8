#pragma once

namespace tarnis {

// libcurl's global state is set up once per process, before the first handle is made and
// never from two threads at the same time.
void ensureCurlInitialised();

} // namespace tarnis
