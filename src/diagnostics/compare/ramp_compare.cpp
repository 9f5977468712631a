#include "diagnostics/compare/ramp_compare.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::PlainPageTemplate(361));

}  // namespace

CDiagnostics_RampCompareView::CDiagnostics_RampCompareView() : CTitledPage(361, "IDD_DIAGNOSTIC_RAMPCOMPARE") {}
