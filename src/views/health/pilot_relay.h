#pragma once
// The pilot relay against its limits.
#include "shell/monitoring_page.h"

class CHealth_Pos_PilotRelayView : public CMonitoringPage {
 public:
  CHealth_Pos_PilotRelayView();
};
