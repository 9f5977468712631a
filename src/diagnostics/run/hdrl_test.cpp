#include "diagnostics/run/hdrl_test.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(270));

}  // namespace

CDiagnostics_HDRLView::CDiagnostics_HDRLView() : CDiagnosticTestPage(270, "IDD_DIAGNOSTIC_HDRL", 54, 500) {
  // Until the page runs its test: the status poll alone.
  m_steps = {StatusStep(1, 1)};
  m_nStartStep = 1;
}
