#include "notes/store/zip/ZipEncryptedWriter.h"

#include <algorithm>
#include <utility>

namespace notes {

namespace {
constexpr size_t kOutputChunk = 64 * 1024;
constexpr size_t kMaxPiece = size_t{1} << 30;  // zlib counts in 32 bits
}  // namespace

ZipEncryptedWriter::ZipEncryptedWriter(const std::string& password, int level,
                                       uint32_t crcForHeader)
    : m_cipher(password), m_crcForHeader(crcForHeader), m_deflating(level != 0) {
    if (m_deflating) {
        m_status = deflateInit2(&m_stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        if (m_status != Z_OK) m_deflating = false;
    }
}

ZipEncryptedWriter::~ZipEncryptedWriter() {
    if (m_deflating) deflateEnd(&m_stream);
}

void ZipEncryptedWriter::deflateInto(std::vector<uint8_t>& out, int flush) {
    int result;
    do {
        size_t used = out.size();
        out.resize(used + kOutputChunk);
        m_stream.next_out = out.data() + used;
        m_stream.avail_out = kOutputChunk;
        result = deflate(&m_stream, flush);
        out.resize(out.size() - m_stream.avail_out);
    } while (m_stream.avail_out == 0 || (flush == Z_FINISH && result == Z_OK));
}

std::vector<uint8_t> ZipEncryptedWriter::seal(std::vector<uint8_t> stored) {
    std::vector<uint8_t> out;
    if (!m_headerWritten) {
        m_headerWritten = true;
        auto header = m_cipher.encryptedHeader(m_crcForHeader);
        out.assign(header.begin(), header.end());
    }
    m_cipher.encrypt(stored);
    out.insert(out.end(), stored.begin(), stored.end());
    return out;
}

std::vector<uint8_t> ZipEncryptedWriter::encode(std::span<const uint8_t> data) {
    m_crc = static_cast<uint32_t>(::crc32_z(m_crc, data.data(), data.size()));
    m_length += data.size();
    std::vector<uint8_t> stored;
    if (!m_deflating) {
        stored.assign(data.begin(), data.end());
    } else {
        for (size_t offset = 0; offset < data.size();) {
            size_t piece = std::min(data.size() - offset, kMaxPiece);
            m_stream.next_in = const_cast<Bytef*>(data.data() + offset);
            m_stream.avail_in = static_cast<uInt>(piece);
            deflateInto(stored, Z_NO_FLUSH);
            offset += piece;
        }
    }
    return seal(std::move(stored));
}

std::vector<uint8_t> ZipEncryptedWriter::finish() {
    std::vector<uint8_t> stored;
    if (m_deflating) {
        m_stream.next_in = nullptr;
        m_stream.avail_in = 0;
        deflateInto(stored, Z_FINISH);
        deflateEnd(&m_stream);
        m_deflating = false;
    }
    return seal(std::move(stored));
}

}  // namespace notes
