#include "diagnostics/run/ramp_test.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(268));

}  // namespace

CDiagnostics_RampTestView::CDiagnostics_RampTestView() : CDiagnosticTestPage(268, "IDD_DIAGNOSTIC_RAMP_TEST", 51, 1000) {
  // Until the page runs its test: the status poll alone.
  m_steps = {StatusStep(1, 1)};
  m_nStartStep = 1;
}
