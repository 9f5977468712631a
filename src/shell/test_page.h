#pragma once
// The frame of the four test pages: showing one makes the multi-test page
// the one that a multi-test run reports to.
#include "shell/status_page.h"

class CDiagnosticTestPage : public CStatusPage {
 public:
  using CStatusPage::CStatusPage;
  void StartMonitoring() override;
};
