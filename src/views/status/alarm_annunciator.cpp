#include "views/status/alarm_annunciator.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(286));

}  // namespace

CAlarm_AnnunciatorView::CAlarm_AnnunciatorView() : CMonitoringPage(286, "IDC_BUTTON_ALMANNUCIATE", 11, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
