#include "app/page_table.h"

#include "diagnostics/compare/hdrl_compare.h"
#include "diagnostics/compare/partial_stroke_compare.h"
#include "diagnostics/compare/ramp_compare.h"
#include "diagnostics/compare/step_compare.h"
#include "diagnostics/run/data_monitor.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/online.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "diagnostics/run/tech_sensors.h"
#include "views/config/calibration_errors.h"
#include "views/config/command_calibration.h"
#include "views/config/custom_characterisation.h"
#include "views/config/hart_information.h"
#include "views/config/pressure_control.h"
#include "views/config/sensor_calibration.h"
#include "views/config/stroke_characterisation.h"
#include "views/config/zero_supply.h"
#include "views/health/actuator_health.h"
#include "views/health/control_loop_health.h"
#include "views/health/deviation_alert.h"
#include "views/health/piezo_voltage.h"
#include "views/health/pilot_relay.h"
#include "views/health/position_alert.h"
#include "views/health/positioner_health.h"
#include "views/health/positioner_temperature.h"
#include "views/health/valve_cycles_travel.h"
#include "views/health/valve_health.h"
#include "views/status/alarm_annunciator.h"
#include "views/status/dashboard.h"
#include "views/status/event_history.h"
#include "views/status/management_annunciator.h"
#include "views/status/tech_annunciator.h"

namespace {

template <class Page>
CTarnixPage* Make() {
  return new Page;
}

#define TARNIX_PAGE(index, Class) PageEntry{index, #Class, &Make<Class>}

const std::array<PageEntry, 35> kPages = {
    TARNIX_PAGE(1, CDashboardView),
    TARNIX_PAGE(2, CAlarm_AnnunciatorView),
    TARNIX_PAGE(3, CAlarm_ManagementAnnunciatorView),
    TARNIX_PAGE(4, CAlarm_EventHistoryView),
    TARNIX_PAGE(5, CHealth_Val_MainView),
    TARNIX_PAGE(6, CHealth_Val_CycleAndTravelsView),
    TARNIX_PAGE(7, CHealth_Pos_MainView),
    TARNIX_PAGE(8, CHealth_Pos_TempAndHumidityView),
    TARNIX_PAGE(9, CHealth_Pos_PilotRelayView),
    TARNIX_PAGE(10, CHealth_Pos_PiezoVolView),
    TARNIX_PAGE(11, CHealth_Act_MainView),
    TARNIX_PAGE(12, CHealth_Ctl_MainView),
    TARNIX_PAGE(13, CHealth_Ctl_DeviationView),
    TARNIX_PAGE(14, CHealth_Ctl_PosAlertsView),
    TARNIX_PAGE(15, CDiagnostics_OnlineView),
    TARNIX_PAGE(16, CDiagnostics_DataMonitorView),
    TARNIX_PAGE(17, CDiagnostics_OfflineView),
    TARNIX_PAGE(18, CDiagnostics_RampTestView),
    TARNIX_PAGE(19, CDiagnostics_RampCompareView),
    TARNIX_PAGE(20, CDiagnostics_StepTestView),
    TARNIX_PAGE(21, CDiagnostics_StepCompareView),
    TARNIX_PAGE(22, CDiagnostics_HDRLView),
    TARNIX_PAGE(23, CDiagnostics_HDRLCompareView),
    TARNIX_PAGE(24, CDiagnostics_PSTView),
    TARNIX_PAGE(25, CDiagnostics_PSTCompareView),
    TARNIX_PAGE(26, CCalibration_SensorCalibView),
    TARNIX_PAGE(27, CCalibration_CommandCalibView),
    TARNIX_PAGE(28, CCalibration_ErrorsView),
    TARNIX_PAGE(30, CConfiguration_PressureControlView),
    TARNIX_PAGE(31, CConfiguration_StrokeCharView),
    TARNIX_PAGE(32, CConfiguration_CustomCharView),
    TARNIX_PAGE(33, CCalibration_ZeroSupply),
    TARNIX_PAGE(34, CAlarm_TechAnnunciatorView),
    TARNIX_PAGE(35, CDiagnostics_TechSensorsView),
    TARNIX_PAGE(36, CConfiguration_PosHartInformationView),
};

#undef TARNIX_PAGE

}  // namespace

const std::array<PageEntry, 35>& PageTable() { return kPages; }

CTarnixPage* CreatePage(int viewIndex) {
  for (const PageEntry& entry : kPages)
    if (entry.viewIndex == viewIndex) return entry.create();
  return nullptr;
}
