#include "notes/UI/InterfaceFactory.h"

#include <map>

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

// A panel controller that makes its view itself (viewPointer) without being a ViewController,
// seen as one: the view is the panel's, and the panel lives as long as the adapter.
template <typename Panel>
class PanelAdapter : public platform::ViewController {
  public:
    explicit PanelAdapter(std::string nibName)
        : ViewController(std::move(nibName)), m_panel(std::make_shared<Panel>()) {}
    Panel& panel() const { return *m_panel; }

  protected:
    void loadView() override { setView(m_panel->viewPointer()); }

  private:
    std::shared_ptr<Panel> m_panel;
};

InterfaceFactory::Maker noteListMaker() {
    return [] {
        auto adapter = std::make_shared<PanelAdapter<NoteViewController>>("NoteViewController");
        NoteViewController* panel = &adapter->panel();
        // The window toolbar's add and remove items reach the note list by these actions.
        adapter->registerAction("addNote:", [panel] { panel->addNote(); });
        adapter->registerAction("removeNote:", [panel] { panel->removeNote(); });
        return std::shared_ptr<platform::ViewController>(adapter);
    };
}

// One entry per interface file of a view controller. Panels join by adding their line here.
std::map<std::string, InterfaceFactory::Maker>& table() {
    static std::map<std::string, InterfaceFactory::Maker> makers = {
        {"FileViewController",
         [] { return std::make_shared<PanelAdapter<FileViewController>>("FileViewController"); }},
        {"NoteViewController", noteListMaker()},
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
