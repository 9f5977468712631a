#pragma once
// The frame of the dashboard, alarm and health pages: the step machine
// with the monitoring header, whose LED, indicator and source carry
// captions and tool tips of their own.
#include "shell/step_page.h"

class CMonitoringPage : public CStepPage {
 public:
  CMonitoringPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids = {});
};
