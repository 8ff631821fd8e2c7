#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The type of plain UTF-8 text on a pasteboard.
inline constexpr const char* PasteboardTypeString = "public.utf8-plain-text";

// NSPasteboard, in-process: a list of items, each holding data by type. Reads look at the first
// item, as AppKit's string reading does. Main thread only.
class Pasteboard {
  public:
    // The pasteboard that copy and paste use.
    static Pasteboard& generalPasteboard();

    // Empties the pasteboard; returns the new change count.
    long clearContents();
    // Sets the string for a type on the first item (made when there is none).
    bool setString(const std::string& string, const std::string& type);
    // Appends one item per string, each as plain text.
    bool writeObjects(const std::vector<std::string>& strings);
    std::optional<std::string> stringForType(const std::string& type) const;
    // Types of the first item, in the order they were set.
    std::vector<std::string> types() const;
    // Grows by one at each clearContents.
    long changeCount() const { return m_changeCount; }

  private:
    using Item = std::vector<std::pair<std::string, std::string>>;  // type, string

    std::vector<Item> m_items;
    long m_changeCount = 0;
};

}  // namespace platform
