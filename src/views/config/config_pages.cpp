// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "views/config/config_pages.h"

#include "shell/app.h"

namespace {

using pages::StatusPageTemplate;

constexpr StatusHeaderIds kErrorsHeader{1060, 1251, 1013};
constexpr StatusHeaderIds kStrokeCharHeader{1060, 1288, 1013};
// No tree item gives this page a caption key.
constexpr const char* kZeroSupplyTitle = "Zero Supply Calibration";

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(StatusPageTemplate(1081)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(261)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(150, kErrorsHeader)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(481)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(428, kStrokeCharHeader)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(290)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(421, {}, kZeroSupplyTitle)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(236)),
};

}  // namespace

CCalibration_SensorCalibView::CCalibration_SensorCalibView() : CStatusPage(1081, "EDT_ALM_CAL1", 62, 5000) {}

void CCalibration_SensorCalibView::StopMonitoring() {
  CStatusPage::StopMonitoring();
  if (!m_bCalibrationInProgress) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_bySensorCalCmd = 0;
  Guarded("StopMonitoring", [&comm] { comm.WriteCalibCommand(); });
}

CCalibration_CommandCalibView::CCalibration_CommandCalibView() : CStatusPage(261, "EDT_ALM_CAL2", 61, 5000) {}

CCalibration_ErrorsView::CCalibration_ErrorsView() : CStatusPage(150, "CALERRORS", 64, 4000, kErrorsHeader) {}

CConfiguration_PressureControlView::CConfiguration_PressureControlView()
    : CStatusPage(481, "IDC_STATICSTABLITYLBL", 74, 5000) {}

CConfiguration_StrokeCharView::CConfiguration_StrokeCharView()
    : CStatusPage(428, "IDC_BUTTON_CUS_CHAR", 70, 5000, kStrokeCharHeader) {}

CConfiguration_CustomCharView::CConfiguration_CustomCharView()
    : CStatusPage(290, "IDD_CONFIG_CUST_CHAR", 71, 5000) {}

CCalibration_ZeroSupply::CCalibration_ZeroSupply() : CStatusPage(421, nullptr, 63, 5000) {}

CConfiguration_PosHartInformationView::CConfiguration_PosHartInformationView()
    : CStatusPage(236, "IDC_BUTTON_INFO_HART", 83, 5000) {}
