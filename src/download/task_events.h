#pragma once

#include "download/download_event.h"
#include "download/download_task.h"

#include <cstdint>
#include <string_view>

namespace tarnis {

// Delivers one task's events and status texts to the caller's callbacks, on the task's
// own thread, in the order the connections raise them.
class TaskEvents {
public:
    TaskEvents(EventCallback events, MessageCallback messages, std::int32_t taskId);

    // The callback's answer (only FileExists reads it); 0 when there is no callback.
    std::int32_t raise(DownloadEvent code, std::int32_t connection, std::int64_t value = 0,
                       std::int64_t secondValue = 0) const;
    // `text` is UTF-8; the callback gets it as GBK with the local date and time.
    void message(std::int32_t connection, MessageLevel level, std::string_view text) const;

    std::int32_t taskId() const { return m_taskId; }

private:
    EventCallback m_events;
    MessageCallback m_messages;
    std::int32_t m_taskId;
};

} // namespace tarnis
