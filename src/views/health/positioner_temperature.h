#pragma once
// The positioner's temperature against its limits.
#include "shell/monitoring_page.h"

class CHealth_Pos_TempAndHumidityView : public CMonitoringPage {
 public:
  CHealth_Pos_TempAndHumidityView();
};
