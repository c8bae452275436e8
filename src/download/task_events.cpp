#include "download/task_events.h"

#include "platform/gbk_text.h"

#include <ctime>
#include <string>

namespace tarnis {

TaskEvents::TaskEvents(EventCallback events, MessageCallback messages, std::int32_t taskId)
    : m_events(events), m_messages(messages), m_taskId(taskId) {}

std::int32_t TaskEvents::raise(DownloadEvent code, std::int32_t connection, std::int64_t value,
                               std::int64_t secondValue) const {
    if (m_events == nullptr)
        return 0;
    return m_events(static_cast<std::int32_t>(code), connection, value, secondValue, m_taskId);
}

void TaskEvents::message(std::int32_t connection, MessageLevel level, std::string_view text) const {
    if (m_messages == nullptr)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char dateTime[32];
    std::strftime(dateTime, sizeof dateTime, "%Y-%m-%d %H:%M:%S", &local);
    const std::string gbk = utf8ToGbk(text);
    m_messages(connection, dateTime, gbk.c_str(), static_cast<std::int32_t>(level), m_taskId);
}

} // namespace tarnis
