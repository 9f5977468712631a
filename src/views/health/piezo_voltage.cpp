#include "views/health/piezo_voltage.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(451));

}  // namespace

CHealth_Pos_PiezoVolView::CHealth_Pos_PiezoVolView() : CMonitoringPage(451, "EDT_ALM_ELE4", 24, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
