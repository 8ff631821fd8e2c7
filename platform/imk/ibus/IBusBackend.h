#pragma once

#include <memory>

#include "platform/imk/InputServer.h"

namespace platform::imk::ibus {

// The one way a program puts its input method on IBus: connects to the daemon and registers the
// engine the options describe. The server that answers is the caller's; null when the daemon
// cannot be reached (no daemon, no address) or refuses the name.
std::unique_ptr<InputServer> install(InputServer::Options options);

}  // namespace platform::imk::ibus
