#pragma once

#include <string>
#include <utility>

namespace platform {

// One column of a table: the identifier its cells are made with, and its width in points.
class TableColumn {
  public:
    explicit TableColumn(std::string identifier, double width = 0)
        : m_identifier(std::move(identifier)), m_width(width) {}

    const std::string& identifier() const { return m_identifier; }
    double width() const { return m_width; }
    void setWidth(double width) { m_width = width; }

  private:
    std::string m_identifier;
    double m_width;
};

}  // namespace platform
