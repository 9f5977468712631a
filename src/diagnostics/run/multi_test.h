#pragma once
// The multi-test page: it runs no timer of its own and leads to the test
// pages.
#include "shell/status_page.h"

class CDiagnostics_OfflineView : public CStatusPage {
 public:
  CDiagnostics_OfflineView();
  void StartMonitoring() override;
  void StopMonitoring() override {}
};
