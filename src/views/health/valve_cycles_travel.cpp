#include "views/health/valve_cycles_travel.h"

namespace {

constexpr StatusHeaderIds kHeader{1544, 1012, 1556};
const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(382, kHeader));

}  // namespace

CHealth_Val_CycleAndTravelsView::CHealth_Val_CycleAndTravelsView() : CMonitoringPage(382, "VALCYCANDTRAVMENU", 33, 5000, kHeader) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
