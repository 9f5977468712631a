#pragma once
// Valve cycles and travel against their limits.
#include "shell/monitoring_page.h"

class CHealth_Val_CycleAndTravelsView : public CMonitoringPage {
 public:
  CHealth_Val_CycleAndTravelsView();
};
