#pragma once
// The alert rows of the actuator.
#include "shell/monitoring_page.h"

class CHealth_Act_MainView : public CMonitoringPage {
 public:
  CHealth_Act_MainView();
};
