#pragma once

// Internal to platform/graphics (only its sources see pango/): the one Pango setup every
// measurement and drawing shares.

#include <pango/pangocairo.h>

#include <string>

#include "platform/foundation/Owned.h"

namespace platform::pango_support {

using LayoutOwner = Owned<PangoLayout, g_object_unref>;
using FontOwner = Owned<PangoFont, g_object_unref>;
using FontDescriptionOwner = Owned<PangoFontDescription, pango_font_description_free>;
using FontMetricsOwner = Owned<PangoFontMetrics, pango_font_metrics_unref>;
using AttrListOwner = Owned<PangoAttrList, pango_attr_list_unref>;

// The process-wide font map and context: resolution 72 (one point is one unit), metrics not
// hinted, glyph positions not rounded, so measurements do not depend on the device drawn to.
PangoContext* sharedContext();

// A description of the family at an absolute size in points.
FontDescriptionOwner newFontDescription(const std::string& family, double size);

inline double fromPango(int units) {
    return static_cast<double>(units) / PANGO_SCALE;
}
int toPango(double points);

}  // namespace platform::pango_support
