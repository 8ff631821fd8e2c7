#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "notes/UI/NoteExporter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/notes/UI/export/FakeExportHost.h"
#include "tests/support/FileContents.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

using namespace zelvo;
namespace fs = std::filesystem;

namespace {

// Keeps the user's own defaults out of reach: a private configuration folder.
struct PrivateDefaults {
    TemporaryFolder config{"export-config"};
    ScopedEnvironment xdg{"XDG_CONFIG_HOME", config.path().string()};
    PrivateDefaults() {
        platform::Bundle::setMain("zelvo", "org.zelvo.notes");
        platform::UserDefaults::resetStandardUserDefaults();
    }
    ~PrivateDefaults() { platform::UserDefaults::resetStandardUserDefaults(); }
};

}  // namespace

TEST(NoteArchive, OneEntryDatedADayBackHoldingTheNoteAsJSON) {
    PrivateDefaults defaults;
    TemporaryFolder folder("archive");
    FakeExportHost host;
    NoteExporter exporter(host);
    NoteObject note;
    note.setN_id(7);
    note.setN_text("<p>\"ᠮᠣᠩᠭᠣᠯ\"\\</p>");
    std::string path = folder.file("note.zelvo");

    platform::LogCapture log;
    std::time_t before = std::time(nullptr);
    ASSERT_TRUE(exporter.saveNoteWithPath(path, &note));
    EXPECT_TRUE(log.contains("saving as zelvo..."));
    EXPECT_TRUE(log.contains("auto save finished..."));
    EXPECT_FALSE(exporter.isSaving());
    // Only the archive: no property list, no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    std::string listing = commandOutput("unzip -Z -T '" + path + "'");
    EXPECT_NE(listing.find("1 file"), std::string::npos) << listing;
    EXPECT_NE(listing.find(" ZelvoFiles"), std::string::npos) << listing;
    // The entry's stamp (local time, yyyymmdd.hhmmss) is a day before the writing, to the
    // two-second steps of the zip format.
    auto stampOf = [](std::time_t moment) {
        std::tm local = *std::localtime(&moment);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d.%H%M", &local);
        return std::string(stamp);
    };
    std::time_t after = std::time(nullptr);
    EXPECT_TRUE(listing.find(stampOf(before - 86400)) != std::string::npos ||
                listing.find(stampOf(after - 86400)) != std::string::npos)
        << stampOf(before - 86400) << "\n"
        << listing;

    std::string json =
        commandOutput("unzip -p '" + path + "' ZelvoFiles | python3 -m json.tool --sort-keys");
    std::string version = platform::Bundle::mainBundle().infoValue("CFBundleVersion").value_or("");
    EXPECT_EQ(json,
              "{\n    \"n_id\": 7,\n    \"n_text\": \"<p>\\\"\\u182e\\u1823\\u1829\\u182d\\u1823"
              "\\u182f\\\"\\\\</p>\",\n    \"version\": \"" +
                  version + "\"\n}\n");
    EXPECT_EQ(platform::UserDefaults::standardUserDefaults().stringForKey(NOTE_LASTSAVED_PATH_KEY),
              path);
}

TEST(NoteArchive, NothingIsWrittenWithoutPathOrNoteOrWhenTheFolderIsMissing) {
    PrivateDefaults defaults;
    TemporaryFolder folder("archive");
    FakeExportHost host;
    NoteExporter exporter(host);
    NoteObject note;
    EXPECT_FALSE(exporter.saveNoteWithPath(std::nullopt, &note));
    EXPECT_FALSE(exporter.saveNoteWithPath(folder.file("a.zelvo"), nullptr));
    EXPECT_FALSE(exporter.saveNoteWithPath(folder.file("missing/a.zelvo"), &note));
    EXPECT_FALSE(exporter.isSaving());
    EXPECT_TRUE(fs::is_empty(folder.path()));
    EXPECT_FALSE(
        platform::UserDefaults::standardUserDefaults().stringForKey(NOTE_LASTSAVED_PATH_KEY));

    // An archive that cannot replace the old file leaves the old one; the save path tells the user.
    std::ofstream(folder.file("b.zelvo")) << "old";
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    host.note = std::make_shared<NoteObject>(note);
    bool written = exported(exporter, ".zelvo", folder.file("b.zelvo"));
    fs::permissions(folder.path(), fs::perms::owner_all);
    if (getuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(written);
        ASSERT_EQ(host.alerts.size(), 1u);
        EXPECT_EQ(host.alerts[0].first, "文件保存失败!");
        std::ifstream old(folder.file("b.zelvo"));
        std::string text;
        old >> text;
        EXPECT_EQ(text, "old");
    }
}
