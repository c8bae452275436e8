#pragma once

#include "batch/batch_view.h"

#include <cstdint>

namespace tarnis {

// Downloads urlList one task at a time into saveFolder. The runner keeps no state of its
// own: it works on appState() and on the window through BatchView.

// Starts a batch; the caller has checked that urlList and saveFolder are not empty.
void startBatch(BatchView& view);

// Fills the task template for entry currentIndex and hands it to the component.
void startCurrentTask();

// The download component's event callback. Runs on the component's threads; it only
// records (TotalSize, TaskEnded) and always answers 0, so a name clash gets a free name.
std::int32_t onDownloadEvent(std::int32_t code, std::int32_t connection, std::int64_t value,
                             std::int64_t secondValue, std::int32_t task);

// The 100 ms tick: refreshes the display while a batch runs, then moves the batch on.
void onProgressTick(BatchView& view);

} // namespace tarnis
