#include "notes/store/NoteObject.h"

NoteObject::NoteObject(std::optional<std::string> title, std::optional<platform::Date> date)
    : m_title(std::move(title)), m_date(date) {}
