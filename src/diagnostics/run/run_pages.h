#pragma once
// The diagnostic pages that talk to the device: online and offline
// diagnostics, the data monitor, the four test pages and the technician's
// sensors.
#include "shell/status_page.h"

// An empty page.
class CDiagnostics_OnlineView : public CTitledPage {
 public:
  CDiagnostics_OnlineView();
};

class CDiagnostics_DataMonitorView : public CStatusPage {
 public:
  CDiagnostics_DataMonitorView();
};

// The multi-test page: it runs no timer of its own and leads to the test
// pages.
class CDiagnostics_OfflineView : public CStatusPage {
 public:
  CDiagnostics_OfflineView();
  void StartMonitoring() override;
  void StopMonitoring() override {}
};

// A test page; showing it makes the offline page the one that a multi-test
// run reports to.
class CDiagnosticTestPage : public CStatusPage {
 public:
  using CStatusPage::CStatusPage;
  void StartMonitoring() override;
};

class CDiagnostics_RampTestView : public CDiagnosticTestPage {
 public:
  CDiagnostics_RampTestView();
};

class CDiagnostics_StepTestView : public CDiagnosticTestPage {
 public:
  CDiagnostics_StepTestView();
};

class CDiagnostics_HDRLView : public CDiagnosticTestPage {
 public:
  CDiagnostics_HDRLView();
};

// Its period is 5000 ms while idle and 500 ms during a test.
class CDiagnostics_PSTView : public CDiagnosticTestPage {
 public:
  CDiagnostics_PSTView();
};

class CDiagnostics_TechSensorsView : public CStatusPage {
 public:
  CDiagnostics_TechSensorsView();
};
