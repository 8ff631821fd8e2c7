#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/ui/AboutPanel.h"
#include "platform/ui/Alert.h"
#include "platform/ui/ColorPanel.h"
#include "platform/ui/FontPanel.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/PreferencePanel.h"
#include "platform/ui/SavePanel.h"

namespace platform::gtk {

// The GTK halves of the panels, which install() puts into a set; the display must be open.
// The preference and about panels drawn with GTK widgets (GtkPanels.cpp).
std::unique_ptr<PreferencePanel::Backend> makePreferencePanel();
std::unique_ptr<AboutPanel::Backend> makeAboutPanel();
// The modal panels as GTK dialogs run on the main loop (GtkAlert.cpp, GtkSavePanel.cpp,
// GtkOpenPanel.cpp, GtkColorPanel.cpp, GtkFontPanel.cpp).
int runAlert(const Alert& alert);
// The alert shown modal to the window that has the focus, answered through its "response" signal.
void beginAlertSheet(const Alert& alert, std::function<void(int index)> answered);
std::optional<std::string> runSavePanel(SavePanel& panel);
std::optional<std::vector<std::string>> runOpenPanel(const OpenPanel& panel);
std::optional<Color> runColorPanel(const ColorPanel& panel);
std::optional<FontPanel::Choice> runFontPanel();

}  // namespace platform::gtk
