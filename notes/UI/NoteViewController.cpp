#include "notes/UI/NoteViewController.h"

#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/NoteCellView.h"
#include "notes/UI/NoteDateFormat.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Alert.h"
#include "platform/ui/TableCellTextField.h"
#include "platform/ui/TableView.h"
#include "textview/TXTextView.h"

namespace zelvo {

using platform::NotificationCenter;
using platform::Rect;

namespace {

constexpr double ListWidth = 220;
constexpr double ActionBarHeight = 28;

std::string rowText(const DBUtil::NoteRow& row, const char* key) {
    auto found = row.find(key);
    if (found == row.end()) return {};
    const std::string* text = found->second.text();
    return text ? *text : std::string();
}

int32_t rowInteger(const DBUtil::NoteRow& row, const char* key) {
    auto found = row.find(key);
    return found == row.end() ? 0 : found->second.intValue();
}

const char* statusImageName(const std::string& group) {
    if (group == "group_work") return "file_work2_menu";
    if (group == "group_life") return "file_home_menu";
    return "file_recent";
}

// The list stays as it was; the user learns why nothing happened.
void tellStoreFailure(const std::string& message) {
    platform::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(DBUtil::lastErrorMessage());
    alert.addButtonWithTitle("OK");
    alert.runModal();
}

}  // namespace

const std::u16string NoteViewController::NewNoteText =
    u"\u1830\u1822\u1828\u180E\u1821 \u1832\u1821\u182E\u1832\u1821\u182D\u182F\u1821\u182F";

NoteViewController::NoteViewController() : ViewController(std::string(NibName)) {
    // The add and remove buttons send these (their sender is not looked at).
    registerAction("addNote:", [this] { addNote(); });
    registerAction("removeNote:", [this] { removeNote(); });
}

NoteViewController::~NoteViewController() {
    for (auto token : m_observers) NotificationCenter::defaultCenter().removeObserver(token);
    if (m_noteTableView) {
        m_noteTableView->setDataSource(nullptr);
        m_noteTableView->setDelegate(nullptr);
    }
}

void NoteViewController::loadView() {
    const double height = 600;
    auto view = std::make_shared<platform::View>(Rect(0, 0, ListWidth, height));
    m_noteTableView = std::make_shared<platform::TableView>(
        Rect(0, ActionBarHeight, ListWidth, height - ActionBarHeight));
    m_noteTableView->setRowHeight(NoteCellView::RowHeight);
    m_noteTableView->addTableColumn(platform::TableColumn(NoteCellView::Identifier));
    m_noteTableView->registerCellFactory(NoteCellView::Identifier,
                                         [] { return NoteCellView::makeFromInterface(); });
    m_noteTableView->setDataSource(this);
    m_noteTableView->setDelegate(this);
    m_noteTableView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                         platform::View::ViewHeightSizable);
    view->addSubview(m_noteTableView);
    auto bar = std::make_shared<BackgroundView>(Rect(0, 0, ListWidth, ActionBarHeight));
    bar->setBackgroundColor(platform::Color::calibratedRGB(0.96, 0.96, 0.97));
    m_actionView = bar;
    m_actionView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                      platform::View::ViewMaxYMargin);
    view->addSubview(m_actionView);
    setView(view);
}

void NoteViewController::viewDidLoad() {
    auto& center = NotificationCenter::defaultCenter();
    m_observers.push_back(
        center.addObserver(NOTI_NOTE_UPDATED, [this](const platform::Notification& notification) {
            // A save without a note (an empty pointer counts as none) changes no row.
            const auto* saved = notification.objectAs<NoteObjectPtr>();
            if (notification.hasObject() && (!saved || *saved)) reloaNote(m_noteFlag);
        }));
    m_observers.push_back(center.addObserver(
        NOTI_NOTE_SELECTION_KEPT, [this](const platform::Notification& notification) {
            if (const auto* kept = notification.objectAs<NoteObjectPtr>(); kept && *kept)
                keepNote(*kept);
        }));
    DBUtil::isExistsNote();  // asked, as always; the list seeds no notes
    if (!m_noteFlag) m_noteFlag = RecentFlag;
    reloaNote(m_noteFlag);
    m_observers.push_back(center.addObserver(
        NOTI_NOTE_FLAG_CHANGED, [this](const platform::Notification& notification) {
            const std::string* flag = notification.objectAs<std::string>();
            m_noteFlag = flag ? std::optional<std::string>(*flag) : std::nullopt;
            reloaNote(m_noteFlag);
        }));
}

void NoteViewController::reloaNote(const std::optional<std::string>& flag) {
    reloadNotes(flag, std::nullopt);
}

void NoteViewController::reloadNotes(const std::optional<std::string>& flag,
                                     std::optional<int64_t> row) {
    std::optional<int32_t> shownID;
    if (m_selectedNoteObject) shownID = m_selectedNoteObject->n_id();
    if (flag && *flag == RecentFlag)
        m_notes = DBUtil::getRecentNotes().value_or(std::vector<DBUtil::NoteRow>());
    else
        m_notes = DBUtil::getNotesWithFlag(flag);
    if (!m_noteTableView) return;
    m_noteTableView->reloadData([this, shownID, row] { reselect(shownID, row); });
}

std::optional<int64_t> NoteViewController::rowOfNote(int32_t noteID) const {
    for (size_t i = 0; i < m_notes.size(); ++i)
        if (rowInteger(m_notes[i], "n_id") == noteID) return int64_t(i);
    return std::nullopt;
}

void NoteViewController::reselect(std::optional<int32_t> shownID, std::optional<int64_t> row) {
    if (!row && shownID) row = rowOfNote(*shownID);
    if (row) {
        m_reselecting = true;
        m_noteTableView->selectRowIndexes({*row}, false);
        m_reselecting = false;
    }
    announceIfChanged();
}

void NoteViewController::keepNote(NoteObjectPtr note) {
    m_selectedNoteObject = std::move(note);
    if (!m_noteTableView) return;
    std::optional<int64_t> row = rowOfNote(m_selectedNoteObject->n_id());
    m_reselecting = true;
    // Listed elsewhere (another group is shown): no other note may look like the one edited.
    if (row)
        m_noteTableView->selectRowIndexes({*row}, false);
    else
        m_noteTableView->deselectAll();
    m_reselecting = false;
}

void NoteViewController::announceIfChanged() {
    NoteObjectPtr current = selectedNote();
    bool same = current && m_selectedNoteObject ? current->n_id() == m_selectedNoteObject->n_id()
                                                : !current && !m_selectedNoteObject;
    if (same)
        m_selectedNoteObject = current;  // fresher fields, same note: nothing to tell
    else
        announce(current);
}

void NoteViewController::announce(NoteObjectPtr note) {
    m_selectedNoteObject = note;
    std::any object;
    if (note) object = note;
    NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_CHANGED, object);
}

NoteObjectPtr NoteViewController::selectedNote() const {
    if (!m_noteTableView) return nullptr;
    int64_t row = m_noteTableView->selectedRow();
    if (row < 0 || row >= int64_t(m_notes.size())) return nullptr;
    const DBUtil::NoteRow& data = m_notes[size_t(row)];
    auto note = std::make_shared<NoteObject>();
    note->setN_text(rowText(data, "n_text"));
    note->setN_id(rowInteger(data, "n_id"));
    if (auto date = data.find("n_date"); date != data.end() && date->second.date())
        note->setN_date(*date->second.date());
    note->setN_group(rowText(data, "n_group"));
    note->setN_summary(rowText(data, "n_summary"));
    note->setN_isRecent(rowInteger(data, "n_isRecent"));
    return note;
}

void NoteViewController::addNote() {
    NoteObject note;
    std::string text = platform::utf8FromUtf16(NewNoteText);
    note.setN_summary(text);
    note.setN_text(text);
    note.setN_date(platform::Date::now());
    note.setN_isRecent(1);
    note.setN_group(m_noteFlag == RecentFlag ? std::optional<std::string>("group_work")
                                             : m_noteFlag);
    if (!DBUtil::insertNote(&note)) {
        tellStoreFailure("The new note could not be made.");
        return;
    }
    reloadNotes(m_noteFlag, 0);
}

void NoteViewController::removeNote() {
    // The note the editor shows, which the highlight holds; not whatever row an index names.
    NoteObjectPtr shown = m_selectedNoteObject ? m_selectedNoteObject : selectedNote();
    if (!shown) return;
    if (!DBUtil::deleteNoteWithID(shown->n_id())) {
        tellStoreFailure("The note could not be deleted.");
        return;
    }
    if (auto row = rowOfNote(shown->n_id()); row && m_noteTableView) {
        m_notes.erase(m_notes.begin() + *row);
        m_noteTableView->removeRowsAtIndexes({*row}, platform::TableViewAnimation::SlideLeft);
    }
    reloadNotes(m_noteFlag, 0);
}

int64_t NoteViewController::numberOfRowsInTableView(platform::TableView&) {
    return int64_t(m_notes.size());
}

std::shared_ptr<platform::View> NoteViewController::tableView(platform::TableView& tableView,
                                                              const platform::TableColumn& column,
                                                              int64_t row) {
    auto cell = std::dynamic_pointer_cast<NoteCellView>(
        tableView.makeViewWithIdentifier(column.identifier(), this));
    if (!cell || row < 0 || row >= int64_t(m_notes.size())) return cell;
    const DBUtil::NoteRow& data = m_notes[size_t(row)];
    cell->setBackgroundStyle(platform::BackgroundStyle::Emphasized);
    cell->setNormalDateBgImage(platform::Image::imageNamed("stretchbg_count"));
    cell->setHighLightedDateBgImage(platform::Image::imageNamed("stretchbg_count_highlighted"));
    auto status = platform::Image::imageNamed(statusImageName(rowText(data, "n_group")));
    cell->setNormalStatusImage(status);
    cell->setHighLightedStatusImage(status);
    std::string date;
    if (auto found = data.find("n_date"); found != data.end() && found->second.date())
        date = noteListDateString(*found->second.date());
    cell->dateLabel()->setStringValue(date);
    cell->seTextView()->setText(platform::utf16FromUtf8(rowText(data, "n_summary")));
    return cell;
}

void NoteViewController::tableViewSelectionDidChange(platform::TableView& tableView) {
    // While the list reloads or moves its own highlight, the change is settled afterwards by
    // comparing notes, not rows.
    if (m_reselecting || tableView.isReloading()) return;
    announce(selectedNote());
}

}  // namespace zelvo
