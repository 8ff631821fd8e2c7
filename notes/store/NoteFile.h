#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "notes/store/NoteObject.h"
#include "platform/foundation/Date.h"

namespace platform {
class Image;  // a list image, loaded by name and shared by whoever shows it
}

// One note group. The f_ properties mirror the columns of the table `noteFile`; a note belongs to
// the group whose f_flag equals its n_group. The note and the two images are filled only by the
// title constructor and read by nobody.
class NoteFile {
  public:
    using ImagePtr = std::shared_ptr<platform::Image>;

    NoteFile() = default;
    // The rating is accepted and dropped; the title goes to the new note, not to f_title.
    NoteFile(std::optional<std::string> title, float rating, ImagePtr thumbImage,
             ImagePtr fullImage);

    const std::optional<NoteObject>& note() const { return m_note; }
    void setNote(std::optional<NoteObject> value) { m_note = std::move(value); }

    const std::optional<std::string>& f_imageName() const { return m_imageName; }
    void setF_imageName(std::optional<std::string> value) { m_imageName = std::move(value); }

    const ImagePtr& thumbImage() const { return m_thumbImage; }
    void setThumbImage(ImagePtr value) { m_thumbImage = std::move(value); }

    const ImagePtr& fullImage() const { return m_fullImage; }
    void setFullImage(ImagePtr value) { m_fullImage = std::move(value); }

    const std::optional<std::string>& f_title() const { return m_title; }
    void setF_title(std::optional<std::string> value) { m_title = std::move(value); }

    const std::optional<platform::Date>& f_date() const { return m_date; }
    void setF_date(std::optional<platform::Date> value) { m_date = value; }

    const std::optional<std::string>& f_summary() const { return m_summary; }
    void setF_summary(std::optional<std::string> value) { m_summary = std::move(value); }

    const std::optional<std::string>& f_author() const { return m_author; }
    void setF_author(std::optional<std::string> value) { m_author = std::move(value); }

    const std::optional<std::string>& f_flag() const { return m_flag; }
    void setF_flag(std::optional<std::string> value) { m_flag = std::move(value); }

    int32_t f_order() const { return m_order; }
    void setF_order(int32_t value) { m_order = value; }

    int32_t f_noteCount() const { return m_noteCount; }
    void setF_noteCount(int32_t value) { m_noteCount = value; }

  private:
    std::optional<NoteObject> m_note;
    std::optional<std::string> m_imageName;
    ImagePtr m_thumbImage;
    ImagePtr m_fullImage;
    std::optional<std::string> m_title;
    std::optional<platform::Date> m_date;
    std::optional<std::string> m_summary;
    std::optional<std::string> m_author;
    std::optional<std::string> m_flag;
    int32_t m_order = 0;
    int32_t m_noteCount = 0;
};
