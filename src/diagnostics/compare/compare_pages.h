#pragma once
// The pages that compare two saved test files. They never talk to the
// device: no monitoring, no status header, and a timer message is ignored.
#include "shell/status_page.h"

class CDiagnostics_RampCompareView : public CTitledPage {
 public:
  CDiagnostics_RampCompareView();
  void OnTimer(UINT) override {}
};

class CDiagnostics_StepCompareView : public CTitledPage {
 public:
  CDiagnostics_StepCompareView();
  void OnTimer(UINT) override {}
};

class CDiagnostics_HDRLCompareView : public CTitledPage {
 public:
  CDiagnostics_HDRLCompareView();
  void OnTimer(UINT) override {}
};

class CDiagnostics_PSTCompareView : public CTitledPage {
 public:
  CDiagnostics_PSTCompareView();
  void OnTimer(UINT) override {}
};
