#pragma once
// The step test.
#include "shell/test_page.h"

class CDiagnostics_StepTestView : public CDiagnosticTestPage {
 public:
  CDiagnostics_StepTestView();
};
