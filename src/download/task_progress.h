#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace tarnis {

// The counters and the path of one task, written by its thread and read by the caller's
// queries, under one lock so that reading the speed restarts it without losing a byte.
class TaskProgress {
public:
    TaskProgress(std::string localPath, std::int32_t stopWait);

    std::int32_t stopWait() const { return m_stopWait; }

    void addReceived(std::int64_t bytes);
    void setLocalPath(std::string path);

    std::int64_t doneLength() const;
    std::string localPath() const;
    std::int64_t takeSpeed();

    // Stopping is asked for by the caller and seen by the task's thread.
    void requestStop() { m_stopRequested = true; }
    bool stopRequested() const { return m_stopRequested; }
    // Set by the task's thread once no connection of the task is open any more.
    void markConnectionsEnded() { m_connectionsEnded = true; }
    bool connectionsEnded() const { return m_connectionsEnded; }

private:
    const std::int32_t m_stopWait;
    mutable std::mutex m_mutex;
    std::int64_t m_done = 0;
    std::int64_t m_sinceSpeedRead = 0;
    std::string m_localPath;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_connectionsEnded{false};
};

// The one task a component object holds, shared with that task's thread, which takes
// itself off before it reports its end.
class TaskSlot {
public:
    bool attachIfEmpty(const std::shared_ptr<TaskProgress>& task);
    void detach(const TaskProgress* task); // only if it is still the attached one
    void detachAny();
    std::shared_ptr<TaskProgress> current() const;

    // Read under the slot's lock, so a task that has detached itself answers nothing.
    std::int64_t doneLength() const;
    std::string localPath() const;
    std::int64_t takeSpeed();

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<TaskProgress> m_current;
};

} // namespace tarnis
