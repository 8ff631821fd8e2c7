#pragma once

#include <memory>

#include "notes/store/NoteObject.h"

// The notices Zelvo's panels meet through, on the default notification centre, main thread only.
// The panels never hold each other; these names and the objects they carry are the whole contract.

// The group list chose another group. Object: the group's flag (std::string), or nothing when the
// selection yields no group.
inline constexpr char NOTI_NOTE_FLAG_CHANGED[] = "NOTI_NOTE_FLAG_CHANGED";

// The note list's selection changed. Object: a NoteObjectPtr built afresh from the selected row
// (never null), or nothing when no row is selected.
inline constexpr char NOTI_NOTE_SELECTION_CHANGED[] = "NOTI_NOTE_SELECTION_CHANGED";

// The editor saved the note it held. Object: that NoteObjectPtr, or nothing when it held none.
inline constexpr char NOTI_NOTE_UPDATED[] = "NOTI_NOTE_UPDATED";

// The note in the editor is not the one last selected: the editor could not store the note it
// held and keeps it (with its edit), or it is still busy with a note and shows the one selected
// meanwhile afterwards. The note list selects this note again, without announcing it. Object:
// the NoteObjectPtr in the editor.
inline constexpr char NOTI_NOTE_SELECTION_KEPT[] = "NOTI_NOTE_SELECTION_KEPT";

// The main window controller opened or closed its Unicode or info panel. Object: the main window
// controller.
inline constexpr char NOTI_NOTE_UNICODE_SWITCH_CHANGED[] = "NOTI_NOTE_UNICODE_SWITCH_CHANGED";
inline constexpr char NOTI_NOTE_INFOS_SWITCH_CHANGED[] = "NOTI_NOTE_INFOS_SWITCH_CHANGED";

using NoteObjectPtr = std::shared_ptr<NoteObject>;
