#include "diagnostics/run/step_test.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(266));

}  // namespace

CDiagnostics_StepTestView::CDiagnostics_StepTestView() : CDiagnosticTestPage(266, "IDD_DIAGNOSTIC_STEP_TEST", 52, 500) {
  // Until the page runs its test: the status poll alone.
  m_steps = {StatusStep(1, 1)};
  m_nStartStep = 1;
}
