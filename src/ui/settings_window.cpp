#include "ui/settings_window.h"

#include "app/app_state.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "ui/balloon_tip.h"
#include "ui/control_places.h"
#include "ui/folder_browser.h"
#include "ui/message_box.h"
#include "ui/modal_opening.h"
#include "ui/qt_text.h"
#include "ui/window_frame.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include <limits>
#include <string_view>

namespace tarnis {
namespace {

// Completes the address box's tip and the bad-address message.
constexpr const char* exampleAddress = "www.example.com/download/file.zip";

// The exact GBK bytes of an item, kept beside its display text so that a list read from
// the file goes back to it unchanged even where a byte sequence has no Unicode form.
constexpr int gbkRole = Qt::UserRole;

} // namespace

void runSettingsWindow(const SettingsStore& store) {
    SettingsWindow window(store);
    runModally(window);
}

SettingsWindow::SettingsWindow(const SettingsStore& store, QWidget* parent)
    : QDialog(parent), m_store(store) {
    setObjectName("SettingsWindow");
    setWindowTitle(toQString("设置"_gbk));
    fixOuterFrame(*this, 432, 462);
    markAsDialog(*this);

    // The dialog face, under the labels too, whatever look the main window has.
    QPalette face = palette();
    face.setColor(QPalette::Window, style()->standardPalette().color(QPalette::Window));
    setPalette(face);
    setAutoFillBackground(true);

    // Built in Tab order, so that creation order and focus chain agree.
    addLabel("标签1", "下载地址列表："_gbk, QRect(12, 9, 84, 15));
    m_urlListBox = new QListWidget(this);
    m_urlListBox->setObjectName(toQString("地址列表框"_gbk));
    placeControl(*m_urlListBox, QRect(10, 31, 406, 217));
    m_urlListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_urlListBox->setSortingEnabled(false);
    m_urlListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_urlListBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_urlListBox->setTextElideMode(Qt::ElideNone);
    m_urlListBox->setUniformItemSizes(true);

    addLabel("标签2", "请输入下载地址："_gbk, QRect(13, 262, 104, 16));
    m_addressBox = new QLineEdit(this);
    m_addressBox->setObjectName(toQString("添加地址框"_gbk));
    placeControl(*m_addressBox, QRect(111, 260, 304, 21));
    m_addressBox->setMaxLength(std::numeric_limits<int>::max());

    m_addButton = addButton("添加", "添加"_gbk, QRect(42, 293, 88, 24));
    m_deleteButton = addButton("删除", "删除"_gbk, QRect(170, 293, 88, 24));
    m_clearButton = addButton("清空", "清空"_gbk, QRect(297, 293, 88, 24));

    addLabel("标签4", "下载的文件保存到文件夹的路径："_gbk, QRect(13, 336, 187, 16));
    m_folderBox = new QLineEdit(this);
    m_folderBox->setObjectName(toQString("保存路径框"_gbk));
    placeControl(*m_folderBox, QRect(12, 357, 339, 21));
    m_folderBox->setReadOnly(true);

    m_browseButton = addButton("浏览", "浏览..."_gbk, QRect(359, 355, 56, 24));
    m_okButton = addButton("确定", "确定"_gbk, QRect(110, 396, 80, 24));
    m_cancelButton = addButton("取消", "取消"_gbk, QRect(232, 396, 80, 24));

    m_tips = new BalloonTip(*this);
    m_tips->setObjectName(toQString("汽球提示框1"_gbk));

    QWidget* const tabOrder[] = {m_urlListBox,   m_addressBox,  m_addButton,
                                 m_deleteButton, m_clearButton, m_folderBox,
                                 m_browseButton, m_okButton,    m_cancelButton};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_urlListBox->setFocus(Qt::OtherFocusReason);

    connect(m_addButton, &QPushButton::clicked, this, &SettingsWindow::onAddClicked);
    connect(m_deleteButton, &QPushButton::clicked, this, &SettingsWindow::onDeleteClicked);
    connect(m_clearButton, &QPushButton::clicked, this, &SettingsWindow::onClearClicked);
    connect(m_browseButton, &QPushButton::clicked, this, &SettingsWindow::onBrowseClicked);
    connect(m_okButton, &QPushButton::clicked, this, &SettingsWindow::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &SettingsWindow::onCancelClicked);

    onSettingsCreated();
}

QLabel* SettingsWindow::addLabel(const char* name, const std::string& text, QRect place) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeControl(*label, place);
    return label;
}

QPushButton* SettingsWindow::addButton(const char* name, const std::string& text, QRect place) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromUtf8(name));
    button->setText(toQString(text));
    // No button of this window is a default one: Enter presses nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    placeControl(*button, place);
    return button;
}

void SettingsWindow::setFolderBoxText(const std::string& folder) {
    m_folderText = folder;
    m_folderBox->setText(toQString(folder));
    m_folderBox->setCursorPosition(0);
}

std::string SettingsWindow::itemText(int row) const {
    const QByteArray gbk = m_urlListBox->item(row)->data(gbkRole).toByteArray();
    return std::string(gbk.constData(), static_cast<std::size_t>(gbk.size()));
}

void SettingsWindow::onSettingsCreated() {
    // The list box shows what the list file holds now, not urlList.
    for (const std::string& line : m_store.loadUrlLines()) {
        auto* item = new QListWidgetItem(toQString(line));
        item->setData(gbkRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
        m_urlListBox->addItem(item);
    }
    setFolderBoxText(m_store.loadSaveFolder());

    attachTip(*m_tips, *m_addressBox,
              "输入要下载的文件地址(URL)\r\n例:\r\nhttp://"_gbk + exampleAddress, -1);
    attachTip(*m_tips, *m_addButton, "将输入的下载地址添加到下载地址列表"_gbk, -1);
    attachTip(*m_tips, *m_deleteButton, "删除下载地址列表中选中的一行"_gbk, -1);
    attachTip(*m_tips, *m_clearButton, "清空下载地址列表"_gbk, -1);
}

void SettingsWindow::onAddClicked() {
    const std::string address = fromQString(m_addressBox->text());
    if (address.empty()) {
        showPlainMessage("添加的下载地址(URL)不能为空！！"_gbk);
        return;
    }
    // Byte for byte and case-sensitive, nothing trimmed: 'h' is never a GBK lead byte, so
    // this accepts exactly the texts that begin with the characters "http://".
    if (std::string_view(address).substr(0, 7) != "http://") {
        showPlainMessage(
            "添加的下载(URL)地址不正确！！\r\n正确的下载地址格式(例)：\r\nhttp://"_gbk +
            exampleAddress);
        return;
    }
    auto* item = new QListWidgetItem(toQString(address));
    item->setData(gbkRole, QByteArray(address.data(), static_cast<qsizetype>(address.size())));
    m_urlListBox->addItem(item);
    m_addressBox->clear();
}

void SettingsWindow::onDeleteClicked() {
    if (m_urlListBox->count() == 0) {
        showPlainMessage("下载地址列表没有要删除的项目！"_gbk);
        return;
    }
    const QList<QListWidgetItem*> selected = m_urlListBox->selectedItems();
    if (selected.isEmpty()) {
        showPlainMessage("下载地址列表未选中要删除的项目！"_gbk);
        return;
    }
    delete m_urlListBox->takeItem(m_urlListBox->row(selected.front()));
    // The list is left without a selection; the view would otherwise select a neighbour.
    m_urlListBox->clearSelection();
}

void SettingsWindow::onClearClicked() {
    m_urlListBox->clear();
}

void SettingsWindow::onBrowseClicked() {
    const std::string folder = browseForFolder("请选择保存文件夹:"_gbk);
    if (folder.empty())
        return;
    // In force at once, however the window is closed afterwards.
    setFolderBoxText(folder);
    appState().saveFolder = folder;
    m_store.saveSaveFolder(m_folderText);
}

void SettingsWindow::onOkClicked() {
    const int count = m_urlListBox->count();
    if (count == 0) {
        showPlainMessage("没有添加可下载的文件地址!!请重新设置，按F1查看帮助。"_gbk);
        return;
    }
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        items.push_back(itemText(row));

    std::vector<std::string>& urlList = appState().urlList;
    urlList.clear();
    for (const std::string& item : items) {
        if (!item.empty())
            urlList.push_back(item);
    }
    m_store.saveUrlList(items);

    if (!m_folderText.empty()) {
        accept();
        return;
    }
    // The list is saved already; only the folder is missing.
    showPlainMessage("下载的文件保存到文件夹的路径不能为空！！按F1查看帮助。"_gbk);
}

void SettingsWindow::onCancelClicked() {
    reject();
}

} // namespace tarnis
