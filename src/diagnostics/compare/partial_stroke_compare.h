#pragma once
// Two saved partial stroke tests side by side. The page never talks to the device: no monitoring, no
// status header, and a timer message is ignored.
#include "shell/status_page.h"

class CDiagnostics_PSTCompareView : public CTitledPage {
 public:
  CDiagnostics_PSTCompareView();
  void OnTimer(UINT) override {}
};
