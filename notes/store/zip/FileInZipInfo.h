#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/Date.h"

namespace notes {

// What the archive's central directory says about one entry.
class FileInZipInfo {
  public:
    // `level`: 0 stored, -1 normal, 9 maximum, 1 fast or super fast.
    FileInZipInfo(std::string name, uint64_t length, int32_t level, bool crypted, uint64_t size,
                  platform::Date date, uint64_t crc32);

    const std::string& name() const { return m_name; }
    uint64_t length() const { return m_length; }
    int32_t level() const { return m_level; }
    bool crypted() const { return m_crypted; }
    uint64_t size() const { return m_size; }
    platform::Date date() const { return m_date; }
    uint64_t crc32() const { return m_crc32; }

  private:
    std::string m_name;
    uint64_t m_length;
    int32_t m_level;
    bool m_crypted;
    uint64_t m_size;
    platform::Date m_date;
    uint64_t m_crc32;
};

}  // namespace notes
