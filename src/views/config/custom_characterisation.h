#pragma once
// The custom characterisation curve and the linkage linearisation.
#include "shell/configuration_page.h"

class CConfiguration_CustomCharView : public CConfigurationPage {
 public:
  CConfiguration_CustomCharView();
};
