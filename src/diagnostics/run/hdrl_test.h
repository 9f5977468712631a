#pragma once
// The HDRL test: resolution, hysteresis plus dead band, repeatability and linearity.
#include "shell/test_page.h"

class CDiagnostics_HDRLView : public CDiagnosticTestPage {
 public:
  CDiagnostics_HDRLView();
};
