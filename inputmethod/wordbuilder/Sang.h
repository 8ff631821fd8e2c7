#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillora::wordbuilder {

// The stem table "BaseSang": each romanised piece with the tokens of its alternatives, loaded from
// the resource "BaseSang.plist" at first use and kept for the life of the process.
class Sang {
  public:
    using Tokens = std::vector<std::string>;

    // Loads the table unless it is loaded. A missing or unreadable file leaves it unloaded: every
    // lookup answers absent and tries again.
    static void initialize();

    static std::optional<Tokens> searchBaseSang(const std::string& piece);
    // Tables of further and of the user's own pieces were planned and never filled: always absent.
    static std::optional<Tokens> searchExtendSang(const std::string& piece);
    static std::optional<Tokens> searchUserSang(const std::string& piece);

    // Forgets the loaded table; for tests that switch resource folders.
    static void reset();
};

}  // namespace quillora::wordbuilder
