#include "notes/store/zip/ZipHandle.h"

#include <vector>

namespace notes {

int ZipHandle::finishEncryptedEntry() {
    std::unique_ptr<ZipEncryptedWriter> finishing = std::move(encrypter);
    if (!finishing) return ZIP_OK;
    std::vector<uint8_t> tail = finishing->finish();
    int written = zipWriteInFileInZip(zip, tail.data(), static_cast<unsigned>(tail.size()));
    int closed = zipCloseFileInZipRaw64(zip, finishing->length(), finishing->crc32());
    return written < 0 ? written : closed;
}

}  // namespace notes
