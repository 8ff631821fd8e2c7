#include <gtest/gtest.h>

#include "ZipTestSupport.h"

using notes::ZipFile;
using namespace ziptest;

namespace {

// Builds an archive with Info-ZIP's zip: two deflated entries, then a stored one appended.
std::string archiveFromZipCommand(const TemporaryFolder& folder) {
    fs::create_directories(folder.path() / "in" / "sub");
    writeFile(folder.file("in/a.txt"), bytes(std::string(3000, 'a') + "end of a"));
    writeFile(folder.file("in/sub/b.txt"), bytes("bee"));
    writeFile(folder.file("in/stored.txt"), bytes("kept as it is"));
    std::string archive = folder.file("made.zip");
    std::string in = shellQuoted(folder.file("in"));
    CommandResult made =
        run("cd " + in + " && zip -q -D " + shellQuoted(archive) +
            " a.txt sub/b.txt && zip -q -0 " + shellQuoted(archive) + " stored.txt");
    EXPECT_EQ(made.exitCode, 0) << made.output;
    return archive;
}

}  // namespace

TEST(ZipRead, ReadsArchiveMadeByZipCommandEntryByEntry) {
    TemporaryFolder folder;
    std::string archive = archiveFromZipCommand(folder);
    ZipFile zip(archive, ZipFile::ModeUnzip);
    EXPECT_EQ(zip.numFilesInZip(), 3u);

    zip.goToFirstFileInZip();
    auto a = zip.getCurrentFileInZipInfo();
    EXPECT_EQ(a.name(), "a.txt");
    EXPECT_EQ(a.level(), -1);
    EXPECT_EQ(a.length(), 3008u);
    EXPECT_LT(a.size(), a.length());
    EXPECT_EQ(readCurrent(zip), std::string(3000, 'a') + "end of a");

    ASSERT_TRUE(zip.goToNextFileInZip());
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "sub/b.txt");
    EXPECT_EQ(readCurrent(zip), "bee");

    ASSERT_TRUE(zip.goToNextFileInZip());
    auto stored = zip.getCurrentFileInZipInfo();
    EXPECT_EQ(stored.name(), "stored.txt");
    EXPECT_EQ(stored.level(), 0);
    EXPECT_EQ(stored.size(), stored.length());
    EXPECT_EQ(readCurrent(zip), "kept as it is");

    EXPECT_FALSE(zip.goToNextFileInZip());

    // The recorded time is the file's modification time in local time, to two seconds.
    double modified =
        std::chrono::duration<double>(
            std::chrono::file_clock::to_sys(fs::last_write_time(folder.file("in/stored.txt")))
                .time_since_epoch())
            .count();
    EXPECT_NEAR(stored.date().timeIntervalSince1970(), modified, 2.0);
    zip.close();
}

TEST(ZipRead, LocateIsCaseSensitiveAndKeepsThePlaceWhenAbsent) {
    TemporaryFolder folder;
    ZipFile zip(archiveFromZipCommand(folder), ZipFile::ModeUnzip);
    EXPECT_FALSE(zip.locateFileInZip("A.TXT"));
    EXPECT_FALSE(zip.locateFileInZip("sub/B.txt"));
    EXPECT_FALSE(zip.locateFileInZip("b.txt"));

    ASSERT_TRUE(zip.locateFileInZip("sub/b.txt"));
    EXPECT_FALSE(zip.locateFileInZip("missing"));
    EXPECT_EQ(zip.getCurrentFileInZipInfo().name(), "sub/b.txt");

    // Having stepped past the last entry does not hide the entries from a lookup.
    while (zip.goToNextFileInZip()) {
    }
    ASSERT_TRUE(zip.locateFileInZip("a.txt"));
    EXPECT_EQ(readCurrent(zip), std::string(3000, 'a') + "end of a");
}

TEST(ZipRead, EmptyArchiveHasNoEntries) {
    TemporaryFolder folder;
    std::string path = folder.file("empty.zip");
    ZipFile(path, ZipFile::ModeCreate).close();
    ZipFile zip(path, ZipFile::ModeUnzip);
    EXPECT_EQ(zip.numFilesInZip(), 0u);
    EXPECT_TRUE(zip.listFileInZipInfos().empty());
    EXPECT_FALSE(zip.locateFileInZip("anything"));
    EXPECT_FALSE(zip.goToNextFileInZip());
    expectZipFailure([&] { zip.goToFirstFileInZip(); },
                     "Error in going to first file in zip in '" + path + "'", -103);
    zip.close();
    CommandResult report = pythonReport(path);
    EXPECT_EQ(report.exitCode, 0) << report.output;
    EXPECT_EQ(report.output, "");

    ZipFile append(path, ZipFile::ModeAppend);
    writeEntry(append, "first", "1");
    append.close();
    ZipFile reread(path, ZipFile::ModeUnzip);
    EXPECT_EQ(reread.numFilesInZip(), 1u);
    EXPECT_EQ(readCurrent(reread), "1");
}

TEST(ZipRead, DecryptsEntriesOfZipCommand) {
    TemporaryFolder folder;
    writeFile(folder.file("deflated.txt"), bytes(std::string(500, 'q') + "!"));
    writeFile(folder.file("stored.txt"), bytes("short"));
    std::string archive = folder.file("locked.zip");
    CommandResult made = run("cd " + shellQuoted(folder.path().string()) + " && zip -q -P pw " +
                             shellQuoted(archive) + " deflated.txt && zip -q -0 -P pw " +
                             shellQuoted(archive) + " stored.txt");
    ASSERT_EQ(made.exitCode, 0) << made.output;

    ZipFile zip(archive, ZipFile::ModeUnzip);
    auto infos = zip.listFileInZipInfos();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_TRUE(infos[0].crypted());
    EXPECT_TRUE(infos[1].crypted());
    ASSERT_TRUE(zip.locateFileInZip("deflated.txt"));
    EXPECT_EQ(readAll(zip.readCurrentFileInZipWithPassword("pw")), std::string(500, 'q') + "!");
    ASSERT_TRUE(zip.locateFileInZip("stored.txt"));
    EXPECT_EQ(readAll(zip.readCurrentFileInZipWithPassword("pw")), "short");

    // A wrong password yields garbage that the CRC (or the inflater) gives away.
    expectZipFailure([&] { readAll(zip.readCurrentFileInZipWithPassword("wrong")); },
                     "Error in closing 'stored.txt' in the zipfile", -105);
}
