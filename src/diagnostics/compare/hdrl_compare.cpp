#include "diagnostics/compare/hdrl_compare.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::PlainPageTemplate(1088));

}  // namespace

CDiagnostics_HDRLCompareView::CDiagnostics_HDRLCompareView() : CTitledPage(1088, "IDD_DIAGNOSTIC_HDRLCOMPARE") {}
