// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "diagnostics/compare/compare_pages.h"

namespace {

using pages::PlainPageTemplate;

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(PlainPageTemplate(361)),
    plat::DialogTemplateRegistrar(PlainPageTemplate(1089)),
    plat::DialogTemplateRegistrar(PlainPageTemplate(1088)),
    plat::DialogTemplateRegistrar(PlainPageTemplate(368)),
};

}  // namespace

CDiagnostics_RampCompareView::CDiagnostics_RampCompareView() : CTitledPage(361, "IDD_DIAGNOSTIC_RAMPCOMPARE") {}

CDiagnostics_StepCompareView::CDiagnostics_StepCompareView() : CTitledPage(1089, "IDD_DIAGNOSTIC_STEPCOMPARE") {}

CDiagnostics_HDRLCompareView::CDiagnostics_HDRLCompareView() : CTitledPage(1088, "IDD_DIAGNOSTIC_HDRLCOMPARE") {}

CDiagnostics_PSTCompareView::CDiagnostics_PSTCompareView() : CTitledPage(368, "IDD_DIAGNOSTIC_PSTCOMPARE") {}
