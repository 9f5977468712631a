#pragma once
// The alert rows of the actuator.
#include "shell/health_page.h"

class CHealth_Act_MainView : public CHealthPage {
 public:
  CHealth_Act_MainView();
};
