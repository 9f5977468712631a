#pragma once
// The ramp test.
#include "shell/test_page.h"

class CDiagnostics_RampTestView : public CDiagnosticTestPage {
 public:
  CDiagnostics_RampTestView();
};
