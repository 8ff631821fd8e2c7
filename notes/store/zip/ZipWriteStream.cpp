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
// Entries carry no zip64 field, so both their sizes must stay below the headers' 32-bit limit.
// Deflate can grow data by about 0.03 % and encryption adds 12 bytes: 4 MiB less than 4 GiB
// keeps even the compressed size under it. minizip would only find out when the entry closes,
// with its data written and the archive spoilt.
constexpr uint64_t kLargestEntry = (uint64_t{1} << 32) - (uint64_t{4} << 20);
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
    // Refused whole, before any of it is written: the entry stays open and sound, holding what
    // came before.
    if (data.size() > kLargestEntry - m_length) failWriting(ZIP_PARAMERROR);
    // Without its entry the stream hands the bytes to a null handle, for minizip to refuse.
    if (m_encrypted && isCurrent() && m_zipFile->encrypter) {
        write(m_zipFile->encrypter->encode(data));
    } else {
        write(data);
    }
    m_length += data.size();
}

void ZipWriteStream::write(std::span<const uint8_t> data) {
    size_t offset = 0;
    do {
        size_t piece = std::min(data.size() - offset, kMaxPiece);
        int err = zipWriteInFileInZip(handle(), data.data() + offset, static_cast<unsigned>(piece));
        if (err < 0) failWriting(err);
        offset += piece;
    } while (offset < data.size());
}

void ZipWriteStream::failWriting(int error) const {
    throw ZipException(error, platform::stringWithFormat("Error in writing '%s' in the zipfile",
                                                         m_fileNameInZip.c_str()));
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
