#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/NoteNotifications.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class TableView;
class View;
}  // namespace platform

namespace zelvo {

class BackgroundView;

// The note list: the notes of the chosen group, newest first, as rows of the notes database. It
// follows NOTI_NOTE_FLAG_CHANGED (another group) and NOTI_NOTE_UPDATED (a save re-sorts the list),
// announces its selection as NOTI_NOTE_SELECTION_CHANGED, and adds and removes notes.
//
// The highlighted row always holds the note the editor was last given: after every reload the
// list selects that note again by its number wherever the new order put it, and when it is no
// longer listed the editor is told of the note now under the highlight. When the editor keeps its
// note because it could not store it, the highlight goes back to that note. Remove deletes that
// same note, never merely the row at the old index.
class NoteViewController : public platform::ViewController,
                           public platform::TableViewDataSource,
                           public platform::TableViewDelegate {
  public:
    static constexpr const char* NibName = "NoteViewController";
    static constexpr const char* RecentFlag = "group_recent";
    // The text of a new note: "new note" in Mongolian.
    static const std::u16string NewNoteText;

    NoteViewController();
    // Leaves the notification centre: nothing calls a controller that is gone.
    ~NoteViewController() override;
    NoteViewController(const NoteViewController&) = delete;
    NoteViewController& operator=(const NoteViewController&) = delete;

    platform::TableView* noteTableView() const { return m_noteTableView.get(); }
    // The bar below the list that holds its add and remove buttons.
    BackgroundView* actionView() const { return m_actionView.get(); }

    const std::vector<DBUtil::NoteRow>& notes() const { return m_notes; }
    const std::optional<std::string>& noteFlag() const { return m_noteFlag; }
    void setNoteFlag(std::optional<std::string> flag) { m_noteFlag = std::move(flag); }
    // The note of the last selection change, the one the editor shows; null when none.
    const NoteObjectPtr& selectedNoteObject() const { return m_selectedNoteObject; }

    // Reads the group's notes again and shows them.
    void reloaNote(const std::optional<std::string>& flag);
    // A new note built from the selected row; null when no row is selected.
    NoteObjectPtr selectedNote() const;
    void addNote();
    void removeNote();

    int64_t numberOfRowsInTableView(platform::TableView& tableView) override;
    std::shared_ptr<platform::View> tableView(platform::TableView& tableView,
                                              const platform::TableColumn& column,
                                              int64_t row) override;
    void tableViewSelectionDidChange(platform::TableView& tableView) override;

  protected:
    // The interface file: the table in its panel.
    void loadView() override;
    void viewDidLoad() override;

  private:
    // Reloads, then selects `row` when given, else the shown note again.
    void reloadNotes(const std::optional<std::string>& flag, std::optional<int64_t> row);
    void reselect(std::optional<int32_t> shownID, std::optional<int64_t> row);
    std::optional<int64_t> rowOfNote(int32_t noteID) const;
    // The editor kept its note rather than take the one selected: highlight it again, without
    // announcing anything.
    void keepNote(NoteObjectPtr note);
    // Tells the editor when the note under the highlight is not the one it was last given.
    void announceIfChanged();
    void announce(NoteObjectPtr note);

    std::shared_ptr<platform::TableView> m_noteTableView;
    std::shared_ptr<BackgroundView> m_actionView;
    std::vector<DBUtil::NoteRow> m_notes;
    std::optional<std::string> m_noteFlag;
    NoteObjectPtr m_selectedNoteObject;
    // Set while the list moves its own highlight after a reload.
    bool m_reselecting = false;
    std::vector<platform::NotificationCenter::Token> m_observers;
};

}  // namespace zelvo
