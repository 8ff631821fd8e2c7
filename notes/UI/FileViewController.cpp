#include "notes/UI/FileViewController.h"

#include "notes/UI/FileCellView.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableView.h"

namespace zelvo {

using platform::Rect;

FileViewController::FileViewController() : ViewController(std::string(NibName)) {}

FileViewController::~FileViewController() {
    if (m_fileTableView) {
        m_fileTableView->setDataSource(nullptr);
        m_fileTableView->setDelegate(nullptr);
    }
}

void FileViewController::loadView() {
    double width = FileCellView::RowHeight + 8;
    auto view = std::make_shared<platform::View>(Rect(0, 0, width, 400));
    m_fileTableView = std::make_shared<platform::TableView>(Rect(0, 0, width, 400));
    m_fileTableView->setRowHeight(FileCellView::RowHeight);
    m_fileTableView->addTableColumn(platform::TableColumn(FileCellView::Identifier));
    m_fileTableView->registerCellFactory(FileCellView::Identifier,
                                         [] { return FileCellView::makeFromInterface(); });
    m_fileTableView->setDataSource(this);
    m_fileTableView->setDelegate(this);
    m_fileTableView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                         platform::View::ViewHeightSizable);
    view->addSubview(m_fileTableView);
    setView(view);
}

void FileViewController::viewDidLoad() {
    if (!DBUtil::isExistsNoteFile()) initNoteFile();
    getNoteFiles();
}

void FileViewController::initNoteFile() {
    struct Group {
        const char* imageName;
        const char* flag;
        int32_t order;
    };
    static constexpr Group groups[] = {{"file_recent", "group_recent", 1},
                                       {"file_work2", "group_work", 2},
                                       {"file_home", "group_life", 3}};
    for (const Group& group : groups) {
        NoteFile file;
        file.setF_title(std::string());
        file.setF_summary(std::string());
        file.setF_imageName(std::string(group.imageName));
        file.setF_noteCount(0);
        file.setF_date(platform::Date::now());
        file.setF_flag(std::string(group.flag));
        file.setF_author(std::string());
        file.setF_order(group.order);
        DBUtil::insertNoteFile(&file);
    }
}

void FileViewController::getNoteFiles() {
    m_noteFiles = DBUtil::getNoteFiles();
    // The table shows what it was last given: tell it the groups changed before selecting.
    if (m_fileTableView) m_fileTableView->reloadData();
    reloadTable();
}

void FileViewController::reloadTable() {
    if (!m_fileTableView) return;
    int64_t row = m_fileTableView->selectedRow();
    m_fileTableView->selectRowIndexes({row >= 0 ? row : 0}, false);
}

std::optional<NoteFile> FileViewController::selectedNoteFile() const {
    if (!m_fileTableView) return std::nullopt;
    int64_t row = m_fileTableView->selectedRow();
    if (row < 0 || row >= int64_t(m_noteFiles.size())) return std::nullopt;
    return m_noteFiles[size_t(row)];
}

void FileViewController::setNotesOfFile(const std::optional<NoteFile>& noteFile) {
    std::optional<std::string> flag = noteFile ? noteFile->f_flag() : std::nullopt;
    platform::logf("%s noteFlag:%s", "-[FileViewController setNotesOfFile:]",
                   flag ? flag->c_str() : "(null)");
    if (m_selectedNoteFlag && flag && *m_selectedNoteFlag == *flag) return;
    m_selectedNoteFlag = flag;
    std::any object;
    if (flag) object = *flag;
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_FLAG_CHANGED,
                                                                       object);
}

int64_t FileViewController::numberOfRowsInTableView(platform::TableView&) {
    return int64_t(m_noteFiles.size());
}

std::shared_ptr<platform::View> FileViewController::tableView(platform::TableView& tableView,
                                                              const platform::TableColumn& column,
                                                              int64_t row) {
    auto cell = std::dynamic_pointer_cast<FileCellView>(
        tableView.makeViewWithIdentifier(column.identifier(), this));
    if (!cell || row < 0 || row >= int64_t(m_noteFiles.size())) return cell;
    const NoteFile& file = m_noteFiles[size_t(row)];
    if (cell->imageView())
        cell->imageView()->setImage(platform::Image::imageNamed(file.f_imageName().value_or("")));
    return cell;
}

void FileViewController::tableViewSelectionDidChange(platform::TableView&) {
    setNotesOfFile(selectedNoteFile());
}

}  // namespace zelvo
