#include "diagnostics/compare/step_compare.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::PlainPageTemplate(1089));

}  // namespace

CDiagnostics_StepCompareView::CDiagnostics_StepCompareView() : CTitledPage(1089, "IDD_DIAGNOSTIC_STEPCOMPARE") {}
