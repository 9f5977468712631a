#pragma once
// The HART identity: tag, descriptor, message and date.
#include "shell/configuration_page.h"

class CConfiguration_PosHartInformationView : public CConfigurationPage {
 public:
  CConfiguration_PosHartInformationView();
};
