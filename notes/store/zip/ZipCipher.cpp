#include "notes/store/zip/ZipCipher.h"

#include <zlib.h>

#include <random>

namespace notes {

namespace {

uint32_t crcStep(uint32_t crc, uint8_t byte) {
    static const z_crc_t* table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xff]) ^ (crc >> 8);
}

}  // namespace

ZipCipher::ZipCipher(const std::string& password) : m_keys{0x12345678, 0x23456789, 0x34567890} {
    for (unsigned char c : password) update(c);
}

uint8_t ZipCipher::keyByte() const {
    uint32_t temp = (m_keys[2] & 0xffff) | 2;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCipher::update(uint8_t plain) {
    m_keys[0] = crcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xff)) * 134775813u + 1;
    m_keys[2] = crcStep(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
}

void ZipCipher::encrypt(std::span<uint8_t> bytes) {
    for (uint8_t& byte : bytes) {
        uint8_t plain = byte;
        byte = plain ^ keyByte();
        update(plain);
    }
}

void ZipCipher::decrypt(std::span<uint8_t> bytes) {
    for (uint8_t& byte : bytes) {
        byte ^= keyByte();
        update(byte);
    }
}

std::array<uint8_t, ZipCipher::kHeaderLength> ZipCipher::encryptedHeader(uint32_t crc32) {
    static std::random_device device;
    std::array<uint8_t, kHeaderLength> header;
    for (size_t i = 0; i < kHeaderLength - 2; ++i) header[i] = static_cast<uint8_t>(device());
    header[kHeaderLength - 2] = static_cast<uint8_t>(crc32 >> 16);
    header[kHeaderLength - 1] = static_cast<uint8_t>(crc32 >> 24);
    encrypt(header);
    return header;
}

}  // namespace notes
