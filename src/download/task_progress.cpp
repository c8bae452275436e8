#include "download/task_progress.h"

namespace tarnis {

TaskProgress::TaskProgress(std::string localPath, std::int32_t stopWait)
    : m_stopWait(stopWait), m_localPath(std::move(localPath)) {}

void TaskProgress::addReceived(std::int64_t bytes) {
    const std::lock_guard lock(m_mutex);
    m_done += bytes;
    m_sinceSpeedRead += bytes;
}

void TaskProgress::setLocalPath(std::string path) {
    const std::lock_guard lock(m_mutex);
    m_localPath = std::move(path);
}

std::int64_t TaskProgress::doneLength() const {
    const std::lock_guard lock(m_mutex);
    return m_done;
}

std::string TaskProgress::localPath() const {
    const std::lock_guard lock(m_mutex);
    return m_localPath;
}

std::int64_t TaskProgress::takeSpeed() {
    const std::lock_guard lock(m_mutex);
    const std::int64_t bytes = m_sinceSpeedRead;
    m_sinceSpeedRead = 0;
    return bytes;
}

bool TaskSlot::attachIfEmpty(const std::shared_ptr<TaskProgress>& task) {
    const std::lock_guard lock(m_mutex);
    if (m_current)
        return false;
    m_current = task;
    return true;
}

void TaskSlot::detach(const TaskProgress* task) {
    const std::lock_guard lock(m_mutex);
    if (m_current.get() == task)
        m_current.reset();
}

void TaskSlot::detachAny() {
    const std::lock_guard lock(m_mutex);
    m_current.reset();
}

std::shared_ptr<TaskProgress> TaskSlot::current() const {
    const std::lock_guard lock(m_mutex);
    return m_current;
}

std::int64_t TaskSlot::doneLength() const {
    const std::lock_guard lock(m_mutex);
    return m_current ? m_current->doneLength() : 0;
}

std::string TaskSlot::localPath() const {
    const std::lock_guard lock(m_mutex);
    return m_current ? m_current->localPath() : std::string();
}

std::int64_t TaskSlot::takeSpeed() {
    const std::lock_guard lock(m_mutex);
    return m_current ? m_current->takeSpeed() : 0;
}

} // namespace tarnis
