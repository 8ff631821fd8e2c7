#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "notes/store/zip/ZipCipher.h"

namespace notes {

// Recovers the bytes of a password entry from what the archive stores: the cipher header, then
// the encrypted, stored or deflated data.
class ZipEncryptedReader {
  public:
    // Fills the span with stored bytes: the count, 0 at the end, or a negative failure code.
    using Source = std::function<int(std::span<uint8_t>)>;

    // `method` 0 stored or 8 deflated; `crc32` is the one the archive records for the entry.
    ZipEncryptedReader(const std::string& password, int method, uint32_t crc32);
    ~ZipEncryptedReader();
    ZipEncryptedReader(const ZipEncryptedReader&) = delete;
    ZipEncryptedReader& operator=(const ZipEncryptedReader&) = delete;

    // Bytes placed into `out`, 0 at the end of the entry, or a negative minizip or zlib code.
    int64_t read(std::span<uint8_t> out, const Source& source);
    // Only once the whole entry has been read can its CRC be judged.
    bool crcMismatch() const { return m_ended && m_crc != m_expectedCrc; }

  private:
    int readHeader(const Source& source);
    int64_t inflateInto(std::span<uint8_t> out, const Source& source);

    ZipCipher m_cipher;
    bool m_deflated;
    uint32_t m_expectedCrc;
    bool m_headerRead = false;
    bool m_ended = false;
    bool m_inflating = false;
    z_stream m_stream{};
    std::vector<uint8_t> m_input;
    uint32_t m_crc = 0;
};

}  // namespace notes
