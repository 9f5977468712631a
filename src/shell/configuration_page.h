#pragma once
// The frame of the configuration and calibration pages: the step machine
// of the monitoring pages under a plain status header (LED, indicator and
// source without captions). Showing a page starts it at request 1 and its
// first step with the header of the last poll.
#include "shell/step_page.h"

class CConfigurationPage : public CStepPage {
 public:
  using CStepPage::CStepPage;
};
