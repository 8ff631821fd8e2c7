#include "notes/store/zip/ZipEncryptedReader.h"

#include <unzip.h>

#include <algorithm>
#include <limits>

namespace notes {

namespace {
constexpr size_t kInputChunk = 64 * 1024;
}  // namespace

ZipEncryptedReader::ZipEncryptedReader(const std::string& password, int method, uint32_t crc32)
    : m_cipher(password), m_deflated(method == Z_DEFLATED), m_expectedCrc(crc32) {
    if (m_deflated) m_inflating = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
}

ZipEncryptedReader::~ZipEncryptedReader() {
    if (m_inflating) inflateEnd(&m_stream);
}

int ZipEncryptedReader::readHeader(const Source& source) {
    uint8_t header[ZipCipher::kHeaderLength];
    size_t have = 0;
    while (have < sizeof header) {
        int n = source(std::span<uint8_t>(header + have, sizeof header - have));
        if (n < 0) return n;
        if (n == 0) return UNZ_BADZIPFILE;  // shorter than its own header
        have += static_cast<size_t>(n);
    }
    m_cipher.decrypt(header);
    m_headerRead = true;
    return UNZ_OK;
}

int64_t ZipEncryptedReader::read(std::span<uint8_t> out, const Source& source) {
    if (!m_headerRead) {
        if (int err = readHeader(source); err != UNZ_OK) return err;
    }
    if (m_ended || out.empty()) return 0;
    out = out.first(std::min<size_t>(out.size(), std::numeric_limits<int>::max()));
    int64_t produced;
    if (m_deflated) {
        produced = inflateInto(out, source);
    } else {
        int n = source(out);
        if (n < 0) return n;
        m_cipher.decrypt(out.first(static_cast<size_t>(n)));
        if (n == 0) m_ended = true;
        produced = n;
    }
    if (produced > 0) m_crc = static_cast<uint32_t>(crc32_z(m_crc, out.data(), produced));
    return produced;
}

int64_t ZipEncryptedReader::inflateInto(std::span<uint8_t> out, const Source& source) {
    if (!m_inflating) return Z_MEM_ERROR;
    m_stream.next_out = out.data();
    m_stream.avail_out = static_cast<uInt>(out.size());
    while (m_stream.avail_out > 0 && !m_ended) {
        if (m_stream.avail_in == 0) {
            m_input.resize(kInputChunk);
            int n = source(m_input);
            if (n < 0) return n;
            if (n == 0) return Z_DATA_ERROR;  // the stored stream stops before its end
            m_input.resize(static_cast<size_t>(n));
            m_cipher.decrypt(m_input);
            m_stream.next_in = m_input.data();
            m_stream.avail_in = static_cast<uInt>(n);
        }
        int result = inflate(&m_stream, Z_SYNC_FLUSH);
        if (result == Z_STREAM_END) {
            m_ended = true;
        } else if (result != Z_OK) {
            return result == Z_NEED_DICT ? Z_DATA_ERROR : result;
        }
    }
    return static_cast<int64_t>(out.size() - m_stream.avail_out);
}

}  // namespace notes
