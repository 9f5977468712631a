#pragma once
// A placeholder for on-line diagnostics: an empty form that the frame
// keeps as page 15, which no tree item shows.
#include "shell/page.h"

class CDiagnostics_OnlineView : public CTarnixPage {
 public:
  CDiagnostics_OnlineView();
  void OnTimer(UINT) override {}
};
