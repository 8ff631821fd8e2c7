#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/foundation/FileContents.h"

// The bytes of a file ("" when it cannot be read).
inline std::string fileContents(const std::filesystem::path& path) {
    return platform::contentsOfFile(path).value_or("");
}

// How a shell command ended (-1 when it could not be started or did not exit) and what it
// printed on its standard output.
struct CommandResult {
    int exitCode;
    std::string output;
};

inline CommandResult runCommand(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// What a shell command prints on its standard output (tools that read our files back).
inline std::string commandOutput(const std::string& command) {
    return runCommand(command).output;
}
