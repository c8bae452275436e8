#pragma once

#include <string>
#include <vector>

namespace tarnis {

// The address list and the target folder that outlive a run. Every operation reads or
// writes the two files afresh: "ZELM.ini" (section "ZELM") and the address-list file it
// names, both in the program directory. Nothing is cached and no failure is reported.
class SettingsStore {
public:
    // programDirectory: GBK, without a trailing separator (empty for the root).
    explicit SettingsStore(std::string programDirectory);

    std::vector<std::string> loadUrlLines() const;
    void saveUrlList(const std::vector<std::string>& items) const;
    std::string loadSaveFolder() const;
    void saveSaveFolder(const std::string& folder) const;

    std::string settingsFilePath() const; // GBK
    std::string urlListFilePath() const;  // GBK, where saveUrlList writes

private:
    std::string m_programDirectory;
};

} // namespace tarnis
