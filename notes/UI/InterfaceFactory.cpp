#include "notes/UI/InterfaceFactory.h"

#include <map>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/FileViewController.h"
#include "notes/UI/InfoViewController.h"
#include "notes/UI/NoteViewController.h"
#include "notes/UI/UnicodeViewController.h"
#include "platform/ui/ViewController.h"

namespace zelvo {

namespace {

template <typename Controller>
InterfaceFactory::Maker maker() {
    return [] { return std::make_shared<Controller>(); };
}

// One entry per interface file of a view controller. Panels join by adding their line here.
std::map<std::string, InterfaceFactory::Maker>& table() {
    static std::map<std::string, InterfaceFactory::Maker> makers = {
        {"FileViewController", maker<FileViewController>()},
        {"NoteViewController", maker<NoteViewController>()},
        {"EditorViewController", maker<EditorViewController>()},
        {"UnicodeViewController", maker<UnicodeViewController>()},
        {"InfoViewController", maker<InfoViewController>()},
    };
    return makers;
}

}  // namespace

std::shared_ptr<platform::ViewController> InterfaceFactory::makeViewController(
    const std::string& nibName) {
    auto it = table().find(nibName);
    if (it != table().end()) return it->second();
    return std::make_shared<platform::ViewController>(nibName);
}

bool InterfaceFactory::hasViewController(const std::string& nibName) {
    return table().count(nibName) != 0;
}

void InterfaceFactory::registerViewController(const std::string& nibName, Maker maker) {
    table()[nibName] = std::move(maker);
}

}  // namespace zelvo
