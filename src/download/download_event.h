#pragma once

#include <cstdint>

namespace tarnis {

// The numbered events a task reports through DownloadTask::eventCallback.
enum class DownloadEvent : std::int32_t {
    TotalSize = 3,         // value: total size; the local file exists at that size
    TaskEnded = 4,         // last event of every accepted task; value: total or bytes received
    ConnectionStarted = 5, // a connection of the task starts
    SegmentStarted = 6,    // first receive of a connection; value: start, second: end of part
    SegmentContinued = 7,  // a connection moves on to another part; values as for 6
    ConnectionEnded = 8,   // value: position reached
    ConnectionFailed = 9,  // value: position reached
    DataReceived = 16,     // value: bytes in the block
    FileExists = 18,       // value: size of the existing file, second: total of the download
};

// Answers to FileExists. Any other value acts like EndTask.
enum class FileExistsAnswer : std::int32_t {
    ChooseFreeName = 0,
    EndTask = 1,
    ReusePath = 2,
};

} // namespace tarnis
