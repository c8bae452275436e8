#include "nginx_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tarnis::test {
namespace {

constexpr int kStartAttempts = 3;
constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kStopTimeout = std::chrono::seconds(5);

bool acceptsConnections(std::uint16_t port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected =
        ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

std::string configuration(const std::string& prefix, std::uint16_t port, const std::string& root,
                          const std::string& locationConfig) {
    return "daemon off;\n"
           "master_process off;\n"
           "worker_processes 1;\n"
           "pid " +
           prefix +
           "/nginx.pid;\n"
           "error_log " +
           prefix +
           "/error.log warn;\n"
           "events { worker_connections 256; }\n"
           "http {\n"
           "  access_log off;\n"
           "  default_type application/octet-stream;\n"
           "  sendfile on;\n"
           "  client_body_temp_path " +
           prefix +
           "/body;\n"
           "  proxy_temp_path " +
           prefix +
           "/proxy;\n"
           "  fastcgi_temp_path " +
           prefix +
           "/fastcgi;\n"
           "  uwsgi_temp_path " +
           prefix +
           "/uwsgi;\n"
           "  scgi_temp_path " +
           prefix +
           "/scgi;\n"
           "  server {\n"
           "    listen 127.0.0.1:" +
           std::to_string(port) +
           ";\n"
           "    server_name localhost;\n"
           "    root " +
           root +
           ";\n"
           "    location / { " +
           locationConfig +
           " }\n"
           "  }\n"
           "}\n";
}

} // namespace

std::uint16_t freeLoopbackPort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(socket);
    return ntohs(address.sin_port);
}

std::string NginxServer::binary() {
    const char* chosen = std::getenv("TARNIS_NGINX");
    return chosen != nullptr && *chosen != '\0' ? chosen : "/usr/sbin/nginx";
}

NginxServer::NginxServer(const std::string& root, const std::string& locationConfig) {
    if (::access(binary().c_str(), X_OK) != 0)
        return;
    for (int attempt = 0; attempt < kStartAttempts && !isRunning(); ++attempt)
        start(root, locationConfig);
}

NginxServer::~NginxServer() {
    stop();
}

std::string NginxServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::string NginxServer::errorLog() const {
    return readWholeFile(m_prefix.file("error.log")) + readWholeFile(m_prefix.file("stderr.log"));
}

bool NginxServer::start(const std::string& root, const std::string& locationConfig) {
    m_port = freeLoopbackPort();
    const std::string conf = m_prefix.file("nginx.conf");
    writeWholeFile(conf, configuration(m_prefix.path(), m_port, root, locationConfig));

    const std::string program = binary();
    const std::string prefix = m_prefix.path() + "/";
    const std::string stderrLog = m_prefix.file("stderr.log");
    std::vector<std::string> args = {program, "-p", prefix, "-c", conf, "-e", stderrLog};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stderrLog.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrLog.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;

    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return false; // it gave up, most likely because the port was taken meanwhile
        if (acceptsConnections(m_port)) {
            m_pid = pid;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return false;
}

void NginxServer::stop() {
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace tarnis::test
