#pragma once
// The alert rows of the actuator.
#include "shell/health_page.h"

class CHealth_Act_MainView : public CHealthPage {
 public:
  // This page moves the frame's first and mask steps two on.
  enum Step : int { kStartStep = 7, kMaskReadStep = 9, kMaskApplyStep = 11 };
  CHealth_Act_MainView();
};
