// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "views/health/health_pages.h"

namespace {

using pages::StatusPageTemplate;

constexpr StatusHeaderIds kCycleAndTravelsHeader{1544, 1012, 1556};
constexpr StatusHeaderIds kActuatorHeader{1060, 1288, 1624};
constexpr StatusHeaderIds kControlHeader{1065, 1012, 1013};

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(StatusPageTemplate(1077)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(382, kCycleAndTravelsHeader)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(1079)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(386)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(283)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(451)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(1080, kActuatorHeader)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(388, kControlHeader)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(398)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(245)),
};

}  // namespace

CHealth_Val_MainView::CHealth_Val_MainView() : CStatusPage(1077, "IDD_HEALTH_VALVE", 31, 5000) {}

CHealth_Val_CycleAndTravelsView::CHealth_Val_CycleAndTravelsView()
    : CStatusPage(382, "VALCYCANDTRAVMENU", 33, 5000, kCycleAndTravelsHeader) {}

CHealth_Pos_MainView::CHealth_Pos_MainView() : CStatusPage(1079, "IDD_HEALTH_POSITIONER", 21, 5000) {}

CHealth_Pos_TempAndHumidityView::CHealth_Pos_TempAndHumidityView() : CStatusPage(386, "IDC_BTN_TEMP", 22, 5000) {}

CHealth_Pos_PilotRelayView::CHealth_Pos_PilotRelayView() : CStatusPage(283, "PILOTMENU", 23, 5000) {}

CHealth_Pos_PiezoVolView::CHealth_Pos_PiezoVolView() : CStatusPage(451, "EDT_ALM_ELE4", 24, 5000) {}

CHealth_Act_MainView::CHealth_Act_MainView() : CStatusPage(1080, "IDD_HEALTH_ACTUATOR", 41, 5000, kActuatorHeader) {}

CHealth_Ctl_MainView::CHealth_Ctl_MainView() : CStatusPage(388, "CTRLHEALTH", 25, 5000, kControlHeader) {}

CHealth_Ctl_DeviationView::CHealth_Ctl_DeviationView() : CStatusPage(398, "IDC_BTN_DEVIATION", 26, 5000) {}

CHealth_Ctl_PosAlertsView::CHealth_Ctl_PosAlertsView() : CStatusPage(245, "POSNALERT", 27, 5000) {}
