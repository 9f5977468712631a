#pragma once
// The pressure control settings.
#include "shell/configuration_page.h"

class CConfiguration_PressureControlView : public CConfigurationPage {
 public:
  CConfiguration_PressureControlView();
};
