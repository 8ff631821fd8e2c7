#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace notes {

// The one way the archive classes report a failure. `error` is the minizip result code behind it,
// or 0 when minizip was not involved (wrong mode, unknown mode, archive not opened).
class ZipException : public std::exception {
  public:
    explicit ZipException(std::string reason);
    ZipException(int64_t error, std::string reason);

    static const char* name() { return "ZipException"; }
    const std::string& reason() const { return m_reason; }
    int64_t error() const { return m_error; }
    const char* what() const noexcept override { return m_reason.c_str(); }

  private:
    int64_t m_error = 0;
    std::string m_reason;
};

}  // namespace notes
