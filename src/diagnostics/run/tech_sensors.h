#pragma once
// The positioner's raw sensor readings for the technician.
#include "shell/status_page.h"

class CDiagnostics_TechSensorsView : public CStatusPage {
 public:
  CDiagnostics_TechSensorsView();
};
