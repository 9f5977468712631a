#pragma once
// Two saved HDRL tests side by side. The page never talks to the device: no monitoring, no
// status header, and a timer message is ignored.
#include "shell/status_page.h"

class CDiagnostics_HDRLCompareView : public CTitledPage {
 public:
  CDiagnostics_HDRLCompareView();
  void OnTimer(UINT) override {}
};
