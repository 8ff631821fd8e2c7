#pragma once

#include <unzip.h>
#include <zip.h>

#include <cstdint>
#include <memory>

#include "notes/store/zip/ZipEncryptedWriter.h"

namespace notes {

// The minizip handles of one archive, shared by the ZipFile and the streams it hands out. Closing
// the archive clears them, so a stream that outlives its archive meets a null handle, which
// minizip refuses with a parameter error, instead of freed memory. `entry` counts the entries
// opened so far: minizip silently closes an open entry when the next one is opened, and a stream
// left over from the earlier entry must not write into or read from the later one.
struct ZipHandle {
    zipFile zip = nullptr;
    unzFile unz = nullptr;
    uint64_t entry = 0;
    // Reading: the position of the current entry in the central directory. minizip cannot tell
    // the last entry of an archive of exactly 65,535 entries (the count that also means "see the
    // zip64 record") and runs past it, so the wrapper stops at the count itself.
    uint64_t index = 0;
    // Writing: entries the archive holds so far, to refuse the one the end record cannot count.
    uint64_t written = 0;
    // The open entry's encoder when it has a password. minizip receives such an entry ready-made
    // and would close it as a plain one (unfinished data, size and CRC 0) if the archive closed
    // or the next entry opened first, so those finish it through here.
    std::unique_ptr<ZipEncryptedWriter> encrypter;

    // Writes the rest of an open password entry and closes it; ZIP_OK when there is none.
    int finishEncryptedEntry();
};

}  // namespace notes
