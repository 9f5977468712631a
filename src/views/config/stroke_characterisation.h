#pragma once
// The characterisation curve of the stroke.
#include "shell/configuration_page.h"

class CConfiguration_StrokeCharView : public CConfigurationPage {
 public:
  CConfiguration_StrokeCharView();
};
