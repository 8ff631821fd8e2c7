#include <gtest/gtest.h>

#include <algorithm>

#include "ZipTestSupport.h"

using notes::ZipFile;
using namespace ziptest;

namespace {

constexpr int64_t kBadZipFile = -103;
constexpr int64_t kCrcError = -105;

std::string oneEntryArchive(const TemporaryFolder& folder, const std::string& content = "hello") {
    std::string path = folder.file("one.zip");
    ZipFile zip(path, ZipFile::ModeCreate);
    writeEntry(zip, "a.txt", content);
    zip.close();
    return path;
}

// Replaces every occurrence of `from` in the file by `to`; answers how many there were.
int patchFile(const std::string& path, const std::vector<uint8_t>& from,
              const std::vector<uint8_t>& to) {
    std::vector<uint8_t> data = readFile(path);
    int count = 0;
    for (auto at = std::search(data.begin(), data.end(), from.begin(), from.end());
         at != data.end(); at = std::search(at + 1, data.end(), from.begin(), from.end())) {
        std::copy(to.begin(), to.end(), at);
        ++count;
    }
    writeFile(path, data);
    return count;
}

}  // namespace

TEST(ZipFailure, OpeningRefusesUnknownModesAndMissingFiles) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    expectZipFailure([&] { ZipFile(path, 3); }, "Unknown mode 3");
    expectZipFailure([&] { ZipFile(path, -1); }, "Unknown mode -1");
    EXPECT_FALSE(fs::exists(path));

    std::string nowhere = folder.file("no/such/folder/a.zip");
    expectZipFailure([&] { ZipFile(nowhere, ZipFile::ModeCreate); },
                     "Can't open '" + nowhere + "'");
    expectZipFailure([&] { ZipFile(path, ZipFile::ModeUnzip); }, "Can't open '" + path + "'");
    expectZipFailure([&] { ZipFile(path, ZipFile::ModeAppend); }, "Can't open '" + path + "'");
    writeFile(path, bytes("just some text, no archive"));
    expectZipFailure([&] { ZipFile(path, ZipFile::ModeUnzip); }, "Can't open '" + path + "'");
}

TEST(ZipFailure, EachSideRefusesTheOtherSidesOperations) {
    TemporaryFolder folder;
    std::string archive = oneEntryArchive(folder);
    {
        ZipFile zip(archive, ZipFile::ModeUnzip);
        const std::string reason = "Operation not permitted with Unzip mode";
        platform::Date date = platform::Date::now();
        expectZipFailure([&] { zip.writeFileInZipWithName("b", 1); }, reason);
        expectZipFailure([&] { zip.writeFileInZipWithName("b", date, 1); }, reason);
        expectZipFailure([&] { zip.writeFileInZipWithName("b", date, 1, "pw", 0); }, reason);
    }
    for (int32_t mode : {ZipFile::ModeCreate, ZipFile::ModeAppend}) {
        ZipFile zip(mode == ZipFile::ModeCreate ? folder.file("new.zip") : archive, mode);
        const std::string reason = "Operation not permitted without Unzip mode";
        expectZipFailure([&] { zip.numFilesInZip(); }, reason);
        expectZipFailure([&] { zip.listFileInZipInfos(); }, reason);
        expectZipFailure([&] { zip.goToFirstFileInZip(); }, reason);
        expectZipFailure([&] { zip.goToNextFileInZip(); }, reason);
        expectZipFailure([&] { zip.locateFileInZip("a.txt"); }, reason);
        expectZipFailure([&] { zip.getCurrentFileInZipInfo(); }, reason);
        expectZipFailure([&] { zip.readCurrentFileInZip(); }, reason);
        expectZipFailure([&] { zip.readCurrentFileInZipWithPassword("pw"); }, reason);
        zip.close();
    }
}

TEST(ZipFailure, WritingFailuresNameTheEntry) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    ZipFile zip(path, ZipFile::ModeCreate);
    // zlib knows no level 10.
    expectZipFailure([&] { zip.writeFileInZipWithName("ten", 10); },
                     "Error in opening 'ten' in zipfile", -2);
    expectZipFailure([&] { zip.writeFileInZipWithName("ten", platform::Date::now(), 10, "pw", 0); },
                     "Error in opening 'ten' in zipfile", -2);
    // A name minizip would cut at its first zero byte, and one too long for the headers.
    std::string cut("a\0b", 3);
    expectZipFailure([&] { zip.writeFileInZipWithName(cut, 1); }, "Error in opening 'a' in zipfile",
                     kParamError);
    std::string huge(0x10000, 'n');
    expectZipFailure([&] { zip.writeFileInZipWithName(huge, 1); },
                     "Error in opening '" + huge + "' in zipfile", kParamError);

    auto stream = zip.writeFileInZipWithName("a.txt", 1);
    stream->writeData(bytes("data"));
    stream->finishedWriting();
    expectZipFailure([&] { stream->writeData(bytes("late")); },
                     "Error in writing 'a.txt' in the zipfile", kParamError);
    expectZipFailure([&] { stream->finishedWriting(); }, "Error in closing 'a.txt' in the zipfile",
                     kParamError);
    zip.close();

    expectZipFailure([&] { zip.close(); }, "Error in closing '" + path + "'", kParamError);
    expectZipFailure([&] { zip.writeFileInZipWithName("after", 1); },
                     "Error in opening 'after' in zipfile", kParamError);
    EXPECT_EQ(run("unzip -t " + shellQuoted(path)).exitCode, 0);
}

TEST(ZipFailure, CloseReportsAnArchiveThatCouldNotBeWritten) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    {
        ZipFile zip("/dev/full", ZipFile::ModeCreate);
        expectZipFailure([&] { zip.close(); }, "Error in closing '/dev/full'", -1);
    }
    {
        ZipFile zip("/dev/full", ZipFile::ModeCreate);
        auto stream = zip.writeFileInZipWithName("a.txt", 1);
        stream->writeData(bytes("bytes that find no room"));
        expectZipFailure([&] { stream->finishedWriting(); },
                         "Error in closing 'a.txt' in the zipfile", -1);
    }
    // Dropped without close, the failure stays inside the destructor.
    EXPECT_NO_THROW({
        ZipFile zip("/dev/full", ZipFile::ModeCreate);
        zip.writeFileInZipWithName("a.txt", 1)->writeData(bytes("left open"));
    });
}

TEST(ZipFailure, ReadingAfterCloseFailsWithTheOperationsTexts) {
    TemporaryFolder folder;
    std::string path = oneEntryArchive(folder);
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto stream = zip.readCurrentFileInZip();
    zip.close();
    const std::string quotedPath = "'" + path + "'";
    expectZipFailure([&] { zip.numFilesInZip(); }, "Error in getting global info in " + quotedPath,
                     kParamError);
    expectZipFailure([&] { zip.listFileInZipInfos(); },
                     "Error in getting global info in " + quotedPath, kParamError);
    expectZipFailure([&] { zip.goToFirstFileInZip(); },
                     "Error in going to first file in zip in " + quotedPath, kParamError);
    expectZipFailure([&] { zip.goToNextFileInZip(); },
                     "Error in going to next file in zip in " + quotedPath, kParamError);
    expectZipFailure([&] { zip.locateFileInZip("a.txt"); },
                     "Error in going to next file in zip in " + quotedPath, kParamError);
    expectZipFailure([&] { zip.getCurrentFileInZipInfo(); },
                     "Error in getting current file info in " + quotedPath, kParamError);
    expectZipFailure([&] { zip.readCurrentFileInZip(); },
                     "Error in getting current file info in " + quotedPath, kParamError);
    std::vector<uint8_t> buffer(16);
    expectZipFailure([&] { stream->readDataWithBuffer(buffer); },
                     "Error in reading 'a.txt' in the zipfile", kParamError);
    expectZipFailure([&] { stream->finishedReading(); }, "Error in closing 'a.txt' in the zipfile",
                     kParamError);
    expectZipFailure([&] { zip.close(); }, "Error in closing " + quotedPath, kParamError);
}

TEST(ZipFailure, ReadStreamFailuresNameTheEntry) {
    TemporaryFolder folder;
    std::string path = oneEntryArchive(folder);
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto stream = zip.readCurrentFileInZip();
    EXPECT_EQ(readAll(std::move(stream)), "hello");
    auto again = zip.readCurrentFileInZip();
    again->finishedReading();
    std::vector<uint8_t> buffer(16);
    expectZipFailure([&] { again->readDataWithBuffer(buffer); },
                     "Error in reading 'a.txt' in the zipfile", kParamError);
    expectZipFailure([&] { again->finishedReading(); }, "Error in closing 'a.txt' in the zipfile",
                     kParamError);
}

// The CRC recorded in both headers no longer fits the data: the whole entry reads, and finishing
// it tells.
TEST(ZipFailure, CrcMismatchSurfacesWhenReadingFinishes) {
    TemporaryFolder folder;
    std::string path = oneEntryArchive(folder);
    ASSERT_EQ(patchFile(path, {0x86, 0xa6, 0x10, 0x36}, {0x00, 0xa6, 0x10, 0x36}), 2);
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto stream = zip.readCurrentFileInZip();
    std::vector<uint8_t> buffer(64);
    EXPECT_EQ(stream->readDataWithBuffer(buffer), 5u);
    EXPECT_EQ(stream->readDataWithBuffer(buffer), 0u);
    expectZipFailure([&] { stream->finishedReading(); }, "Error in closing 'a.txt' in the zipfile",
                     kCrcError);
}

TEST(ZipFailure, DamagedEntriesFailToOpenOrRead) {
    TemporaryFolder folder;
    std::string path = oneEntryArchive(folder, std::string(2000, 'z'));
    {
        // The local header's signature is gone; the central directory still lists the entry.
        std::vector<uint8_t> data = readFile(path);
        data[0] = 'X';
        writeFile(folder.file("header.zip"), data);
        ZipFile zip(folder.file("header.zip"), ZipFile::ModeUnzip);
        EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "a.txt");
        expectZipFailure([&] { zip.readCurrentFileInZip(); },
                         "Error in opening current file in '" + folder.file("header.zip") + "'",
                         kBadZipFile);
    }
    {
        // The deflated data is overwritten with bytes no inflater accepts.
        std::vector<uint8_t> data = readFile(path);
        // Past the local header, its name and its extra field.
        size_t start = 30 + (data[26] | data[27] << 8) + (data[28] | data[29] << 8);
        std::fill(data.begin() + start, data.begin() + start + 4, 0xff);
        writeFile(folder.file("data.zip"), data);
        ZipFile zip(folder.file("data.zip"), ZipFile::ModeUnzip);
        auto stream = zip.readCurrentFileInZip();
        std::vector<uint8_t> buffer(4096);
        expectZipFailure([&] { stream->readDataWithBuffer(buffer); },
                         "Error in reading 'a.txt' in the zipfile", -3);
    }
}
