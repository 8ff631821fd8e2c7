#include "notes/store/zip/FileInZipInfo.h"

#include <utility>

namespace notes {

FileInZipInfo::FileInZipInfo(std::string name, uint64_t length, int32_t level, bool crypted,
                             uint64_t size, platform::Date date, uint64_t crc32)
    : m_name(std::move(name)),
      m_length(length),
      m_level(level),
      m_crypted(crypted),
      m_size(size),
      m_date(date),
      m_crc32(crc32) {}

}  // namespace notes
