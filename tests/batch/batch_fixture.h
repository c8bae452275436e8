#pragma once

#include "app/app_state.h"
#include "download/download_event.h"
#include "fake_download_component.h"
#include "platform/gbk_text.h"
#include "recording_batch_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarnis {

// A fresh program state around a scripted component and a recording window.
class BatchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeDownloadComponent>();
        component = fake.get();
        startUp(std::move(fake));
    }
    void TearDown() override { shutdown(); }

    AppState& state() { return appState(); }

    // Delivers an event the way a component thread would.
    void deliver(DownloadEvent event, std::int64_t value = 0) {
        state().taskTemplate.eventCallback(static_cast<std::int32_t>(event), 0, value, 0, 1);
    }

    FakeDownloadComponent* component = nullptr;
    RecordingBatchView view;
};

} // namespace tarnis
