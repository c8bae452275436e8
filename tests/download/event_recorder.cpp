#include "event_recorder.h"

namespace tarnis::test {

EventRecorder& EventRecorder::instance() {
    static EventRecorder recorder;
    return recorder;
}

void EventRecorder::reset(DownloadComponent* watched, std::int32_t fileExistsAnswer) {
    const std::lock_guard lock(m_mutex);
    m_events.clear();
    m_messages.clear();
    m_watched = watched;
    m_fileExistsAnswer = fileExistsAnswer;
    m_emptyAtTaskEnded = true;
}

std::vector<RecordedEvent> EventRecorder::events() const {
    const std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<RecordedEvent> EventRecorder::eventsOf(DownloadEvent code) const {
    std::vector<RecordedEvent> found;
    for (const RecordedEvent& event : events()) {
        if (event.code == code)
            found.push_back(event);
    }
    return found;
}

std::vector<std::string> EventRecorder::messages() const {
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

int EventRecorder::taskEndedCount() const {
    return static_cast<int>(eventsOf(DownloadEvent::TaskEnded).size());
}

bool EventRecorder::emptyAtTaskEnded() const {
    const std::lock_guard lock(m_mutex);
    return m_emptyAtTaskEnded;
}

bool EventRecorder::waitForTaskEnded(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] {
        for (const RecordedEvent& event : m_events) {
            if (event.code == DownloadEvent::TaskEnded)
                return true;
        }
        return false;
    });
}

std::int32_t EventRecorder::onEvent(std::int32_t code, std::int32_t connection, std::int64_t value,
                                    std::int64_t secondValue, std::int32_t task) {
    EventRecorder& self = instance();
    const auto event = static_cast<DownloadEvent>(code);
    DownloadComponent* watched = nullptr;
    {
        const std::lock_guard lock(self.m_mutex);
        watched = self.m_watched;
    }
    // Asked outside the lock: the queries take the component's own lock.
    const bool empty = event != DownloadEvent::TaskEnded || watched == nullptr ||
                       (watched->doneLength() == 0 && watched->localFilePath().empty());
    std::int32_t answer = 0;
    {
        const std::lock_guard lock(self.m_mutex);
        self.m_events.push_back(RecordedEvent{event, connection, value, secondValue, task});
        if (!empty)
            self.m_emptyAtTaskEnded = false;
        if (event == DownloadEvent::FileExists)
            answer = self.m_fileExistsAnswer;
    }
    self.m_changed.notify_all();
    return answer;
}

void EventRecorder::onMessage(std::int32_t, const char*, const char* message, std::int32_t level,
                              std::int32_t) {
    EventRecorder& self = instance();
    const std::lock_guard lock(self.m_mutex);
    self.m_messages.push_back(std::to_string(level) + " " + message);
}

} // namespace tarnis::test
