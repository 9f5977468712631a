// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "views/health/health_pages.h"

namespace {

using pages::MonitoringPageTemplate;

constexpr StatusHeaderIds kCycleAndTravelsHeader{1544, 1012, 1556};
constexpr StatusHeaderIds kActuatorHeader{1060, 1288, 1624};
constexpr StatusHeaderIds kControlHeader{1065, 1012, 1013};

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(1077)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(382, kCycleAndTravelsHeader)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(1079)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(386)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(283)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(451)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(1080, kActuatorHeader)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(388, kControlHeader)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(398)),
    plat::DialogTemplateRegistrar(MonitoringPageTemplate(245)),
};

}  // namespace

CHealth_Val_MainView::CHealth_Val_MainView() : CMonitoringPage(1077, "IDD_HEALTH_VALVE", 31, 5000) { m_nStartStep = 5; }

CHealth_Val_CycleAndTravelsView::CHealth_Val_CycleAndTravelsView()
    : CMonitoringPage(382, "VALCYCANDTRAVMENU", 33, 5000, kCycleAndTravelsHeader) {
  m_nStartStep = 5;
}

CHealth_Pos_MainView::CHealth_Pos_MainView() : CMonitoringPage(1079, "IDD_HEALTH_POSITIONER", 21, 5000) {
  m_nStartStep = 5;
}

CHealth_Pos_TempAndHumidityView::CHealth_Pos_TempAndHumidityView() : CMonitoringPage(386, "IDC_BTN_TEMP", 22, 5000) {
  m_nStartStep = 5;
}

CHealth_Pos_PilotRelayView::CHealth_Pos_PilotRelayView() : CMonitoringPage(283, "PILOTMENU", 23, 5000) {
  m_nStartStep = 5;
}

CHealth_Pos_PiezoVolView::CHealth_Pos_PiezoVolView() : CMonitoringPage(451, "EDT_ALM_ELE4", 24, 5000) {
  m_nStartStep = 5;
}

CHealth_Act_MainView::CHealth_Act_MainView() : CMonitoringPage(1080, "IDD_HEALTH_ACTUATOR", 41, 5000, kActuatorHeader) {
  m_nStartStep = 7;
}

CHealth_Ctl_MainView::CHealth_Ctl_MainView() : CMonitoringPage(388, "CTRLHEALTH", 25, 5000, kControlHeader) {
  m_nStartStep = 5;
}

CHealth_Ctl_DeviationView::CHealth_Ctl_DeviationView() : CMonitoringPage(398, "IDC_BTN_DEVIATION", 26, 5000) {
  m_nStartStep = 7;
}

CHealth_Ctl_PosAlertsView::CHealth_Ctl_PosAlertsView() : CMonitoringPage(245, "POSNALERT", 27, 5000) {
  m_nStartStep = 7;
}
