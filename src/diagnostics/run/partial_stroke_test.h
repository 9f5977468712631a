#pragma once
// The partial stroke test. Its period is 5000 ms while idle and 500 ms during a test.
#include "shell/test_page.h"

class CDiagnostics_PSTView : public CDiagnosticTestPage {
 public:
  CDiagnostics_PSTView();
};
