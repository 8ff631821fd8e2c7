#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipFile.h"
#include "platform/foundation/Date.h"
#include "tests/support/FileContents.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace ziptest {

namespace fs = std::filesystem;

// minizip's answer to a missing handle or to an entry operation with no entry open.
constexpr int64_t kParamError = -102;

using ::CommandResult;

// The tools' complaints go into the output with what they print.
inline CommandResult run(const std::string& command) {
    return runCommand(command + " 2>&1");
}

inline std::string shellQuoted(const std::string& path) {
    return "'" + path + "'";
}

// Info-ZIP's unzip in the C locale, where names it takes for damaged are reported, and 7-Zip,
// which reports damaged headers as warnings: both must find nothing to say but the entries.
inline void expectToolsAccept(const std::string& archive) {
    CommandResult unzip = run("LC_ALL=C unzip -t " + shellQuoted(archive));
    EXPECT_EQ(unzip.exitCode, 0) << unzip.output;
    EXPECT_EQ(unzip.output.find("mismatching"), std::string::npos) << unzip.output;
    CommandResult sevenZip = run("LC_ALL=C 7z t " + shellQuoted(archive));
    EXPECT_EQ(sevenZip.exitCode, 0) << sevenZip.output;
    EXPECT_NE(sevenZip.output.find("Everything is Ok"), std::string::npos) << sevenZip.output;
    EXPECT_EQ(sevenZip.output.find("Warning"), std::string::npos) << sevenZip.output;
}

// Python's zipfile, an independent reader: one line per entry,
// "name|method|utf8 flag|level bits|date time|content" (reading also checks the CRC).
inline CommandResult pythonReport(const std::string& archive) {
    static const char* script = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        print("%s|%d|%d|%d|%04d-%02d-%02d %02d:%02d:%02d|%s" % ((i.filename, i.compress_type,
              (i.flag_bits >> 11) & 1, (i.flag_bits >> 1) & 3) + i.date_time
              + (z.read(i).decode("utf-8"),)))
)";
    return run("PYTHONIOENCODING=utf-8 python3 -c " + shellQuoted(script) + " " +
               shellQuoted(archive));
}

inline std::vector<uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::string contents = fileContents(path);
    return {contents.begin(), contents.end()};
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

inline platform::Date localDate(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return platform::Date::dateWithTimeIntervalSince1970(static_cast<double>(mktime(&local)));
}

inline void writeEntry(notes::ZipFile& zip, const std::string& name, const std::string& content,
                       int level = 1, platform::Date date = platform::Date::now()) {
    auto stream = zip.writeFileInZipWithName(name, date, level);
    stream->writeData(bytes(content));
    stream->finishedWriting();
}

// Reads the current entry through a small buffer, so that reading in pieces is exercised too.
inline std::string readAll(std::unique_ptr<notes::ZipReadStream> stream) {
    std::string content;
    std::vector<uint8_t> buffer(7);
    while (uint64_t n = stream->readDataWithBuffer(buffer))
        content.append(buffer.begin(), buffer.begin() + n);
    stream->finishedReading();
    return content;
}
inline std::string readCurrent(notes::ZipFile& zip) {
    return readAll(zip.readCurrentFileInZip());
}

// Runs `action` and checks that it raises ZipException with exactly this reason and code.
inline void expectZipFailure(const std::function<void()>& action, const std::string& reason,
                             int64_t error = 0) {
    try {
        action();
        ADD_FAILURE() << "no ZipException; expected \"" << reason << "\"";
    } catch (const notes::ZipException& e) {
        EXPECT_EQ(e.reason(), reason);
        EXPECT_EQ(e.what(), e.reason());
        EXPECT_EQ(e.error(), error) << reason;
    }
}

}  // namespace ziptest
