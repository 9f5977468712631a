#include "views/health/pilot_relay.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(283));

}  // namespace

CHealth_Pos_PilotRelayView::CHealth_Pos_PilotRelayView() : CMonitoringPage(283, "PILOTMENU", 23, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
