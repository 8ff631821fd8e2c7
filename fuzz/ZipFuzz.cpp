// The zip reader on archive bytes in a temporary file: every damage is a ZipException, never a
// crash, and no entry reads longer than it says.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzScratch.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipFile.h"
#include "platform/foundation/Log.h"

namespace {

// A file is written for every input.
const std::string& archivePath() {
    static const std::string path = fuzzScratchPath("zip").string() + ".zip";
    return path;
}

// Removes the archive file when the program ends; the path is made first, so it outlives this.
struct ArchiveCleanup {
    ArchiveCleanup() { archivePath(); }
    ~ArchiveCleanup() {
        std::error_code error;
        std::filesystem::remove(archivePath(), error);
    }
} cleanup;

void readEntry(notes::ZipFile& zip, const notes::FileInZipInfo& info) {
    try {
        auto stream = info.crypted() ? zip.readCurrentFileInZipWithPassword("password")
                                     : zip.readCurrentFileInZip();
        std::vector<uint8_t> buffer(4096);
        uint64_t total = 0;
        while (uint64_t n = stream->readDataWithBuffer(buffer)) {
            FUZZ_CHECK(n <= buffer.size());
            total += n;
            // Stored data cannot hold more than the archive's own bytes; deflate can, so stop a
            // bomb early rather than inflate it.
            if (total > (64u << 20)) return;
        }
        stream->finishedReading();
        FUZZ_CHECK(total == info.length());
    } catch (const notes::ZipException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;
    quiet.clear();
    {
        std::ofstream out(archivePath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        notes::ZipFile zip(archivePath(), notes::ZipFile::ModeUnzip);
        std::vector<notes::FileInZipInfo> infos = zip.listFileInZipInfos();
        FUZZ_CHECK(infos.size() == zip.numFilesInZip());
        if (infos.empty()) return 0;
        zip.goToFirstFileInZip();
        size_t index = 0;
        do {
            FUZZ_CHECK(index < infos.size());
            notes::FileInZipInfo info = zip.getCurrentFileInZipInfo();
            FUZZ_CHECK(info.name() == infos[index].name());
            readEntry(zip, info);
            ++index;
        } while (index < 64 && zip.goToNextFileInZip());
        zip.locateFileInZip(infos.front().name());
        zip.close();
    } catch (const notes::ZipException&) {
    }
    return 0;
}
