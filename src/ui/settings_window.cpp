#include "ui/settings_window.h"

namespace tarnis {

void runSettingsWindow(const SettingsStore&) {}

} // namespace tarnis
