#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/wordbuilder/Controller.h"
#include "inputmethod/wordbuilder/Sang.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

namespace wordbuilder_test {

using Strings = std::vector<std::string>;

inline const std::filesystem::path kBuildResources = QUILLORA_BUILD_RESOURCES;

// Forgets everything the word builder loaded, before and after each test.
class WordBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override { forget(); }
    void TearDown() override { forget(); }

    static void forget() {
        quillora::wordbuilder::Sang::reset();
        quillora::wordbuilder::Controller::reset();
        quillora::MongolianConverter::reset();
    }
};

// The resources the build made: the shipped key map, stem table and word list.
class ShippedResourcesTest : public WordBuilderTest {
  protected:
    ScopedResourceFolder resources{"quillora", kBuildResources};
};

// A resource folder with the shipped key map and a stem table of the test's own.
class OwnStemTableTest : public WordBuilderTest {
  protected:
    void writeStemTable(const std::map<std::string, Strings>& table) {
        platform::PropertyValue::Dictionary entries;
        for (const auto& [piece, tokens] : table) {
            platform::PropertyValue::Array list;
            for (const auto& token : tokens) list.emplace_back(platform::Value(token));
            entries.emplace(piece, std::move(list));
        }
        ASSERT_TRUE(platform::PropertyList::write(platform::PropertyValue(std::move(entries)),
                                                  folder.path() / "BaseSang.plist"));
        std::filesystem::copy_file(kBuildResources / "english_2_mongolian.plist",
                                   folder.path() / "english_2_mongolian.plist",
                                   std::filesystem::copy_options::overwrite_existing);
    }

    TemporaryFolder folder{"quillora-words"};
    ScopedResourceFolder resources{"quillora", folder.path()};
};

}  // namespace wordbuilder_test
