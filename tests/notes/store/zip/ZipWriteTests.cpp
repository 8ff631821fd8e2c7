#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "ZipTestSupport.h"

using notes::ZipFile;
using namespace ziptest;

namespace {

const std::string kText = "ᠮᠣᠩᠭᠣᠯ бичиг, the same line again and again. ";

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

uint64_t crcOf(const std::string& text) {
    return crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
}

}  // namespace

// Three entries at the three kinds of level, in local time of a zone that is not UTC; the file
// they replace was not an archive (the note archive overwrites a property list this way).
TEST(ZipWrite, ArchiveIsAcceptedByStandardTools) {
    ScopedTimeZone zone("Asia/Ulaanbaatar");
    TemporaryFolder folder;
    std::string path = folder.file("note.zelvo");
    writeFile(path, bytes("<plist>not an archive</plist>"));
    std::string big = repeated(kText, 200);
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, "ZelvoFiles", big, 1, localDate(2023, 12, 31, 23, 59, 58));
        writeEntry(zip, "stored.txt", "kept as it is", 0, localDate(2024, 2, 29, 0, 0, 0));
        writeEntry(zip, "default.txt", big, -1, localDate(2001, 7, 4, 12, 30, 10));
        zip.close();
    }
    expectToolsAccept(path);

    CommandResult report = pythonReport(path);
    ASSERT_EQ(report.exitCode, 0) << report.output;
    EXPECT_EQ(report.output, "ZelvoFiles|8|0|3|2023-12-31 23:59:58|" + big + "\n" +
                                 "stored.txt|0|0|0|2024-02-29 00:00:00|kept as it is\n" +
                                 "default.txt|8|0|0|2001-07-04 12:30:10|" + big + "\n");
}

TEST(ZipWrite, ReadsBackWhatItWrote) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    platform::Date date = localDate(2023, 12, 31, 23, 59, 58);
    std::string big = repeated(kText, 50);
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, "fast", big, 1, date);
        writeEntry(zip, "stored", big, 0, date);
        writeEntry(zip, "normal", big, -1, date);
        writeEntry(zip, "best", big, 9, date);
        writeEntry(zip, "empty", "", 1, date);
        zip.close();
    }
    ZipFile zip(path, ZipFile::ModeUnzip);
    EXPECT_EQ(zip.fileName(), path);
    EXPECT_EQ(zip.numFilesInZip(), 5u);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 5u);
    const char* names[] = {"fast", "stored", "normal", "best", "empty"};
    const int levels[] = {1, 0, -1, 9, 1};
    for (size_t i = 0; i < infos.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(infos[i].name(), names[i]);
        EXPECT_EQ(infos[i].level(), levels[i]);
        EXPECT_FALSE(infos[i].crypted());
        EXPECT_EQ(infos[i].date(), date);
        uint64_t length = i == 4 ? 0 : big.size();
        EXPECT_EQ(infos[i].length(), length);
        EXPECT_EQ(infos[i].crc32(), crcOf(i == 4 ? "" : big));
    }
    EXPECT_EQ(infos[1].size(), big.size());
    EXPECT_LT(infos[0].size(), big.size() / 4);

    ASSERT_TRUE(zip.locateFileInZip("best"));
    EXPECT_EQ(readCurrent(zip), big);
    ASSERT_TRUE(zip.locateFileInZip("empty"));
    EXPECT_EQ(readCurrent(zip), "");
    zip.close();
}

TEST(ZipWrite, EntryWithoutDateIsDatedNow) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    platform::Date before = platform::Date::now();
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        auto stream = zip.writeFileInZipWithName("now.txt", 1);
        stream->writeData(bytes("x"));
        stream->finishedWriting();
        zip.close();
    }
    ZipFile zip(path, ZipFile::ModeUnzip);
    double recorded = zip.getCurrentFileInZipInfo().date().timeIntervalSince1970();
    // Recorded times have two-second steps.
    EXPECT_GE(recorded, before.timeIntervalSince1970() - 2);
    EXPECT_LE(recorded, platform::Date::now().timeIntervalSince1970());
}

TEST(ZipWrite, NonAsciiNamesCarryTheUtf8Flag) {
    TemporaryFolder folder;
    std::string path = folder.file("names.zip");
    std::string mongolian = "ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ.txt";
    // 100 three-byte letters: longer than any fixed 256-byte name buffer, and a cut at 255 bytes
    // would fall on a letter boundary only by luck of the prefix below.
    std::string longName = "x" + repeated("ᠮ", 100);
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, mongolian, "one");
        writeEntry(zip, "plain.txt", "two");
        writeEntry(zip, longName, "three");
        zip.close();
    }
    CommandResult report = pythonReport(path);
    ASSERT_EQ(report.exitCode, 0) << report.output;
    EXPECT_NE(report.output.find(mongolian + "|8|1|"), std::string::npos) << report.output;
    EXPECT_NE(report.output.find("plain.txt|8|0|"), std::string::npos) << report.output;
    EXPECT_NE(report.output.find(longName + "|8|1|"), std::string::npos) << report.output;
    // Info-ZIP compares each local name with the directory's, read as the archive's maker, the
    // flag and the extra fields say; a name read in the wrong code page fails as "mismatching
    // local filename", in the C locale too.
    expectToolsAccept(path);
    CommandResult listing = run("LC_ALL=C.UTF-8 zipinfo -1 " + shellQuoted(path));
    EXPECT_EQ(listing.output, mongolian + "\nplain.txt\n" + longName + "\n");

    ZipFile zip(path, ZipFile::ModeUnzip);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 3u);
    EXPECT_EQ(infos[0].name(), mongolian);
    EXPECT_EQ(infos[2].name(), longName);
    EXPECT_FALSE(zip.locateFileInZip(longName.substr(0, 255)));
    ASSERT_TRUE(zip.locateFileInZip(longName));
    EXPECT_EQ(readCurrent(zip), "three");
    ASSERT_TRUE(zip.locateFileInZip(mongolian));
    EXPECT_EQ(readCurrent(zip), "one");
}

TEST(ZipWrite, ArchiveDroppedWithoutCloseIsComplete) {
    TemporaryFolder folder;
    std::string finished = folder.file("finished.zip");
    std::string open = folder.file("open.zip");
    {
        ZipFile zip(finished, ZipFile::ModeCreate);
        writeEntry(zip, "ZelvoFiles", "{\"n_id\":1}");
    }
    std::unique_ptr<notes::ZipWriteStream> survivor;
    {
        ZipFile zip(open, ZipFile::ModeCreate);
        survivor = zip.writeFileInZipWithName("half.txt", 1);
        survivor->writeData(bytes("left open"));
    }
    for (const std::string& path : {finished, open}) {
        CommandResult test = run("unzip -t " + shellQuoted(path));
        EXPECT_EQ(test.exitCode, 0) << test.output;
    }
    CommandResult report = pythonReport(open);
    EXPECT_NE(report.output.find("half.txt|8|0|3|"), std::string::npos) << report.output;
    EXPECT_NE(report.output.find("|left open"), std::string::npos) << report.output;

    // The stream outlived its archive: using it fails instead of touching freed memory.
    expectZipFailure([&] { survivor->writeData(bytes("more")); },
                     "Error in writing 'half.txt' in the zipfile", kParamError);
    expectZipFailure([&] { survivor->finishedWriting(); },
                     "Error in closing 'half.txt' in the zipfile", kParamError);
}

TEST(ZipWrite, AppendAddsToAnExistingArchive) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        writeEntry(zip, "first", "1");
        zip.close();
    }
    {
        ZipFile zip(path, ZipFile::ModeAppend);
        writeEntry(zip, "second", "2", 0);
        zip.close();
    }
    ZipFile zip(path, ZipFile::ModeUnzip);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].name(), "first");
    EXPECT_EQ(infos[1].name(), "second");
    zip.goToFirstFileInZip();
    EXPECT_EQ(readCurrent(zip), "1");
    ASSERT_TRUE(zip.goToNextFileInZip());
    EXPECT_EQ(readCurrent(zip), "2");
}

TEST(ZipWrite, PasswordEntriesAreEncrypted) {
    TemporaryFolder folder;
    std::string path = folder.file("secret.zip");
    std::string text = repeated(kText, 3);
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        for (int level : {1, 0}) {
            auto stream =
                zip.writeFileInZipWithName(level ? "deflated.txt" : "stored.txt",
                                           platform::Date::now(), level, "pass", crcOf(text));
            stream->writeData(bytes(text.substr(0, 10)));
            stream->writeData(bytes(text.substr(10)));
            stream->finishedWriting();
        }
        // Left open, the next entry or the archive's close finishes it.
        zip.writeFileInZipWithName("superseded.txt", platform::Date::now(), 1, "pass", crcOf(text))
            ->writeData(bytes(text));
        writeEntry(zip, "open.txt", "no secret");
        auto late =
            zip.writeFileInZipWithName("late.txt", platform::Date::now(), 1, "pass", crcOf("x"));
        late->writeData(bytes("x"));
        zip.close();
        expectZipFailure([&] { late->finishedWriting(); },
                         "Error in closing 'late.txt' in the zipfile", kParamError);
    }
    CommandResult test = run("unzip -t -P pass " + shellQuoted(path));
    EXPECT_EQ(test.exitCode, 0) << test.output;
    CommandResult wrong = run("unzip -t -P nope " + shellQuoted(path) + " deflated.txt");
    EXPECT_NE(wrong.exitCode, 0) << wrong.output;
    std::vector<uint8_t> stored = readFile(path);
    EXPECT_EQ(std::search(stored.begin(), stored.end(), text.begin(), text.begin() + 20),
              stored.end());

    ZipFile zip(path, ZipFile::ModeUnzip);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 5u);
    for (int i : {0, 1, 2}) {
        EXPECT_TRUE(infos[i].crypted());
        EXPECT_EQ(infos[i].crc32(), crcOf(text));
        EXPECT_EQ(infos[i].length(), text.size());
    }
    EXPECT_EQ(infos[0].level(), 1);
    EXPECT_EQ(infos[1].level(), 0);
    EXPECT_EQ(infos[1].size(), text.size() + 12);  // the cipher header
    EXPECT_FALSE(infos[3].crypted());
    for (const char* name : {"deflated.txt", "stored.txt", "superseded.txt"}) {
        ASSERT_TRUE(zip.locateFileInZip(name));
        EXPECT_EQ(readAll(zip.readCurrentFileInZipWithPassword("pass")), text) << name;
    }
    ASSERT_TRUE(zip.locateFileInZip("open.txt"));
    EXPECT_EQ(readAll(zip.readCurrentFileInZipWithPassword("pass")), "no secret");
}

// minizip closes an open entry when the next one is opened; the stream of the earlier entry
// must then stay out of the later one.
TEST(ZipWrite, SupersededStreamCannotWriteIntoTheNextEntry) {
    TemporaryFolder folder;
    std::string path = folder.file("a.zip");
    {
        ZipFile zip(path, ZipFile::ModeCreate);
        auto first = zip.writeFileInZipWithName("first", 1);
        first->writeData(bytes("1"));
        auto second = zip.writeFileInZipWithName("second", 1);
        expectZipFailure([&] { first->writeData(bytes("stray")); },
                         "Error in writing 'first' in the zipfile", kParamError);
        second->writeData(bytes("2"));
        second->finishedWriting();
        zip.close();
    }
    ZipFile zip(path, ZipFile::ModeUnzip);
    ASSERT_TRUE(zip.locateFileInZip("first"));
    EXPECT_EQ(readCurrent(zip), "1");
    ASSERT_TRUE(zip.locateFileInZip("second"));
    EXPECT_EQ(readCurrent(zip), "2");
}
