#pragma once
// The valve, positioner, actuator and control-loop health pages.
#include "shell/status_page.h"

class CHealth_Val_MainView : public CMonitoringPage {
 public:
  CHealth_Val_MainView();
};

class CHealth_Val_CycleAndTravelsView : public CMonitoringPage {
 public:
  CHealth_Val_CycleAndTravelsView();
};

class CHealth_Pos_MainView : public CMonitoringPage {
 public:
  CHealth_Pos_MainView();
};

class CHealth_Pos_TempAndHumidityView : public CMonitoringPage {
 public:
  CHealth_Pos_TempAndHumidityView();
};

class CHealth_Pos_PilotRelayView : public CMonitoringPage {
 public:
  CHealth_Pos_PilotRelayView();
};

class CHealth_Pos_PiezoVolView : public CMonitoringPage {
 public:
  CHealth_Pos_PiezoVolView();
};

class CHealth_Act_MainView : public CMonitoringPage {
 public:
  CHealth_Act_MainView();
};

class CHealth_Ctl_MainView : public CMonitoringPage {
 public:
  CHealth_Ctl_MainView();
};

class CHealth_Ctl_DeviationView : public CMonitoringPage {
 public:
  CHealth_Ctl_DeviationView();
};

class CHealth_Ctl_PosAlertsView : public CMonitoringPage {
 public:
  CHealth_Ctl_PosAlertsView();
};
