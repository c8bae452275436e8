#pragma once

#include "download/download_component.h"
#include "event_recorder.h"
#include "temp_dir.h"
#include "test_http_server.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

namespace tarnis::test {

// A component, a target folder and the scriptable server, with the program's own network
// options (retries 10 ms apart, five of them).
class DownloadFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A task for a path of the server, saved into the folder, with the batch runner's values.
    DownloadTask taskFor(const std::string& path) const;
    // Starts the task and waits for its TaskEnded; false when it was refused or never ended.
    bool download(const DownloadTask& task);
    // Files now in the target folder.
    std::set<std::string> folderNames() const;
    std::string saved(const std::string& name) const { return readWholeFile(m_dir.file(name)); }
    EventRecorder& recorder() const { return EventRecorder::instance(); }
    // Waits (bounded) until the task has received at least `bytes`.
    bool waitForDone(std::int64_t bytes) const;

    TestHttpServer m_server;
    TempDir m_dir;
    std::unique_ptr<DownloadComponent> m_component;
};

} // namespace tarnis::test
