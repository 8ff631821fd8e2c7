#include "platform/foundation/Bundle.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include "platform/foundation/FileURL.h"

namespace platform {

namespace {

std::filesystem::path executableFolder() {
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : exe.parent_path();
}

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

Bundle& Bundle::mainBundle() {
    static Bundle bundle;
    return bundle;
}

void Bundle::setMain(const std::string& program, const std::string& identifier) {
    Bundle& bundle = mainBundle();
    bundle.m_program = program;
    bundle.m_identifier = identifier;
    bundle.m_resourcePath.reset();
}

std::string Bundle::resourceVariable(const std::string& program) {
    std::string variable = program + "_RESOURCES";
    std::transform(variable.begin(), variable.end(), variable.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return variable;
}

std::filesystem::path Bundle::resourcePath() const {
    if (m_resourcePath) return *m_resourcePath;
    const std::string variable = resourceVariable(m_program);
    if (const char* folder = std::getenv(variable.c_str()); folder && *folder) {
        m_resourcePath = std::filesystem::path(folder);
        return *m_resourcePath;
    }
    const std::filesystem::path candidates[] = {
        executableFolder() / ".." / "share" / m_program,
        std::filesystem::path(MW_BUILD_RESOURCES) / m_program,
        std::filesystem::path(MW_SOURCE_RESOURCES) / m_program,
    };
    m_resourcePath = candidates[std::size(candidates) - 1];
    for (const auto& candidate : candidates) {
        if (isFolder(candidate)) {
            m_resourcePath = candidate.lexically_normal();
            break;
        }
    }
    return *m_resourcePath;
}

std::filesystem::path Bundle::bundlePath() const {
    return executableFolder();
}

std::optional<std::filesystem::path> Bundle::pathForResource(const std::string& name,
                                                             const std::string& type) const {
    auto path = resourcePath() / (type.empty() ? name : name + "." + type);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    return path;
}

std::optional<std::string> Bundle::URLForResource(const std::string& name,
                                                  const std::string& type) const {
    std::optional<std::filesystem::path> path = pathForResource(name, type);
    return path ? fileURL(std::filesystem::absolute(*path)) : std::nullopt;
}

std::optional<std::string> Bundle::infoValue(const std::string& key) const {
    if (key == "CFBundleVersion" || key == "CFBundleShortVersionString") return MW_VERSION;
    if (key == "CFBundleIdentifier") return m_identifier;
    if (key == "CFBundleName") {
        std::string name = m_program;
        if (!name.empty()) name[0] = static_cast<char>(std::toupper(name[0]));
        return name;
    }
    return std::nullopt;
}

std::string Bundle::localizedString(const std::string& key, const std::string& value) const {
    return value.empty() ? key : value;
}

}  // namespace platform
