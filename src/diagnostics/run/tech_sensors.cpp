#include "diagnostics/run/tech_sensors.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(411));

}  // namespace

CDiagnostics_TechSensorsView::CDiagnostics_TechSensorsView() : CStatusPage(411, "IDD_TECHSENSORS", 81, 5000) {}
