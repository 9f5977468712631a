#include "views/status/tech_annunciator.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(413));

}  // namespace

CAlarm_TechAnnunciatorView::CAlarm_TechAnnunciatorView() : CMonitoringPage(413, "IDD_TECHANNUNCIATOR", 82, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
