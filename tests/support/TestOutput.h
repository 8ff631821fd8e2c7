#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// Where tests leave files for a person to look at (pictures, PDFs): the folder CTest names in
// MW_TEST_OUTPUT, else the system's temporary folder, never the current one.
inline std::filesystem::path testOutputPath(const std::string& name) {
    const char* folder = std::getenv("MW_TEST_OUTPUT");
    std::filesystem::path base = folder ? std::filesystem::path(folder)
                                        : std::filesystem::temp_directory_path() / "mw-test-output";
    std::filesystem::create_directories(base);
    return base / name;
}
