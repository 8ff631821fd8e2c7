#include <gtest/gtest.h>

#include <new>

#include "ZipReproducers.h"
#include "ZipTestSupport.h"

using notes::ZipFile;
using namespace ziptest;

namespace {

constexpr int64_t kBadZipFile = -103;
constexpr int64_t kCrcError = -105;

std::string saved(const TemporaryFolder& folder, const std::string& name,
                  const std::vector<uint8_t>& data) {
    std::string path = folder.file(name);
    writeFile(path, data);
    return path;
}

}  // namespace

TEST(ZipDamage, EntryShorterThanRecordedFailsWhenReadingFinishes) {
    TemporaryFolder folder;
    ASSERT_EQ(kShortEntry.size(), 110u);
    ZipFile zip(saved(folder, "short.zip", kShortEntry), ZipFile::ModeUnzip);
    EXPECT_EQ(zip.getCurrentFileInZipInfo().length(), 11u);
    auto stream = zip.readCurrentFileInZip();
    std::vector<uint8_t> buffer(64);
    EXPECT_EQ(stream->readDataWithBuffer(buffer), 10u);
    EXPECT_EQ(stream->readDataWithBuffer(buffer), 0u);
    expectZipFailure([&] { stream->finishedReading(); }, "Error in closing 'a' in the zipfile",
                     kCrcError);
}

TEST(ZipDamage, OnlyStoredAndDeflatedEntriesAreRead) {
    TemporaryFolder folder;
    std::string path = saved(folder, "bzip2.zip", kBzip2Entry);
    ZipFile zip(path, ZipFile::ModeUnzip);
    // Listing still works: only the undecodable bytes are refused.
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "a");
    expectZipFailure([&] { zip.readCurrentFileInZip(); },
                     "Error in opening current file in '" + path + "'", kBadZipFile);
    expectZipFailure([&] { zip.readCurrentFileInZipWithPassword("secret"); },
                     "Error in opening current file in '" + path + "'", kBadZipFile);
}

TEST(ZipDamage, ArchiveCutAnywhereCannotOpen) {
    TemporaryFolder folder;
    {
        std::string path = saved(folder, "five.zip", {0x78, 0x50, 0x4b, 0x05, 0x06});
        expectZipFailure([&] { ZipFile zip(path, ZipFile::ModeUnzip); },
                         "Can't open '" + path + "'");
    }
    std::string whole = folder.file("whole.zip");
    {
        ZipFile zip(whole, ZipFile::ModeCreate);
        writeEntry(zip, "a.txt", "hello", 0);
        writeEntry(zip, "b.txt", std::string(300, 'b'), 9);
    }
    std::vector<uint8_t> data = readFile(whole);
    std::string path = folder.file("cut.zip");
    for (size_t length = 0; length < data.size(); ++length) {
        writeFile(path, {data.begin(), data.begin() + static_cast<long>(length)});
        SCOPED_TRACE(length);
        expectZipFailure([&] { ZipFile zip(path, ZipFile::ModeUnzip); },
                         "Can't open '" + path + "'");
    }
}

TEST(ZipDamage, ClaimedEntryCountAllocatesNothing) {
    TemporaryFolder folder;
    std::string path = saved(folder, "huge.zip", kClaimsHugeCount);
    try {
        ZipFile zip(path, ZipFile::ModeUnzip);
        zip.listFileInZipInfos();
        ADD_FAILURE() << "an archive without a directory listed entries";
    } catch (const notes::ZipException&) {
        // the one failure that may leave the wrapper
    } catch (const std::bad_alloc&) {
        ADD_FAILURE() << "room reserved for the claimed count";
    }
}

// minizip keeps the placeholders: the listing answers the real sizes, and the data is refused
// rather than read at the placeholder's length.
TEST(ZipDamage, Zip64SizesOfTheCentralDirectoryAreListed) {
    TemporaryFolder folder;
    std::string path = saved(folder, "zip64.zip", kZip64Sizes);
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto info = zip.getCurrentFileInZipInfo();
    EXPECT_EQ(info.length(), 11u);
    EXPECT_EQ(info.size(), 11u);
    expectZipFailure([&] { readCurrent(zip); }, "Error in opening current file in '" + path + "'",
                     kBadZipFile);

    // minizip would stop reading such an entry after 4 GiB - 1 bytes: it is refused at once.
    std::string big = saved(folder, "big.zip", kClaimsFourGiB);
    ZipFile bigZip(big, ZipFile::ModeUnzip);
    EXPECT_EQ(bigZip.getCurrentFileInZipInfo().length(), (uint64_t{1} << 32) + 5);
    expectZipFailure([&] { bigZip.readCurrentFileInZip(); },
                     "Error in opening current file in '" + big + "'", kBadZipFile);
}

// The end record counts entries in 16 bits, and 65,535 is also the value meaning "see the zip64
// record": the last entry of such an archive must end the walk, and one more is refused.
TEST(ZipDamage, EntryCountAtTheLimitOfTheEndRecord) {
    TemporaryFolder folder;
    std::string path = folder.file("many.zip");
    constexpr int kLimit = 65535;
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        for (int i = 0; i < kLimit - 1; ++i) writeEntry(zip, std::to_string(i), "", 0);
    }
    {
        ZipFile zip(path, ZipFile::ModeAppend);
        writeEntry(zip, "last", "the end", 0);
        expectZipFailure([&] { zip.writeFileInZipWithName("one more", 0); },
                         "Error in opening 'one more' in zipfile", -102);
    }
    EXPECT_EQ(run("unzip -tqq " + shellQuoted(path)).exitCode, 0);
    ZipFile zip(path, ZipFile::ModeUnzip);
    EXPECT_EQ(zip.numFilesInZip(), static_cast<uint64_t>(kLimit));
    uint64_t walked = 1;
    zip.goToFirstFileInZip();
    while (zip.goToNextFileInZip()) ++walked;
    EXPECT_EQ(walked, static_cast<uint64_t>(kLimit));
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "last");
    EXPECT_FALSE(zip.goToNextFileInZip());
    EXPECT_EQ(readCurrent(zip), "the end");
    EXPECT_FALSE(zip.locateFileInZip("absent"));
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "last");
    ASSERT_TRUE(zip.locateFileInZip("7"));
    ASSERT_TRUE(zip.goToNextFileInZip());
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "8");
    EXPECT_EQ(zip.listFileInZipInfos().size(), static_cast<size_t>(kLimit));
}

// A zip64 field left with zero sizes in the local header is what 7-Zip reports as a damaged
// header, and what made Info-ZIP in the C locale reject UTF-8 names: entries carry none, while
// archives written with one still read back.
TEST(ZipDamage, LocalHeadersCarryNoZip64Field) {
    TemporaryFolder folder;
    std::string path = folder.file("z.zip");
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, "a.txt", "hello", 0, localDate(2020, 5, 6, 7, 8, 10));
    }
    std::vector<uint8_t> data = readFile(path);
    ASSERT_GT(data.size(), 30u);
    EXPECT_EQ(data[28] | data[29] << 8, 0);  // the local header's extra field length
    expectToolsAccept(path);

    std::string earlier = saved(folder, "earlier.zip", kEarlierZip64Field);
    ZipFile zip(earlier, ZipFile::ModeUnzip);
    auto info = zip.getCurrentFileInZipInfo();
    EXPECT_EQ(info.name(), "a.txt");
    EXPECT_EQ(info.length(), 5u);
    EXPECT_EQ(info.date(), localDate(2020, 5, 6, 7, 8, 10));
    EXPECT_EQ(readCurrent(zip), "hello");
}

TEST(ZipDamage, DatesOutsideTheStampRangeAreClamped) {
    TemporaryFolder folder;
    std::string path = folder.file("dates.zip");
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, "old", "", 0, localDate(1970, 6, 1, 12, 0, 0));
        writeEntry(zip, "new", "", 0, localDate(2200, 6, 1, 12, 0, 0));
        writeEntry(zip, "first", "", 0, localDate(1980, 1, 1, 0, 0, 0));
    }
    auto report = pythonReport(path);
    EXPECT_EQ(report.output,
              "old|0|0|0|1980-01-01 00:00:00|\n"
              "new|0|0|0|2107-12-31 23:59:58|\n"
              "first|0|0|0|1980-01-01 00:00:00|\n");
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 3u);
    EXPECT_EQ(infos[0].date(), localDate(1980, 1, 1, 0, 0, 0));
    EXPECT_EQ(infos[1].date(), localDate(2107, 12, 31, 23, 59, 58));
}
