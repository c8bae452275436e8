#pragma once

#include "download/download_component.h"
#include "download/download_event.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tarnis::test {

struct RecordedEvent {
    DownloadEvent code;
    std::int32_t connection;
    std::int64_t value;
    std::int64_t secondValue;
    std::int32_t task;
};

// The component's callbacks are plain functions, so the tests record through one object
// of the process. It also notes whether the component was already empty at TaskEnded.
class EventRecorder {
public:
    static EventRecorder& instance();

    void reset(DownloadComponent* watched, std::int32_t fileExistsAnswer = 0);
    std::vector<RecordedEvent> events() const;
    std::vector<RecordedEvent> eventsOf(DownloadEvent code) const;
    std::vector<std::string> messages() const;
    int taskEndedCount() const;
    bool emptyAtTaskEnded() const;

    // True once TaskEnded has come; false after the timeout.
    bool waitForTaskEnded(std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;

    static std::int32_t onEvent(std::int32_t code, std::int32_t connection, std::int64_t value,
                                std::int64_t secondValue, std::int32_t task);
    static void onMessage(std::int32_t connection, const char* dateTime, const char* message,
                          std::int32_t level, std::int32_t task);

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<RecordedEvent> m_events;
    std::vector<std::string> m_messages;
    DownloadComponent* m_watched = nullptr;
    std::int32_t m_fileExistsAnswer = 0;
    bool m_emptyAtTaskEnded = true;
};

} // namespace tarnis::test
