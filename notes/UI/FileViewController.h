#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/store/NoteFile.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class TableView;
class View;
}  // namespace platform

namespace zelvo {

// The group list: the three note groups as images. It seeds them on the first launch, selects the
// first, and announces every change of group as NOTI_NOTE_FLAG_CHANGED; choosing the group already
// announced says nothing.
class FileViewController : public platform::ViewController,
                           public platform::TableViewDataSource,
                           public platform::TableViewDelegate {
  public:
    static constexpr const char* NibName = "FileViewController";

    FileViewController();
    ~FileViewController() override;
    FileViewController(const FileViewController&) = delete;
    FileViewController& operator=(const FileViewController&) = delete;

    platform::TableView* fileTableView() const { return m_fileTableView.get(); }

    const std::vector<NoteFile>& noteFiles() const { return m_noteFiles; }
    const std::optional<std::string>& selectedNoteFlag() const { return m_selectedNoteFlag; }

    void initNoteFile();
    void getNoteFiles();
    // Selects the selected row again, or row 0 when there is none.
    void reloadTable();
    std::optional<NoteFile> selectedNoteFile() const;
    void setNotesOfFile(const std::optional<NoteFile>& noteFile);

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
    std::shared_ptr<platform::TableView> m_fileTableView;
    std::vector<NoteFile> m_noteFiles;
    std::optional<std::string> m_selectedNoteFlag;
};

}  // namespace zelvo
