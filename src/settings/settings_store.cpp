#include "settings/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/file_reading.h"
#include "platform/gbk_text.h"
#include "platform/ini_profile.h"
#include "settings/url_list_file.h"

namespace tarnis {
namespace {

std::string sectionName() {
    return "ZELM"_gbk;
}

std::string listFileKey() {
    return "下载文件地址路径"_gbk;
}

std::string saveFolderKey() {
    return "保存下载文件夹路径"_gbk;
}

} // namespace

SettingsStore::SettingsStore(std::string programDirectory)
    : m_programDirectory(std::move(programDirectory)) {}

std::string SettingsStore::settingsFilePath() const {
    return m_programDirectory + "/ZELM.ini";
}

std::string SettingsStore::urlListFilePath() const {
    return m_programDirectory + "/ZELM.txt";
}

std::vector<std::string> SettingsStore::loadUrlLines() const {
    std::string listFile = readProfileString(sectionName(), listFileKey(), settingsFilePath());
    if (listFile.empty())
        return {};
    // The program runs in its own folder, so a relative name means one in the program
    // directory; joining it here gives the same file without depending on the current
    // directory of whoever uses the store.
    if (listFile.front() != '/')
        listFile = m_programDirectory + "/" + listFile;

    UrlListReader reader;
    const ReadStatus status = readRegularFileInChunks(listFile, [&reader](std::string_view chunk) {
        reader.feed(chunk);
        return !reader.ended();
    });
    if (status != ReadStatus::Ok)
        return {};
    return reader.finish();
}

void SettingsStore::saveUrlList(const std::vector<std::string>& items) const {
    const std::string listFile = urlListFilePath();
    // A list that cannot be written leaves the old file whole; the key is pointed at this
    // file all the same, so the next save has a single place to go.
    saveFileAtomically(listFile, joinUrlList(items));
    writeProfileString(sectionName(), listFileKey(), listFile, settingsFilePath());
}

std::string SettingsStore::loadSaveFolder() const {
    return readProfileString(sectionName(), saveFolderKey(), settingsFilePath());
}

void SettingsStore::saveSaveFolder(const std::string& folder) const {
    writeProfileString(sectionName(), saveFolderKey(), folder, settingsFilePath());
}

} // namespace tarnis
