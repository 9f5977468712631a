#include "diagnostics/run/online.h"

#include "platform/win/dialog_template.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(DialogTemplate{203, 112, 57, {}});

}  // namespace

CDiagnostics_OnlineView::CDiagnostics_OnlineView() : CTarnixPage(203) {}
