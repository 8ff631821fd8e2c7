#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "notes/UI/EditorPage.h"
#include "notes/UI/PageOperations.h"
#include "notes/store/NoteObject.h"
#include "platform/foundation/Date.h"

namespace platform {
class Timer;
}

namespace zelvo {

// The page that shows the note, as the saver drives it. The page answers in its own time: every
// call takes a callback, and what must not be entered halfway is one operation (perform).
class NotePage {
  public:
    using Done = std::function<void()>;
    virtual ~NotePage() = default;
    // Whether the page has loaded and can take statements.
    virtual bool isLoaded() const = 0;
    // Runs the operation once the page's operations handed in before have finished.
    virtual void perform(PageOperations::Operation operation) = 0;
    // Keys typed and clicks made on the page from now on wait, in order, until let go.
    virtual void holdInput() = 0;
    virtual void letInputGo() = 0;
    // The input events held so far, counted from the first ever held: a mark between them.
    virtual uint64_t inputHeldSoFar() const = 0;
    // Input still held: the events held before the mark go on, the rest keep waiting.
    virtual void passHeldInput(uint64_t mark) = 0;
    // Puts the HTML into the page (an empty note shows the placeholder), the page told which note
    // it is; whether the page took it.
    virtual void show(const std::string& html, std::optional<int32_t> noteId,
                      std::function<void(bool taken)> done) = 0;
    // Whether the page takes typing; locking waits for the keys already on their way to it.
    virtual void setEditable(bool editable, Done done) = 0;
    // Runs `done` once the keys typed and clicks made so far have reached the page.
    virtual void afterInputArrived(Done done) = 0;
    // The page counts the user's edits from the note's showing: with more than `seen` of them,
    // the note's id, their count and the page's own serialisation of its content.
    virtual void editsSince(uint64_t seen, std::function<void(PageEdits)> done) = 0;
    // That serialisation as notes store it; absent when the page did not answer.
    virtual void tidyHTML(const std::string& html,
                          std::function<void(std::optional<std::string>)> done) = 0;
    // The page's plain text; absent when it did not answer.
    virtual void pageText(std::function<void(std::optional<std::string>)> done) = 0;
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
// Whatever reads or changes the page is one operation of the page's, so none is entered halfway
// by another: a switch locks the page once the keys typed before have reached it, stores what
// it reports for the note it holds (the page names the note), puts the next note in and unlocks
// it. Keys typed and clicks made on the page from the choice on wait meanwhile and reach the next
// note. Of the choices made while an operation runs, only the latest is shown, and those after
// which the user typed or clicked before the next: each of these is shown with what was typed for
// it before the next switch reads it back. A note chosen while it was still being stored is
// shown as stored, not as the list read it before.
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
    using Finished = PageOperations::Finished;

    NoteSaver(NotePage& page, NoteStore store);
    ~NoteSaver();
    NoteSaver(const NoteSaver&) = delete;
    NoteSaver& operator=(const NoteSaver&) = delete;

    const std::shared_ptr<NoteObject>& note() const { return m_note; }
    // The HTML last put into or saved from the page; "" with no note.
    const std::optional<std::string>& internalHTML() const { return m_internalHTML; }
    const std::optional<std::string>& summary() const { return m_summary; }

    // The note list chose a note (null: none): the note held is stored, then this one shown.
    void select(std::shared_ptr<NoteObject> note);
    // Puts this HTML into the page as the note's content, as when the note was chosen.
    void showHTML(const std::string& html);
    // The page (re)loaded: it shows the held note again.
    void pageDidLoad();
    // The page reports an edit of the note it names: a save falls due once typing pauses.
    void pageDidChange(std::optional<int32_t> noteId);
    // The window lost the focus: a changed note is stored.
    void windowDidResignKey();

    // Save: `done` learns whether the note is safe (stored, unchanged, or not readable from the
    // page); false when the store refused it (the user has been told why).
    void save(std::function<void(bool safe)> done = nullptr);
    // Quit asks first: the note is stored, and when it cannot be the user chooses between staying
    // and quitting without it. `answer` learns whether to quit.
    void shouldQuit(std::function<void(bool quit)> answer);

  private:
    enum class Asker { User, Itself, Nobody };
    using Stored = std::function<void(std::optional<std::string> failure)>;

    // `writesAtChoice`: the saver's writes when the note was chosen (see fresher).
    void switchTo(std::shared_ptr<NoteObject> note, uint64_t writesAtChoice, Finished finished);
    // The note as chosen, or what the saver stored of it since: the list reads a chosen note from
    // its rows, which a choice made while the note was still being stored predates.
    std::shared_ptr<NoteObject> fresher(std::shared_ptr<NoteObject> chosen,
                                        uint64_t writesAtChoice) const;
    // Stores the held note when it changed; `done` learns the reason when the store refused it.
    void store(Asker asker, Stored done);
    void storeRead(const std::shared_ptr<NoteObject>& note, const PageEdits& edits, Asker asker,
                   Stored done);
    // Writes the note as read from the page; the reason when the store refused it.
    std::optional<std::string> write(NoteObject& note, const std::string& html,
                                     const std::string& text, uint64_t edits);
    // Tells the user why the note could not be stored (when it is theirs to know); `done` once
    // they have read it.
    void tell(const std::string& failure, Asker asker, NotePage::Done done);
    // A save the saver makes by itself (pause, focus loss).
    void saveOnItsOwn();
    void hold(std::shared_ptr<NoteObject> note);
    void showHeld(Finished finished);
    // The note chosen is in the page while a later choice waits: the input held for it goes on.
    void passInputOfChoiceTaken(Finished finished);
    void lock(NotePage::Done done);
    void unlock(NotePage::Done done);
    void scheduleSave();
    void cancelScheduledSave();
    // Whether the list chose another note since the one the saver took last.
    bool choiceWaits() const { return m_latestChoice != m_choiceTaken; }
    // The choices made meanwhile would only fail again: the held note stays.
    void dropWaitingChoices() { m_choicesDropped = m_choiceTaken = ++m_latestChoice; }
    // Re-announces the held note after a refused switch, so the list highlights it again.
    void keepSelection();

    NotePage& m_page;
    NoteStore m_store;
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
    // The list's choices, counted: the latest made, and the latest the saver took.
    uint64_t m_latestChoice = 0;
    uint64_t m_choiceTaken = 0;
    // Choices up to this one were dropped after a refused switch.
    uint64_t m_choicesDropped = 0;
    // The input held from a choice on, between two marks (see NotePage::inputHeldSoFar); the
    // latest choice's ends at the next choice.
    struct ChoiceInput {
        uint64_t from = 0;
        std::optional<uint64_t> to;
    };
    std::shared_ptr<ChoiceInput> m_latestChoiceInput;
    // The input held for the choice taken, until it is passed on.
    std::shared_ptr<ChoiceInput> m_inputOfChoiceTaken;
    // The notes stored while choices waited, each with the count of writes it was stored at;
    // forgotten once no choice made before them waits.
    struct Written {
        uint64_t write = 0;
        std::shared_ptr<NoteObject> note;
    };
    std::map<int32_t, Written> m_written;
    uint64_t m_writes = 0;
    bool m_discarding = false;   // the user chose to quit without the note that could not be stored
    bool m_failureTold = false;  // the user was told the store fails, and none succeeded since
    std::weak_ptr<platform::Timer> m_pauseTimer, m_longestWaitTimer;
    // Lets a block queued for later see whether this saver is still there.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace zelvo
