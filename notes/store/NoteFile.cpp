#include "notes/store/NoteFile.h"

NoteFile::NoteFile(std::optional<std::string> title, float /*rating*/, ImagePtr thumbImage,
                   ImagePtr fullImage)
    : m_note(NoteObject(std::move(title), std::nullopt)),
      m_thumbImage(std::move(thumbImage)),
      m_fullImage(std::move(fullImage)) {}
