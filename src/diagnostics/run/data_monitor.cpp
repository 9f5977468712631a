#include "diagnostics/run/data_monitor.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(254));

}  // namespace

CDiagnostics_DataMonitorView::CDiagnostics_DataMonitorView() : CStatusPage(254, "IDD_DIAGNOSTIC_DATALOGGER", 55, 1000) {}
