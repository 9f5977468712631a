#include "views/config/sensor_calibration.h"

#include "shell/app.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(1081));

}  // namespace

CCalibration_SensorCalibView::CCalibration_SensorCalibView() : CConfigurationPage(1081, "EDT_ALM_CAL1", 62, 5000) {
  m_steps = {StatusStep(0, 0)};
}

void CCalibration_SensorCalibView::StopMonitoring() {
  CConfigurationPage::StopMonitoring();
  if (!m_bCalibrationInProgress) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_bySensorCalCmd = 0;
  Try("StopMonitoring", [&comm] { comm.WriteCalibCommand(); });
}
