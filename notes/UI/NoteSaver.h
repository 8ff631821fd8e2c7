#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "notes/store/NoteObject.h"
#include "platform/foundation/Date.h"

namespace platform {
class Timer;
}

namespace zelvo {

// The page that shows the note, as the saver drives it. Every call evaluates statements in the
// page, which turns the main loop: the saver's other entry points may be called meanwhile.
class NotePage {
  public:
    virtual ~NotePage() = default;
    // Whether the page has loaded and can take statements.
    virtual bool isLoaded() const = 0;
    // Puts the HTML into the page (an empty note shows the placeholder); false when the page
    // did not take it.
    virtual bool show(const std::string& html) = 0;
    // Whether the page takes typing.
    virtual void setEditable(bool editable) = 0;
    // The page counts the user's edits from the note's showing. With more than `seen` of them:
    // their count and the page's own serialisation of its content. `html` is absent when there
    // were no more, and `answered` false when the page did not answer.
    struct Edits {
        bool answered = false;
        uint64_t count = 0;
        std::optional<std::string> html;
    };
    virtual Edits editsSince(uint64_t seen) = 0;
    // That serialisation as notes store it; absent when the page did not answer.
    virtual std::optional<std::string> tidyHTML(const std::string& html) = 0;
    // The page's plain text; absent when it did not answer.
    virtual std::optional<std::string> pageText() = 0;
    // A note (or none) is now in the page.
    virtual void didShowNote() {}
};

// Where notes are stored, and the time they are stored at.
struct NoteStore {
    std::function<bool(const NoteObject&)> update;  // the notes store's row update
    std::function<std::string()> failureReason;     // why the last update failed
    std::function<platform::Date()> now;
};

// Decides when and what of the editor's note is stored, and which note the page's content
// belongs to.
//
// The page takes typing only while it holds the note it was last given: it is locked before a
// switch reads the note being left, stays locked while the next note goes in, and is unlocked
// only when no other choice is waiting. So whatever the page gives back was typed into the note
// it was loaded for, and is stored there.
//
// A note is "changed" only when the user edited it in the page (the page itself tells), so opening
// a note whose stored HTML is not in the page's own form never rewrites it, and a note opened and
// left is never read back. A changed note is stored when another note is chosen, on Save, on Quit
// and when the window closes, and also about two seconds after typing pauses (at the latest a few
// seconds after the first unsaved change, for typing that never pauses) and when the window loses
// the focus; an unchanged note is never written.
//
// A note that cannot be stored is kept: the user is told why in an alert (once for the saves
// made by themselves until one succeeds), the edit stays in the page, a switch to another note is
// refused (the list selects the kept note again), and Save, a switch or Quit try again.
class NoteSaver {
  public:
    static constexpr double pauseSeconds = 2.0;
    static constexpr double longestWaitSeconds = 8.0;

    NoteSaver(NotePage& page, NoteStore store);
    ~NoteSaver();
    NoteSaver(const NoteSaver&) = delete;
    NoteSaver& operator=(const NoteSaver&) = delete;

    const std::shared_ptr<NoteObject>& note() const { return m_note; }
    // The HTML last put into or saved from the page; "" with no note.
    const std::optional<std::string>& internalHTML() const { return m_internalHTML; }
    const std::optional<std::string>& summary() const { return m_summary; }
    bool isSaving() const { return m_busy != Busy::No; }
    // Whether the page holds the note in full and takes typing.
    bool pageTakesTyping() const { return m_editable; }

    // The note list chose a note (null: none). A choice made while a save or a switch runs is
    // shown once that is done (only the latest counts); meanwhile the list is told to highlight
    // the note the editor holds, and then the one it shows.
    void select(std::shared_ptr<NoteObject> note);
    // Puts this HTML into the page as the note's content, as when the note was chosen.
    void showHTML(const std::string& html);
    // The page (re)loaded: it shows the held note again.
    void pageDidLoad();
    // The page reports an edit: a save falls due once typing pauses.
    void pageDidChange();
    // The window lost the focus: a changed note is stored at the next turn of the loop.
    void windowDidResignKey();

    // Save: whether the note is safe (stored, unchanged, or not readable from the page); false
    // when the store refused it (the user has been told why).
    bool save();
    // Quit asks first: the note is stored, and when it cannot be the user chooses between staying
    // and quitting without it. Whether to quit.
    bool shouldQuit();

  private:
    enum class Busy { No, Saving, Switching };
    enum class Asker { User, Itself, Nobody };

    // Stores the held note when it changed; the reason when the store refused it.
    std::optional<std::string> store(Asker asker);
    bool storeIfChanged(NoteObject& note, std::optional<std::string>& failure);
    // A save the saver makes by itself (pause, focus loss).
    void saveOnItsOwn();
    void hold(std::shared_ptr<NoteObject> note);
    void showHeld();
    void lock();
    void unlock();
    void scheduleSave();
    void cancelScheduledSave();
    // Re-announces the held note after a refused switch, so the list highlights it again.
    void keepSelection();
    void takePendingSelection();

    NotePage& m_page;
    NoteStore m_store;
    Busy m_busy = Busy::No;
    std::shared_ptr<NoteObject> m_note;
    std::optional<std::string> m_internalHTML = std::string();
    std::optional<std::string> m_summary;
    // The page's count of edits when the note was last stored from it (0: as shown).
    uint64_t m_editsStored = 0;
    bool m_editable = false;
    // The page has taken typing since the note was put into it: only then is there anything to
    // read back.
    bool m_typedInto = false;
    bool m_changeReported = false;  // the page reported an edit since the last save began
    bool m_selectionPending = false;
    bool m_highlightMoved = false;
    bool m_reloadPending = false;  // the page loaded again while a switch was under way  // the
                                   // list was told to highlight the held note meanwhile
    std::shared_ptr<NoteObject> m_pendingSelection;
    bool m_discarding = false;  // the user chose to quit without the note that could not be stored
    bool m_alerting = false;
    bool m_failureTold = false;  // the user was told the store fails, and none succeeded since
    std::weak_ptr<platform::Timer> m_pauseTimer, m_longestWaitTimer;
    // Lets a block queued for later see whether this saver is still there.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace zelvo
