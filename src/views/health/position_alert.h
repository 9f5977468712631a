#pragma once
// The position alerts with their limits and histogram.
#include "shell/monitoring_page.h"

class CHealth_Ctl_PosAlertsView : public CMonitoringPage {
 public:
  CHealth_Ctl_PosAlertsView();
};
