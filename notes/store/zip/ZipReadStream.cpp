#include "notes/store/zip/ZipReadStream.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "notes/store/zip/ZipEncryptedReader.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipHandle.h"
#include "platform/foundation/Log.h"

namespace notes {

ZipReadStream::ZipReadStream(std::shared_ptr<ZipHandle> unzFileStruct, std::string fileNameInZip,
                             std::unique_ptr<ZipEncryptedReader> decrypter)
    : m_unzFile(std::move(unzFileStruct)),
      m_entry(m_unzFile->entry),
      m_fileNameInZip(std::move(fileNameInZip)),
      m_decrypter(std::move(decrypter)) {}

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
    return static_cast<uint64_t>(bytes);
}

void ZipReadStream::finishedReading() {
    int err = unzCloseCurrentFile(handle());
    if (err == UNZ_OK && m_decrypter && m_decrypter->crcMismatch()) err = UNZ_CRCERROR;
    if (err != UNZ_OK) {
        throw ZipException(err, platform::stringWithFormat("Error in closing '%s' in the zipfile",
                                                           m_fileNameInZip.c_str()));
    }
}

}  // namespace notes
