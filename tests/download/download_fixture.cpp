#include "download_fixture.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace tarnis::test {

void DownloadFixture::SetUp() {
    setNetworkOptions(10240, 1, 5);
    m_component = makeDownloadComponent();
    recorder().reset(m_component.get());
}

void DownloadFixture::TearDown() {
    m_component.reset();
    recorder().reset(nullptr);
}

DownloadTask DownloadFixture::taskFor(const std::string& path) const {
    DownloadTask task;
    task.mode = kDownloadMode;
    task.url = m_server.url(path);
    task.savePath = m_dir.path() + "/";
    task.connectTimeout = 5000;
    task.sendTimeout = 5001;
    task.receiveTimeout = 10000;
    task.receiveBlockSize = 10240;
    task.eventCallback = &EventRecorder::onEvent;
    task.messageCallback = &EventRecorder::onMessage;
    return task;
}

bool DownloadFixture::download(const DownloadTask& task) {
    return m_component->addTask(task) && recorder().waitForTaskEnded();
}

std::set<std::string> DownloadFixture::folderNames() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
        names.insert(entry.path().filename().string());
    return names;
}

bool DownloadFixture::waitForDone(std::int64_t bytes) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (m_component->doneLength() >= bytes)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

} // namespace tarnis::test
