#pragma once

#include <zlib.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "notes/store/zip/ZipCipher.h"

namespace notes {

// Turns the bytes of a password entry into what the archive stores: compressed as the level
// says (0 stores them), then encrypted behind the cipher header.
class ZipEncryptedWriter {
  public:
    ZipEncryptedWriter(const std::string& password, int level, uint32_t crcForHeader);
    ~ZipEncryptedWriter();
    ZipEncryptedWriter(const ZipEncryptedWriter&) = delete;
    ZipEncryptedWriter& operator=(const ZipEncryptedWriter&) = delete;

    // Z_OK, or zlib's refusal of the level.
    int status() const { return m_status; }
    std::vector<uint8_t> encode(std::span<const uint8_t> data);
    std::vector<uint8_t> finish();
    uint32_t crc32() const { return m_crc; }
    uint64_t length() const { return m_length; }

  private:
    void deflateInto(std::vector<uint8_t>& out, int flush);
    std::vector<uint8_t> seal(std::vector<uint8_t> stored);

    ZipCipher m_cipher;
    uint32_t m_crcForHeader;
    bool m_headerWritten = false;
    bool m_deflating;
    z_stream m_stream{};
    int m_status = Z_OK;
    uint32_t m_crc = 0;
    uint64_t m_length = 0;
};

}  // namespace notes
