#pragma once
// Two saved ramp tests side by side. The page never talks to the device: no monitoring, no
// status header, and a timer message is ignored.
#include "shell/status_page.h"

class CDiagnostics_RampCompareView : public CTitledPage {
 public:
  CDiagnostics_RampCompareView();
  void OnTimer(UINT) override {}
};
