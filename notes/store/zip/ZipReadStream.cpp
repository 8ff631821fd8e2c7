#include "notes/store/zip/ZipReadStream.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "notes/store/zip/ZipEncryptedReader.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipHandle.h"
#include "platform/foundation/Log.h"

namespace notes {

ZipReadStream::ZipReadStream(std::shared_ptr<ZipHandle> unzFileStruct, std::string fileNameInZip,
                             uint64_t length, uint32_t crc32,
                             std::unique_ptr<ZipEncryptedReader> decrypter)
    : m_unzFile(std::move(unzFileStruct)),
      m_entry(m_unzFile->entry),
      m_fileNameInZip(std::move(fileNameInZip)),
      m_decrypter(std::move(decrypter)),
      m_expectedLength(length),
      m_expectedCrc(crc32) {}

ZipReadStream::~ZipReadStream() = default;

void* ZipReadStream::handle() const {
    return m_unzFile->entry == m_entry ? m_unzFile->unz : nullptr;
}

uint64_t ZipReadStream::readDataWithBuffer(std::span<uint8_t> buffer) {
    // minizip counts in 32 bits; a larger buffer is simply filled less than full.
    auto readStored = [this](std::span<uint8_t> into) {
        size_t length = std::min<size_t>(into.size(), std::numeric_limits<int>::max());
        return unzReadCurrentFile(handle(), into.data(), static_cast<unsigned>(length));
    };
    int64_t bytes = m_decrypter ? m_decrypter->read(buffer, readStored) : readStored(buffer);
    if (bytes < 0) {
        throw ZipException(bytes, platform::stringWithFormat("Error in reading '%s' in the zipfile",
                                                             m_fileNameInZip.c_str()));
    }
    if (bytes > 0) {
        m_delivered += static_cast<uint64_t>(bytes);
        m_crc = static_cast<uint32_t>(crc32_z(m_crc, buffer.data(), static_cast<size_t>(bytes)));
    } else if (!buffer.empty()) {
        m_reachedEnd = true;
    }
    return static_cast<uint64_t>(bytes);
}

void ZipReadStream::finishedReading() {
    int err = unzCloseCurrentFile(handle());
    if (err == UNZ_OK && m_decrypter && m_decrypter->crcMismatch()) err = UNZ_CRCERROR;
    // minizip judges the CRC only when the recorded length came out in full, and ends a stored
    // entry that stops short as if it were complete; the stream checks both itself.
    if (err == UNZ_OK && m_reachedEnd &&
        (m_delivered != m_expectedLength || m_crc != m_expectedCrc)) {
        err = UNZ_CRCERROR;
    }
    if (err != UNZ_OK) {
        throw ZipException(err, platform::stringWithFormat("Error in closing '%s' in the zipfile",
                                                           m_fileNameInZip.c_str()));
    }
}

}  // namespace notes
