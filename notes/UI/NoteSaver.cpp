#include "notes/UI/NoteSaver.h"

#include "notes/UI/NoteNotifications.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
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
        "-[EditorViewController noteSelectionChanged] note %d, %zu bytes%s",
        note ? int(note->n_id()) : -1, note && note->n_text() ? note->n_text()->size() : 0,
        m_busy != Busy::No || m_alerting ? ", waits" : ""));
    if (m_busy != Busy::No || m_alerting) {
        // Arrived while the page was being read: the latest choice is shown once that is done,
        // and until then the list highlights the note the editor holds.
        m_pendingSelection = std::move(note);
        m_selectionPending = true;
        m_highlightMoved = true;
        keepSelection();
        return;
    }
    m_busy = Busy::Switching;
    // What was typed before this point is in the page and read back below; nothing typed from
    // now on can land in the note being left or in the one to come.
    lock();
    if (store(Asker::User)) {
        unlock();
        m_busy = Busy::No;
        keepSelection();
        return;
    }
    hold(std::move(note));
    m_busy = Busy::No;
    if (m_highlightMoved && !m_selectionPending) {
        m_highlightMoved = false;
        keepSelection();  // the choice made meanwhile is now the note in the editor
    }
    takePendingSelection();
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
    showHeld();
    m_page.didShowNote();
}

void NoteSaver::showHTML(const std::string& html) {
    m_internalHTML = html;
    showHeld();
}

void NoteSaver::pageDidLoad() {
    if (m_busy != Busy::No || m_alerting) {
        m_reloadPending = true;  // shown again once the switch under way is done
        return;
    }
    // Putting the note in turns the main loop: a choice made meanwhile waits for it, rather than
    // being shown and typed into before this showing replaces it.
    m_busy = Busy::Switching;
    showHeld();
    m_busy = Busy::No;
    takePendingSelection();
}

void NoteSaver::showHeld() {
    lock();
    m_typedInto = false;
    m_editsStored = 0;
    if (!m_page.isLoaded()) return;  // shown once the page has loaded
    bool taken = m_page.show(m_internalHTML.value_or(""));
    if (!m_note) {
        // Typing with no note to hold it would be thrown away at the next selection.
        m_page.setEditable(false);
        return;
    }
    if (!taken) {
        log("-[EditorViewController updateHTML] the page did not take the note: it takes no "
            "typing");
        return;
    }
    // A choice made meanwhile is shown next: typing now would go into a note the list no longer
    // highlights.
    if (m_selectionPending) return;
    unlock();
    logDebug(platform::stringWithFormat(
        "-[EditorViewController updateHTML] note %d is in the page and takes typing",
        int(m_note->n_id())));
}

void NoteSaver::lock() {
    if (!m_editable) return;
    m_page.setEditable(false);
    m_editable = false;
}

void NoteSaver::unlock() {
    if (!m_note) return;
    m_page.setEditable(true);
    m_editable = true;
    m_typedInto = true;
}

void NoteSaver::keepSelection() {
    NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_KEPT, m_note);
}

void NoteSaver::takePendingSelection() {
    if (m_busy != Busy::No || m_alerting) return;
    if (m_reloadPending && !m_selectionPending) {
        m_reloadPending = false;
        pageDidLoad();
        return;
    }
    m_reloadPending = false;  // the next note goes into the page loaded afresh
    if (!m_selectionPending) return;
    m_selectionPending = false;
    select(std::move(m_pendingSelection));
}

// ---- Saving -----------------------------------------------------------------------------------

bool NoteSaver::save() {
    logDebug("-[EditorViewController saveNote]");
    if (m_busy != Busy::No || m_alerting) return true;
    std::optional<std::string> failure = store(Asker::User);
    takePendingSelection();
    return !failure;
}

bool NoteSaver::shouldQuit() {
    // A save under way finishes before the loop can end.
    if (m_busy != Busy::No || m_alerting) return true;
    std::optional<std::string> failure = store(Asker::Nobody);
    if (!failure) return true;
    platform::Alert question;
    question.setMessageText("The note could not be saved.");
    question.setInformativeText(*failure +
                                "\n\nIf you quit now, your changes to this note are lost.");
    question.addButtonWithTitle("Don’t Quit");
    question.addButtonWithTitle("Quit Without Saving");
    m_alerting = true;
    bool quit = question.runModal() == platform::Alert::FirstButtonReturn + 1;
    m_alerting = false;
    if (!quit) return false;
    m_discarding = true;
    return true;
}

void NoteSaver::pageDidChange() {
    if (!m_editable) return;  // typed before the lock: the switch under way reads it
    m_changeReported = true;
    scheduleSave();
}

void NoteSaver::windowDidResignKey() {
    // Not inside the toolkit's focus signal: a save turns the main loop and may show an alert.
    std::weak_ptr<int> alive = m_alive;
    platform::RunLoop::mainRunLoop().performBlock([this, alive] {
        if (alive.lock()) saveOnItsOwn();
    });
}

void NoteSaver::saveOnItsOwn() {
    if (!m_changeReported) return;
    if (m_busy != Busy::No || m_alerting) {
        // Due while a save of a large note still reads the page (its time turns the loop): the
        // edit made meanwhile waits for the next pause.
        scheduleSave();
        return;
    }
    store(Asker::Itself);
    takePendingSelection();
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

std::optional<std::string> NoteSaver::store(Asker asker) {
    if (!m_note || m_discarding || !m_page.isLoaded()) return std::nullopt;
    // A page that never took typing since the note went in holds nothing new.
    if (!m_typedInto) return std::nullopt;
    // An edit reported from now on is read by this save or scheduled for the next one.
    cancelScheduledSave();
    m_changeReported = false;
    // Reading the page turns the main loop, where the user may pick another note: the save keeps
    // its note, and that choice waits until the save is done.
    Busy was = m_busy;
    if (m_busy == Busy::No) m_busy = Busy::Saving;
    std::shared_ptr<NoteObject> note = m_note;
    std::optional<std::string> failure;
    bool stored = storeIfChanged(*note, failure);
    m_busy = was;
    if (stored) {
        m_failureTold = false;
        NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_UPDATED, note);
    }
    if (!failure) return std::nullopt;
    m_changeReported = true;  // still to be stored: the next occasion tries again
    // Saves made by the saver itself tell of a failure once, not at every pause, and not at all
    // right after the user was told of it (the alert itself takes the focus from the window).
    bool tell = asker == Asker::User || (asker == Asker::Itself && !m_failureTold);
    if (asker != Asker::Nobody) m_failureTold = true;
    if (tell) {
        platform::Alert message;
        message.setMessageText("The note could not be saved.");
        message.setInformativeText(*failure +
                                   "\n\nYour text is still in the editor. Save again, or "
                                   "choose another note, once the problem is solved.");
        message.addButtonWithTitle("OK");
        m_alerting = true;
        message.runModal();
        m_alerting = false;
    }
    // A choice made meanwhile would only fail again: the note stays.
    if (m_selectionPending) {
        m_selectionPending = false;
        m_highlightMoved = false;
        m_pendingSelection.reset();
        keepSelection();
    }
    return failure;
}

bool NoteSaver::storeIfChanged(NoteObject& note, std::optional<std::string>& failure) {
    // Edited by the user, not merely put into the page's own form by showing it.
    NotePage::Edits edits = m_page.editsSince(m_editsStored);
    if (edits.answered && !edits.html) return false;
    std::optional<std::string> html = edits.html ? m_page.tidyHTML(*edits.html) : std::nullopt;
    std::optional<std::string> text = html ? m_page.pageText() : std::nullopt;
    if (!text) {
        // Asked for again at the next save: nothing counts as stored.
        log("-[EditorViewController saveNote] the page did not answer: the note is left as it was");
        return false;
    }

    logDebug("saving... ...");
    if (note.n_isRecent() == 0) note.setN_isRecent(1);
    note.setN_date(m_store.now());
    std::string summary = summaryOf(*text);
    if (!m_summary || *m_summary != summary) note.setN_summary(summary);
    note.setN_text(*html);

    if (!m_store.update(note)) {
        // The edits still count as unstored, so the next save tries again rather than finding
        // nothing changed and losing them.
        std::string reason = m_store.failureReason();
        failure =
            reason.empty() ? std::string("The notes database did not take the note.") : reason;
        logf("-[EditorViewController saveNote] the note could not be stored: %s", failure->c_str());
        return false;
    }
    logDebug("... ... saved!");
    m_internalHTML = note.n_text();
    m_editsStored = edits.count;
    m_summary = note.n_summary();
    return true;
}

}  // namespace zelvo
