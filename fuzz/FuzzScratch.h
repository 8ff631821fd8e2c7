#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

// Where a fuzz target writes the files it makes for each input: in memory where the system offers
// a memory-backed folder, named after the program's process so that parallel runs keep apart.
inline std::filesystem::path fuzzScratchPath(const std::string& name) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", error)
                                       ? std::filesystem::path("/dev/shm")
                                       : std::filesystem::temp_directory_path();
    return folder / ("fuzz-" + name + "-" + std::to_string(getpid()));
}
