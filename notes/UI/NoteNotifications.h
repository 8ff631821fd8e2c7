#pragma once

// The panel notifications of Zelvo's window: the panels never hold each other and meet only
// through these names on the default notification centre. Each name is its own identifier.
inline constexpr char NOTI_NOTE_FLAG_CHANGED[] = "NOTI_NOTE_FLAG_CHANGED";
inline constexpr char NOTI_NOTE_SELECTION_CHANGED[] = "NOTI_NOTE_SELECTION_CHANGED";
inline constexpr char NOTI_NOTE_UPDATED[] = "NOTI_NOTE_UPDATED";
inline constexpr char NOTI_NOTE_UNICODE_SWITCH_CHANGED[] = "NOTI_NOTE_UNICODE_SWITCH_CHANGED";
inline constexpr char NOTI_NOTE_INFOS_SWITCH_CHANGED[] = "NOTI_NOTE_INFOS_SWITCH_CHANGED";
