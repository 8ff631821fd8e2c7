#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Range.h"
#include "textview/TXTextGeometry.h"

// A run of the text that carries a link, and where it lies on each line.
class TXLinkText {
  public:
    TXLinkText();  // no text, no object, range (0, 0)
    TXLinkText(std::u16string text, std::optional<std::string> object, platform::Range range);

    const std::u16string& text() const { return m_text; }
    // The run's link value: a URL or a string, as the text's author set it.
    const std::optional<std::string>& object() const { return m_object; }
    const std::vector<TXTextGeometry>& geometries() const { return m_geometries; }
    platform::Range range() const { return m_range; }

    void addLinkGeometry(const TXTextGeometry& geometry);

    std::string description() const;

  private:
    std::u16string m_text;
    std::optional<std::string> m_object;
    std::vector<TXTextGeometry> m_geometries;
    platform::Range m_range;
};
