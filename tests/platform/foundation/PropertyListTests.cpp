#include <gtest/gtest.h>

#include <fstream>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/DamagedPropertyLists.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

using namespace platform;

TEST(PropertyList, ReadsAnXmlDictionaryOfArraysAndScalars) {
    TemporaryFolder folder;
    std::ofstream(folder.file("map.plist")) << R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
  <key>a</key><string>ᠠ</string>
  <key>list</key><array><string>x</string><integer>-7</integer><real>2.5</real><true/></array>
</dict></plist>)";
    auto value = PropertyList::read(folder.file("map.plist"));
    ASSERT_TRUE(value && value->dictionary());
    ASSERT_NE(value->find("a"), nullptr);
    EXPECT_EQ(*value->find("a")->text(), "ᠠ");
    const auto* list = value->find("list")->array();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 4u);
    EXPECT_EQ(*(*list)[0].text(), "x");
    EXPECT_EQ((*list)[1].scalar()->longLongValue(), -7);
    EXPECT_DOUBLE_EQ((*list)[2].scalar()->doubleValue(), 2.5);
    EXPECT_TRUE((*list)[3].scalar()->boolValue());
    EXPECT_EQ(value->find("missing"), nullptr);
}

TEST(PropertyList, WritesAndReadsBackEveryKind) {
    TemporaryFolder folder;
    PropertyValue::Dictionary entries{
        {"text", Value("ᠮᠣᠩᠭᠣᠯ \"&<>")},
        {"int", Value(int64_t{-3})},
        {"big", Value(int64_t{1} << 40)},
        {"real", Value(0.25)},
        {"flag", Value(false)},
        {"data", Value(Bytes{0, 1, 255})},
        {"date", Value(Date::dateWithTimeIntervalSince1970(1700000000))},
        {"list", PropertyValue::Array{Value("a"), PropertyValue::Dictionary{{"k", Value(1)}}}},
    };
    ASSERT_TRUE(PropertyList::write(PropertyValue(entries), folder.file("out.plist")));
    auto back = PropertyList::read(folder.file("out.plist"));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, PropertyValue(entries));
}

TEST(PropertyList, MissingOrMalformedFilesAreAbsent) {
    TemporaryFolder folder;
    EXPECT_FALSE(PropertyList::read(folder.file("none.plist")));
    std::ofstream(folder.file("bad.plist")) << "not a plist at all";
    EXPECT_FALSE(PropertyList::read(folder.file("bad.plist")));
    EXPECT_FALSE(PropertyList::parse(""));
}

TEST(PropertyList, TextHoldingNulIsAFailureNotAnAbort) {
    LogCapture log;
    EXPECT_FALSE(PropertyList::parse(kStringWithNul));
    EXPECT_FALSE(PropertyList::parse(kKeyWithNul));
    EXPECT_FALSE(
        PropertyList::parse(std::string("<plist><dict><key>a\0b</key><true/></dict></plist>", 49)));
    EXPECT_TRUE(log.contains("NUL"));
    // A binary list with UTF-16 text and nothing damaged is read as before.
    std::string fine = kStringWithNul;
    fine[19] = fine[20] = 0x18;  // the NUL becomes U+1818
    auto read = PropertyList::parse(fine);
    ASSERT_TRUE(read && read->find("font"));
    EXPECT_EQ(*read->find("font")->text(), "ᠠ\u1818ᠡ");
}

TEST(PropertyList, DatesAreExactOverYearsOneToNineThousandNineHundredNinetyNine) {
    auto dates = PropertyList::parse(R"(<plist version="1.0"><array>
      <date>9999-12-31T23:59:59Z</date><date>1000-01-01T00:00:00Z</date>
      <date>1901-12-13T20:45:51Z</date></array></plist>)");
    ASSERT_TRUE(dates && dates->array() && dates->array()->size() == 3);
    const double expected[] = {253402300799.0, -30610224000.0, -2147483649.0};
    for (size_t i = 0; i < 3; ++i) {
        const Date* date = (*dates->array())[i].scalar()->date();
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->timeIntervalSince1970(), expected[i]);
        // Written out and read back, to the second.
        auto back = PropertyList::parse(PropertyList::xml((*dates->array())[i]));
        ASSERT_TRUE(back && back->scalar() && back->scalar()->date());
        EXPECT_EQ(back->scalar()->date()->timeIntervalSince1970(), expected[i]);
    }
    // What the form cannot hold is clamped, and says so.
    LogCapture log;
    PropertyValue far(Value(Date::dateWithTimeIntervalSince1970(1e15)));
    auto clamped = PropertyList::parse(PropertyList::xml(far));
    ASSERT_TRUE(clamped && clamped->scalar() && clamped->scalar()->date());
    EXPECT_EQ(clamped->scalar()->date()->timeIntervalSince1970(), 253402300799.0);
    EXPECT_TRUE(log.contains("outside years 1 to 9999"));
}

TEST(PropertyList, WritesReplaceWholeFilesAndLeaveNoLitter) {
    TemporaryFolder folder;
    EXPECT_FALSE(PropertyList::write(PropertyValue(Value("x")), folder.path() / "no" / "f.plist"));
    // A folder in the file's place cannot be replaced: the write fails and the folder stays.
    std::filesystem::create_directory(folder.path() / "taken.plist");
    EXPECT_FALSE(PropertyList::write(PropertyValue(Value("x")), folder.file("taken.plist")));
    ASSERT_TRUE(PropertyList::write(PropertyValue(Value("old")), folder.file("f.plist")));
    ASSERT_TRUE(PropertyList::write(PropertyValue(Value("new")), folder.file("f.plist")));
    EXPECT_EQ(*PropertyList::read(folder.file("f.plist"))->text(), "new");
    int entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // f.plist and the folder; no temporary files
}

TEST(Bundle, ResourceFolderComesFromTheProgramsVariable) {
    TemporaryFolder folder;
    std::ofstream(folder.file("english_2_mongolian.plist")) << "x";
    ScopedEnvironment variable("QUILLORA_RESOURCES", folder.path().string());
    Bundle::setMain("quillora", "org.example.quillora");
    const Bundle& bundle = Bundle::mainBundle();
    EXPECT_EQ(bundle.resourcePath(), folder.path());
    EXPECT_EQ(bundle.pathForResource("english_2_mongolian", "plist"),
              folder.path() / "english_2_mongolian.plist");
    EXPECT_FALSE(bundle.pathForResource("BaseSang", "plist"));
    EXPECT_EQ(bundle.bundleIdentifier(), "org.example.quillora");
    EXPECT_EQ(bundle.infoValue("CFBundleName"), "Quillora");
    EXPECT_TRUE(bundle.infoValue("CFBundleVersion"));
    EXPECT_FALSE(bundle.infoValue("NoSuchKey"));
    EXPECT_EQ(bundle.localizedString("Switched to English mode", ""), "Switched to English mode");
    EXPECT_EQ(bundle.localizedString("k", "v"), "v");
}

TEST(Bundle, WithoutVariableTheBuildOrSourceTreeServes) {
    ScopedEnvironment variable("ZELVO_RESOURCES", std::nullopt);
    Bundle::setMain("zelvo", "org.example.zelvo");
    EXPECT_EQ(Bundle::mainBundle().resourcePath().filename(), "zelvo");
    EXPECT_EQ(Bundle::mainBundle().resourcePath().parent_path().filename(), "resources");
}
