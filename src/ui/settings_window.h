#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarnis {

class BalloonTip;
class SettingsStore;

// Opens the settings window modally and returns when it has closed.
void runSettingsWindow(const SettingsStore& store);

// Where the user keeps the address list and the target folder. Built afresh at every
// opening from the settings files; the list reaches urlList and the files on OK, a folder
// reaches saveFolder and the settings file as soon as it is picked.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit SettingsWindow(const SettingsStore& store, QWidget* parent = nullptr);

    void onSettingsCreated();
    void onAddClicked();
    void onDeleteClicked();
    void onClearClicked();
    void onBrowseClicked();
    void onOkClicked();
    void onCancelClicked();

private:
    QLabel* addLabel(const char* name, const std::string& text, QRect place);
    QPushButton* addButton(const char* name, const std::string& text, QRect place);
    void setFolderBoxText(const std::string& folder);
    std::string itemText(int row) const;

    const SettingsStore& m_store;
    QListWidget* m_urlListBox = nullptr;
    QLineEdit* m_addressBox = nullptr;
    QLineEdit* m_folderBox = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    BalloonTip* m_tips = nullptr;
    std::string m_folderText; // the GBK text of the folder box, byte for byte
};

} // namespace tarnis
