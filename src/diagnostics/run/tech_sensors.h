#pragma once
// The positioner's raw sensor readings for the technician, with the
// communication failure count: a status poll and a read of the sensors in
// turn, one per tick. Read only; no buttons.
#include "shell/step_page.h"

class CDiagnostics_TechSensorsView : public CStepPage {
 public:
  // The value fields.
  enum : int {
    kCommandCountId = 1562,
    kLoopCurrentId = 1563,
    kPilotCommandId = 1565,
    kHallCountId = 1566,
    kHallVoltsId = 1567,
    kPositionId = 1571,
    kPositionCountId = 1572,
    kRetriesId = 1581,
  };
  enum Step : int { kPollStep = 1, kReadStep = 2 };

  CDiagnostics_TechSensorsView();

 protected:
  void OnShown() override;

 private:
  void ShowSensorValues();
};
