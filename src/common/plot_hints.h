#pragma once
// The plot tool bar's hints in the user's language, for the plots that
// offer the scroll, zoom, select and cursor buttons.
#include "platform/com/com_error.h"
#include "support/language_table.h"

namespace plothints {

// Each button by its built-in hint, and the key of its text.
inline constexpr const char* kToolButtons[][2] = {
    {"Scroll (Axes)", "SCROLLICON"},     {"Resume All (Tracking)", "RESUMEALL"}, {"Zoom (Axes)", "ZOOMAXES"},
    {"Zoom Out All Axes", "ZOOMOUTALL"}, {"Zoom In All Axes", "ZOOMINALL"},      {"Select", "CURSORSELECT"},
    {"Zoom Box", "ZOOMBOX"},             {"Cursor", "CURSOR"},
};

// Either plot kind.
template <class Plot>
void Translate(Plot& plot) {
  for (const auto& [button, key] : kToolButtons)
    ComCheck(plot->ReplaceHintText(button, TheLanguageTable().Lookup(key)));
}

}  // namespace plothints
