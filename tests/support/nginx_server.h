#pragma once

#include "temp_dir.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace tarnis::test {

// nginx as a real peer: a child process serving `root` on 127.0.0.1 at a free port, with a
// configuration, pid file and logs of its own in a temporary folder. Stopped on destruction.
class NginxServer {
public:
    // `locationConfig` is placed inside "location / { }", e.g. "limit_rate 1m;".
    explicit NginxServer(const std::string& root, const std::string& locationConfig = "");
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    // False when nginx is not installed or did not come up; the error log tells why.
    bool isRunning() const { return m_pid > 0; }
    std::uint16_t port() const { return m_port; }
    std::string baseUrl() const;
    std::string errorLog() const;

    // The nginx binary: $TARNIS_NGINX, else /usr/sbin/nginx.
    static std::string binary();

private:
    bool start(const std::string& root, const std::string& locationConfig);
    void stop();

    TempDir m_prefix;
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};

// A port on 127.0.0.1 that was free a moment ago.
std::uint16_t freeLoopbackPort();

} // namespace tarnis::test
