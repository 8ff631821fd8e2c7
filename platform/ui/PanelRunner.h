#pragma once

#include <functional>
#include <utility>

namespace platform {

// One runner per kind of modal panel (alerts, file panels, colour and font panels): the window
// backend installs the on-screen one, tests their own; none means the panel's default answer.
template <typename Panel>
typename Panel::Runner& panelRunner() {
    static typename Panel::Runner runner;
    return runner;
}

template <typename Panel>
typename Panel::Runner installPanelRunner(typename Panel::Runner runner) {
    return std::exchange(panelRunner<Panel>(), std::move(runner));
}

template <typename Panel, typename Answer>
Answer runPanel(Panel& panel, Answer fallback) {
    typename Panel::Runner runner = panelRunner<Panel>();  // the runner may replace itself
    return runner ? runner(panel) : fallback;
}

}  // namespace platform
