#include "diagnostics/run/hdrl_test.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(270));

}  // namespace

CDiagnostics_HDRLView::CDiagnostics_HDRLView() : CDiagnosticTestPage(270, "IDD_DIAGNOSTIC_HDRL", 54, 500) {}
