#pragma once
// The alert rows of the control loop.
#include "shell/monitoring_page.h"

class CHealth_Ctl_MainView : public CMonitoringPage {
 public:
  CHealth_Ctl_MainView();
};
