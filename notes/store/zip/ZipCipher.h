#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace notes {

// The traditional PKWARE stream cipher of zip entries. The system's minizip is built without it,
// so the archive classes encrypt and decrypt password entries themselves.
class ZipCipher {
  public:
    static constexpr size_t kHeaderLength = 12;

    explicit ZipCipher(const std::string& password);

    void encrypt(std::span<uint8_t> bytes);
    void decrypt(std::span<uint8_t> bytes);
    // The encrypted header that opens an entry: ten random bytes, then the top two bytes of the
    // entry's CRC-32, by which readers recognise a wrong password.
    std::array<uint8_t, kHeaderLength> encryptedHeader(uint32_t crc32);

  private:
    uint8_t keyByte() const;
    void update(uint8_t plain);

    uint32_t m_keys[3];
};

}  // namespace notes
