#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A programming error raised to the caller (NSException): a name to tell kinds apart and a
// reason for people; what() gives the reason.
class Exception : public std::runtime_error {
  public:
    Exception(std::string name, const std::string& reason)
        : std::runtime_error(reason), m_name(std::move(name)) {}
    const std::string& name() const { return m_name; }
    std::string reason() const { return what(); }

  private:
    std::string m_name;
};

}  // namespace platform
