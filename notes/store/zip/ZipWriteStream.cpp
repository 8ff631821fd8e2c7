#include "notes/store/zip/ZipWriteStream.h"

#include <algorithm>
#include <utility>

#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipHandle.h"
#include "platform/foundation/Log.h"

namespace notes {

namespace {
// minizip takes a 32-bit count; larger data goes in pieces rather than being cut short.
constexpr size_t kMaxPiece = size_t{1} << 30;
}  // namespace

ZipWriteStream::ZipWriteStream(std::shared_ptr<ZipHandle> zipFileStruct, std::string fileNameInZip,
                               bool encrypted)
    : m_zipFile(std::move(zipFileStruct)),
      m_entry(m_zipFile->entry),
      m_fileNameInZip(std::move(fileNameInZip)),
      m_encrypted(encrypted) {}

bool ZipWriteStream::isCurrent() const {
    return m_zipFile->entry == m_entry && m_zipFile->zip != nullptr;
}

void* ZipWriteStream::handle() const {
    return isCurrent() ? m_zipFile->zip : nullptr;
}

void ZipWriteStream::writeData(std::span<const uint8_t> data) {
    // Without its entry the stream hands the bytes to a null handle, for minizip to refuse.
    if (m_encrypted && isCurrent() && m_zipFile->encrypter) {
        write(m_zipFile->encrypter->encode(data));
    } else {
        write(data);
    }
}

void ZipWriteStream::write(std::span<const uint8_t> data) {
    size_t offset = 0;
    do {
        size_t piece = std::min(data.size() - offset, kMaxPiece);
        int err = zipWriteInFileInZip(handle(), data.data() + offset, static_cast<unsigned>(piece));
        if (err < 0) {
            throw ZipException(err,
                               platform::stringWithFormat("Error in writing '%s' in the zipfile",
                                                          m_fileNameInZip.c_str()));
        }
        offset += piece;
    } while (offset < data.size());
}

void ZipWriteStream::finishedWriting() {
    int err;
    if (m_encrypted && isCurrent() && m_zipFile->encrypter) {
        err = m_zipFile->finishEncryptedEntry();
    } else {
        err = zipCloseFileInZip(handle());
    }
    if (err != ZIP_OK) {
        throw ZipException(err, platform::stringWithFormat("Error in closing '%s' in the zipfile",
                                                           m_fileNameInZip.c_str()));
    }
}

}  // namespace notes
