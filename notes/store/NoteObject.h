#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/foundation/Date.h"

// One note. The properties mirror the columns of the table `note`; n_id stays 0 until the note has
// a row. Title and author are kept for the columns but the application never fills them.
class NoteObject {
  public:
    NoteObject() = default;
    NoteObject(std::optional<std::string> title, std::optional<platform::Date> date);

    int32_t n_id() const { return m_id; }
    void setN_id(int32_t value) { m_id = value; }

    const std::optional<std::string>& n_title() const { return m_title; }
    void setN_title(std::optional<std::string> value) { m_title = std::move(value); }

    const std::optional<std::string>& n_text() const { return m_text; }
    void setN_text(std::optional<std::string> value) { m_text = std::move(value); }

    const std::optional<platform::Date>& n_date() const { return m_date; }
    void setN_date(std::optional<platform::Date> value) { m_date = value; }

    const std::optional<std::string>& n_summary() const { return m_summary; }
    void setN_summary(std::optional<std::string> value) { m_summary = std::move(value); }

    const std::optional<std::string>& n_author() const { return m_author; }
    void setN_author(std::optional<std::string> value) { m_author = std::move(value); }

    const std::optional<std::string>& n_group() const { return m_group; }
    void setN_group(std::optional<std::string> value) { m_group = std::move(value); }

    int32_t n_isRecent() const { return m_isRecent; }
    void setN_isRecent(int32_t value) { m_isRecent = value; }

  private:
    int32_t m_id = 0;
    std::optional<std::string> m_title;
    std::optional<std::string> m_text;
    std::optional<platform::Date> m_date;
    std::optional<std::string> m_summary;
    std::optional<std::string> m_author;
    std::optional<std::string> m_group;
    int32_t m_isRecent = 0;
};
