#include "notes/UI/NoteSaver.h"

#include <utility>

#include "notes/UI/NoteNotifications.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Alert.h"

namespace zelvo {

using platform::log;
using platform::logDebug;
using platform::logf;
using platform::NotificationCenter;

namespace {

constexpr size_t summaryLength = 300;

// The first 300 UTF-16 units of the text, cut before a pair rather than through it: half a
// character is no text at all.
std::string summaryOf(const std::string& text) {
    std::u16string units = platform::utf16FromUtf8(text);
    if (units.size() >= summaryLength) {
        size_t cut = summaryLength;
        if (platform::isHighSurrogate(units[cut - 1])) --cut;
        units.resize(cut);
    }
    return platform::utf8FromUtf16(units);
}

}  // namespace

NoteSaver::NoteSaver(NotePage& page, NoteStore store) : m_page(page), m_store(std::move(store)) {}

NoteSaver::~NoteSaver() {
    cancelScheduledSave();
}

// ---- Choosing a note --------------------------------------------------------------------------

void NoteSaver::select(std::shared_ptr<NoteObject> note) {
    logDebug(platform::stringWithFormat(
        "-[EditorViewController noteSelectionChanged] note %d, %zu bytes",
        note ? int(note->n_id()) : -1, note && note->n_text() ? note->n_text()->size() : 0));
    uint64_t choice = ++m_latestChoice;
    // Keys typed and clicks made on the page from the choice on belong to the note chosen: they
    // wait until it is in the page.
    m_page.holdInput();
    uint64_t held = m_page.inputHeldSoFar();
    if (m_latestChoiceInput) m_latestChoiceInput->to = held;
    auto input = std::make_shared<ChoiceInput>(ChoiceInput{held, std::nullopt});
    m_latestChoiceInput = input;
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive, choice, input, writes = m_writes,
                    note = std::move(note)](Finished finished) mutable {
        if (!alive.lock() || choice <= m_choicesDropped) return finished();
        // A later choice shows its note instead, unless the user typed or clicked for this one:
        // that input belongs to this note, and to no other.
        bool typedFor = input->to && *input->to > input->from;
        if (choice != m_latestChoice && !typedFor) return finished();
        m_choiceTaken = choice;
        m_inputOfChoiceTaken = input;
        switchTo(std::move(note), writes, [this, finished] {
            if (!choiceWaits()) m_written.clear();  // every choice to come reads fresh rows
            finished();
        });
    });
}

void NoteSaver::switchTo(std::shared_ptr<NoteObject> note, uint64_t writesAtChoice,
                         Finished finished) {
    // What was typed before this point reaches the page and is read back below; nothing typed
    // from now on can land in the note being left.
    lock([this, note, writesAtChoice, finished] {
        store(Asker::User,
              [this, note, writesAtChoice, finished](std::optional<std::string> failure) {
                  if (failure) {
                      unlock(finished);
                      keepSelection();
                      return;
                  }
                  // The note left may be the one chosen, stored just now.
                  hold(fresher(note, writesAtChoice));
                  showHeld([this, finished] {
                      m_page.didShowNote();
                      finished();
                  });
              });
    });
}

std::shared_ptr<NoteObject> NoteSaver::fresher(std::shared_ptr<NoteObject> chosen,
                                               uint64_t writesAtChoice) const {
    if (!chosen) return chosen;
    auto written = m_written.find(chosen->n_id());
    if (written == m_written.end() || written->second.write <= writesAtChoice) return chosen;
    return written->second.note;
}

void NoteSaver::hold(std::shared_ptr<NoteObject> note) {
    cancelScheduledSave();
    m_note = std::move(note);
    if (m_note) {
        // Only an absent text is no text: a note may well say "(null)".
        if (!m_note->n_text()) m_note->setN_text(std::string());
        if (!m_note->n_summary()) m_note->setN_summary(std::string());
        m_internalHTML = m_note->n_text();
        m_summary = m_note->n_summary();
    } else {
        m_internalHTML = "";
        m_summary.reset();
    }
}

void NoteSaver::showHTML(const std::string& html) {
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive, html](Finished finished) {
        if (!alive.lock()) return finished();
        m_internalHTML = html;
        showHeld(finished);
    });
}

void NoteSaver::pageDidLoad() {
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive](Finished finished) {
        if (!alive.lock()) return finished();
        showHeld(finished);
    });
}

void NoteSaver::showHeld(Finished finished) {
    lock([this, finished] {
        m_typedInto = false;
        m_editsStored = 0;
        if (!m_page.isLoaded()) return finished();  // shown once the page has loaded
        std::optional<int32_t> id = m_note ? std::optional(m_note->n_id()) : std::nullopt;
        m_page.show(m_internalHTML.value_or(""), id, [this, finished](bool taken) {
            if (!m_note) {
                // Typing with no note to hold it would be thrown away at the next selection: the
                // page refuses the keys typed meanwhile.
                m_page.setEditable(false, [this, finished] {
                    if (!choiceWaits()) {
                        m_inputOfChoiceTaken.reset();
                        m_page.letInputGo();
                        return finished();
                    }
                    passInputOfChoiceTaken(finished);
                });
                return;
            }
            if (!taken) {
                log("-[EditorViewController updateHTML] the page did not take the note: it takes "
                    "no typing");
                return finished();
            }
            // A choice made meanwhile is shown next: typing from now on would go into a note the
            // list no longer highlights.
            if (choiceWaits()) return passInputOfChoiceTaken(finished);
            unlock([this, finished] {
                logDebug(platform::stringWithFormat(
                    "-[EditorViewController updateHTML] note %d is in the page and takes typing",
                    int(m_note->n_id())));
                finished();
            });
        });
    });
}

void NoteSaver::passInputOfChoiceTaken(Finished finished) {
    std::shared_ptr<ChoiceInput> input = std::exchange(m_inputOfChoiceTaken, nullptr);
    std::optional<uint64_t> mark = input ? input->to : std::nullopt;
    if (!mark || *mark <= input->from) return finished();
    // The note takes what was typed for it; the next switch waits for those keys to reach the
    // page and stores them into this note before it goes in. With no note the page refuses them.
    if (!m_note || m_editable) {
        m_page.passHeldInput(*mark);
        return finished();
    }
    m_page.setEditable(true, [this, mark, finished] {
        m_editable = true;
        m_typedInto = true;
        m_page.passHeldInput(*mark);
        finished();
    });
}

void NoteSaver::lock(NotePage::Done done) {
    m_page.holdInput();
    if (!m_editable) return done();
    m_editable = false;
    m_page.setEditable(false, std::move(done));
}

void NoteSaver::unlock(NotePage::Done done) {
    if (!m_note) return done();
    m_page.setEditable(true, [this, done] {
        m_editable = true;
        m_typedInto = true;
        // Another note was chosen while the page unlocked: what was typed from that choice on is
        // that note's, and waits for it. This one takes only its own.
        if (choiceWaits()) return passInputOfChoiceTaken(done);
        m_inputOfChoiceTaken.reset();  // gone to the page with the rest
        m_page.letInputGo();
        done();
    });
}

void NoteSaver::keepSelection() {
    NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_KEPT, m_note);
}

// ---- Saving -----------------------------------------------------------------------------------

void NoteSaver::save(std::function<void(bool)> done) {
    logDebug("-[EditorViewController saveNote]");
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive, done](Finished finished) {
        if (!alive.lock()) return finished();
        store(Asker::User, [done, finished](std::optional<std::string> failure) {
            finished();
            if (done) done(!failure);
        });
    });
}

void NoteSaver::shouldQuit(std::function<void(bool)> answer) {
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive, answer](Finished finished) {
        if (!alive.lock()) return finished();
        store(Asker::Nobody, [this, alive, answer, finished](std::optional<std::string> failure) {
            if (!failure) {
                finished();
                return answer(true);
            }
            platform::Alert question;
            question.setMessageText("The note could not be saved.");
            question.setInformativeText(*failure +
                                        "\n\nIf you quit now, your changes to this note are lost.");
            question.addButtonWithTitle("Don’t Quit");
            question.addButtonWithTitle("Quit Without Saving");
            // Nothing else reaches the page until the user has answered.
            question.beginSheetModal([this, alive, answer, finished](int response) {
                bool quit = response == platform::Alert::FirstButtonReturn + 1;
                if (quit && alive.lock()) m_discarding = true;
                finished();
                answer(quit);
            });
        });
    });
}

void NoteSaver::pageDidChange(std::optional<int32_t> noteId) {
    // Typed before the lock, the switch under way reads it; typed into another note (one left
    // already), it is that note's.
    if (!m_editable || !m_note || noteId != m_note->n_id()) return;
    m_changeReported = true;
    scheduleSave();
}

void NoteSaver::windowDidResignKey() {
    saveOnItsOwn();
}

void NoteSaver::saveOnItsOwn() {
    if (!m_changeReported) return;
    std::weak_ptr<int> alive = m_alive;
    m_page.perform([this, alive](Finished finished) {
        // Several occasions may fall due while another operation runs: the first stores.
        if (!alive.lock() || !m_changeReported) return finished();
        store(Asker::Itself, [finished](std::optional<std::string>) { finished(); });
    });
}

void NoteSaver::scheduleSave() {
    std::weak_ptr<int> alive = m_alive;
    auto fire = [this, alive](platform::Timer&) {
        if (alive.lock()) saveOnItsOwn();
    };
    if (auto pause = m_pauseTimer.lock()) pause->invalidate();
    m_pauseTimer = platform::Timer::scheduledTimerWithTimeInterval(pauseSeconds, fire);
    // Typing that never pauses is stored all the same.
    if (!m_longestWaitTimer.lock())
        m_longestWaitTimer =
            platform::Timer::scheduledTimerWithTimeInterval(longestWaitSeconds, fire);
}

void NoteSaver::cancelScheduledSave() {
    if (auto pause = m_pauseTimer.lock()) pause->invalidate();
    if (auto longest = m_longestWaitTimer.lock()) longest->invalidate();
    m_pauseTimer.reset();
    m_longestWaitTimer.reset();
}

void NoteSaver::store(Asker asker, Stored done) {
    if (!m_note || m_discarding || !m_page.isLoaded()) return done(std::nullopt);
    // A page that never took typing since the note went in holds nothing new.
    if (!m_typedInto) return done(std::nullopt);
    // An edit reported from now on is read by this save or scheduled for the next one.
    cancelScheduledSave();
    m_changeReported = false;
    std::shared_ptr<NoteObject> note = m_note;
    auto read = [this, note, asker, done] {
        m_page.editsSince(m_editsStored, [this, note, asker, done](PageEdits edits) {
            // Edited by the user, not merely put into the page's own form by showing it.
            if (edits.answered && !edits.html) return done(std::nullopt);
            if (edits.html && edits.noteId != note->n_id()) {
                logf(
                    "-[EditorViewController saveNote] the page holds note %d, not note %d: "
                    "nothing is stored",
                    edits.noteId ? int(*edits.noteId) : -1, int(note->n_id()));
                return done(std::nullopt);
            }
            storeRead(note, edits, asker, done);
        });
    };
    // A page that takes typing may have keys still on their way to it, typed just before Save or
    // Quit: they are part of what is stored. A locked page waited for them when it was locked.
    if (m_editable) return m_page.afterInputArrived(read);
    read();
}

void NoteSaver::storeRead(const std::shared_ptr<NoteObject>& note, const PageEdits& edits,
                          Asker asker, Stored done) {
    // Asked for again at the next save: nothing counts as stored.
    auto unanswered = [done] {
        log("-[EditorViewController saveNote] the page did not answer: the note is left as it was");
        done(std::nullopt);
    };
    if (!edits.html) return unanswered();
    uint64_t count = edits.count;
    m_page.tidyHTML(*edits.html, [this, note, count, asker, done,
                                  unanswered](std::optional<std::string> html) {
        if (!html) return unanswered();
        m_page.pageText([this, note, count, asker, done, unanswered,
                         html](std::optional<std::string> text) {
            if (!text) return unanswered();
            std::optional<std::string> failure = write(*note, *html, *text, count);
            if (!failure) {
                m_written[note->n_id()] = Written{++m_writes, note};
                m_failureTold = false;
                NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_UPDATED, note);
                return done(std::nullopt);
            }
            m_changeReported = true;  // still to be stored: the next occasion tries again
            std::weak_ptr<int> alive = m_alive;
            tell(*failure, asker, [this, alive, done, failure] {
                if (!alive.lock()) return;  // the editor went while the message was up
                // A choice made meanwhile would only fail again: the note stays.
                if (choiceWaits()) {
                    dropWaitingChoices();
                    keepSelection();
                }
                done(failure);
            });
        });
    });
}

void NoteSaver::tell(const std::string& failure, Asker asker, NotePage::Done done) {
    // Saves made by the saver itself tell of a failure once, not at every pause, and not at all
    // right after the user was told of it (the alert itself takes the focus from the window).
    bool told = asker == Asker::User || (asker == Asker::Itself && !m_failureTold);
    if (asker != Asker::Nobody) m_failureTold = true;
    if (!told) return done();
    platform::Alert message;
    message.setMessageText("The note could not be saved.");
    message.setInformativeText(failure +
                               "\n\nYour text is still in the editor. Save again, or "
                               "choose another note, once the problem is solved.");
    message.addButtonWithTitle("OK");
    // The operation goes on once the message is read: a save falling due meanwhile waits.
    message.beginSheetModal([done](int) { done(); });
}

std::optional<std::string> NoteSaver::write(NoteObject& note, const std::string& html,
                                            const std::string& text, uint64_t edits) {
    logDebug("saving... ...");
    if (note.n_isRecent() == 0) note.setN_isRecent(1);
    note.setN_date(m_store.now());
    std::string summary = summaryOf(text);
    if (!m_summary || *m_summary != summary) note.setN_summary(summary);
    note.setN_text(html);

    if (!m_store.update(note)) {
        // The edits still count as unstored, so the next save tries again rather than finding
        // nothing changed and losing them.
        std::string reason = m_store.failureReason();
        std::string failure =
            reason.empty() ? std::string("The notes database did not take the note.") : reason;
        logf("-[EditorViewController saveNote] the note could not be stored: %s", failure.c_str());
        return failure;
    }
    logDebug("... ... saved!");
    m_internalHTML = note.n_text();
    m_editsStored = edits;
    m_summary = note.n_summary();
    return std::nullopt;
}

}  // namespace zelvo
