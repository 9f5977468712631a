#pragma once
// Two saved step tests side by side. The page never talks to the device: no monitoring, no
// status header, and a timer message is ignored.
#include "shell/status_page.h"

class CDiagnostics_StepCompareView : public CTitledPage {
 public:
  CDiagnostics_StepCompareView();
  void OnTimer(UINT) override {}
};
