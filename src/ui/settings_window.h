#pragma once

namespace tarnis {

class SettingsStore;

// Opens the settings window modally and returns when it has closed.
void runSettingsWindow(const SettingsStore& store);

} // namespace tarnis
