#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// NSBundle of the running program: where its resources are and what it calls itself. Each program
// names itself once at start-up (setMain); until then the bundle is the anonymous "program".
//
// The resource folder is, first that applies: $<PROGRAM>_RESOURCES (QUILLORA_RESOURCES,
// ZELVO_RESOURCES); <exe>/../share/<program> when it exists (an installed program); the build
// tree's resources/<program> (the build copies and generates resources there); the source tree's
// resources/<program>. It is chosen once, at the first question.
class Bundle {
  public:
    static Bundle& mainBundle();
    // Names the program ("quillora", "zelvo") and its identifier; forgets an earlier choice of
    // resource folder, so tests can switch programs and folders.
    static void setMain(const std::string& program, const std::string& identifier);

    // The environment variable that names a program's resource folder: "ZELVO_RESOURCES" for
    // "zelvo".
    static std::string resourceVariable(const std::string& program);

    const std::string& programName() const { return m_program; }
    const std::string& bundleIdentifier() const { return m_identifier; }

    // The resource folder (resourcePath), and the folder the program runs from (bundlePath).
    std::filesystem::path resourcePath() const;
    std::filesystem::path bundlePath() const;

    // The file "<name>.<type>" (or "<name>" for an empty type) in the resource folder; absent
    // when it does not exist.
    std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                         const std::string& type) const;
    // The same file as a file: URL (escaped, so any folder name opens); absent as above.
    std::optional<std::string> URLForResource(const std::string& name,
                                              const std::string& type) const;

    // Information values: "CFBundleVersion", "CFBundleShortVersionString", "CFBundleName",
    // "CFBundleIdentifier"; absent for other keys.
    std::optional<std::string> infoValue(const std::string& key) const;

    // There are no translation tables: the value when it is not empty, else the key.
    std::string localizedString(const std::string& key, const std::string& value) const;

  private:
    Bundle() = default;

    std::string m_program = "program";
    std::string m_identifier;
    mutable std::optional<std::filesystem::path> m_resourcePath;
};

}  // namespace platform
