#include "diagnostics/compare/partial_stroke_compare.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::PlainPageTemplate(368));

}  // namespace

CDiagnostics_PSTCompareView::CDiagnostics_PSTCompareView() : CTitledPage(368, "IDD_DIAGNOSTIC_PSTCOMPARE") {}
