#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {
class ViewController;
}

namespace zelvo {

// Interface files as code: initWithNibName: is a lookup of the name in one table
// (InterfaceFactory.cpp), each entry making its controller, which builds its own view. A name
// nobody has registered gives a plain controller with an empty view, so the main window stands
// while panels are still missing.
class InterfaceFactory {
  public:
    using Maker = std::function<std::shared_ptr<platform::ViewController>()>;

    static std::shared_ptr<platform::ViewController> makeViewController(const std::string& nibName);
    // Whether the name has a maker of its own.
    static bool hasViewController(const std::string& nibName);
    // Adds or replaces a maker (tests put fakes in place of panels).
    static void registerViewController(const std::string& nibName, Maker maker);
};

}  // namespace zelvo
