#pragma once

#include <cstdint>
#include <string>

namespace tarnis {

// Status texts of a task: connection, local date and time, message, level, task.
enum class MessageLevel : std::int32_t {
    Progress = 0,
    RequestSent = 1,
    ServerResponse = 2,
    Error = 3
};
using MessageCallback = void (*)(std::int32_t connection, const char* dateTime, const char* message,
                                 std::int32_t level, std::int32_t task);

// Called on the component's threads: code (a DownloadEvent), connection, value, second
// value, task. Byte counts are 64-bit so files of 2 GiB and more report truthfully. Only
// the answer to FileExists is read.
using EventCallback = std::int32_t (*)(std::int32_t code, std::int32_t connection,
                                       std::int64_t value, std::int64_t secondValue,
                                       std::int32_t task);

inline constexpr std::int32_t kDownloadMode = 4096;

// Describes one download to the component. addTask copies what it needs, so one record
// may be refilled and reused for every task. Texts are GBK. The defaults are the
// component's own start values.
struct DownloadTask {
    std::int32_t mode = 1;
    std::string url;
    std::string savePath; // a folder ending in '/' (a name is added) or a full file path
    std::string ftpUser = "anonymous";
    std::string ftpPassword = "user@tarnis.local";
    std::int32_t connectionCount = 1;
    std::int32_t speedLimit = 0;         // bytes per second for the whole task; 0 = no limit
    std::int32_t connectTimeout = 20000; // ms
    std::int32_t sendTimeout = 20000;    // ms
    std::int32_t receiveTimeout = 20000; // ms
    std::int32_t stopWait = 1000;        // ms that stopping waits for the connections
    std::int32_t receiveBlockSize = 20480;
    std::int32_t uploadBlockSize = 1024; // uploads only
    MessageCallback messageCallback = nullptr;
    EventCallback eventCallback = nullptr;
    std::string uploadName;           // uploads only
    std::int32_t ftpTransferType = 1; // 1 image, 2 ASCII, 3 by imageModeExtensions
    std::string imageModeExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
    std::string proxy;   // host[:port], port 80 by default; empty = direct
    std::string referer; // empty = the address up to its last '/'
};

} // namespace tarnis
