#include "diagnostics/run/partial_stroke_test.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(274));

}  // namespace

CDiagnostics_PSTView::CDiagnostics_PSTView() : CDiagnosticTestPage(274, "PARTTEST", 53, 5000) {
  // Until the page runs its test: the status poll alone.
  m_steps = {StatusStep(1, 1)};
  m_nStartStep = 1;
}
