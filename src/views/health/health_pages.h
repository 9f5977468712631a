#pragma once
// The valve, positioner, actuator and control-loop health pages.
#include "shell/status_page.h"

class CHealth_Val_MainView : public CStatusPage {
 public:
  CHealth_Val_MainView();
};

class CHealth_Val_CycleAndTravelsView : public CStatusPage {
 public:
  CHealth_Val_CycleAndTravelsView();
};

class CHealth_Pos_MainView : public CStatusPage {
 public:
  CHealth_Pos_MainView();
};

class CHealth_Pos_TempAndHumidityView : public CStatusPage {
 public:
  CHealth_Pos_TempAndHumidityView();
};

class CHealth_Pos_PilotRelayView : public CStatusPage {
 public:
  CHealth_Pos_PilotRelayView();
};

class CHealth_Pos_PiezoVolView : public CStatusPage {
 public:
  CHealth_Pos_PiezoVolView();
};

class CHealth_Act_MainView : public CStatusPage {
 public:
  CHealth_Act_MainView();
};

class CHealth_Ctl_MainView : public CStatusPage {
 public:
  CHealth_Ctl_MainView();
};

class CHealth_Ctl_DeviationView : public CStatusPage {
 public:
  CHealth_Ctl_DeviationView();
};

class CHealth_Ctl_PosAlertsView : public CStatusPage {
 public:
  CHealth_Ctl_PosAlertsView();
};
