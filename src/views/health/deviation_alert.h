#pragma once
// The deviation alert with its limits and histogram.
#include "shell/monitoring_page.h"

class CHealth_Ctl_DeviationView : public CMonitoringPage {
 public:
  CHealth_Ctl_DeviationView();
};
