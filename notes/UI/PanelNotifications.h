#pragma once

// The notices Zelvo's panels exchange on the default notification centre; each name is the
// string of its identifier. The panels never hold each other, only these names.
namespace zelvo {

// Object: the selected group's flag string (std::string).
inline constexpr const char* NOTI_NOTE_FLAG_CHANGED = "NOTI_NOTE_FLAG_CHANGED";
// Object: a std::shared_ptr<NoteObject>, or none when no note is selected.
inline constexpr const char* NOTI_NOTE_SELECTION_CHANGED = "NOTI_NOTE_SELECTION_CHANGED";
// Object: the saved std::shared_ptr<NoteObject>, or none.
inline constexpr const char* NOTI_NOTE_UPDATED = "NOTI_NOTE_UPDATED";
// Object: the MainWindowController* that opened or closed the panel.
inline constexpr const char* NOTI_NOTE_UNICODE_SWITCH_CHANGED = "NOTI_NOTE_UNICODE_SWITCH_CHANGED";
inline constexpr const char* NOTI_NOTE_INFOS_SWITCH_CHANGED = "NOTI_NOTE_INFOS_SWITCH_CHANGED";

}  // namespace zelvo
