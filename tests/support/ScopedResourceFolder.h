#pragma once

#include <filesystem>
#include <string>

#include "platform/foundation/Bundle.h"
#include "tests/support/ScopedEnvironment.h"

// Makes `program` the main bundle (named `identifier`, by default "test.<program>") with its
// resource folder at `folder` ($<PROGRAM>_RESOURCES) for the life of the object; afterwards the
// bundle chooses its folder afresh.
class ScopedResourceFolder {
  public:
    ScopedResourceFolder(const std::string& program, const std::filesystem::path& folder,
                         const std::string& identifier = {})
        : m_program(program),
          m_identifier(identifier.empty() ? "test." + program : identifier),
          m_variable(platform::Bundle::resourceVariable(program)),
          m_environment(m_variable.c_str(), folder.string()) {
        platform::Bundle::setMain(m_program, m_identifier);
    }
    ~ScopedResourceFolder() { platform::Bundle::setMain(m_program, m_identifier); }
    ScopedResourceFolder(const ScopedResourceFolder&) = delete;
    ScopedResourceFolder& operator=(const ScopedResourceFolder&) = delete;

  private:
    std::string m_program;
    std::string m_identifier;
    std::string m_variable;
    ScopedEnvironment m_environment;
};
