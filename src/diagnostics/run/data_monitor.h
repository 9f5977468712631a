#pragma once
// The data monitor: six live device values recorded over time.
#include "shell/status_page.h"

class CDiagnostics_DataMonitorView : public CStatusPage {
 public:
  CDiagnostics_DataMonitorView();
};
