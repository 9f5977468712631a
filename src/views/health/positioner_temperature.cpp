#include "views/health/positioner_temperature.h"

#include <string>

#include "common/pointer_colours.h"
#include "platform/com/com_error.h"
#include "shell/app.h"

namespace {

using H = CHealth_Pos_TempAndHumidityView;

constexpr int kGroup = 1364, kGaugePlace = 1779, kLowSignPlace = 1780, kHighSignPlace = 472;
constexpr int kValueCaption = 1485, kLowCaption = 1487, kHighCaption = 1488;

// The low and high warnings in the units that have them; any other unit
// code leaves the warnings as they were.
struct UnitWarnings {
  BYTE code;
  int low, high;
};
constexpr UnitWarnings kWarnings[] = {{32, -40, 80}, {33, -40, 178}};

// The value and its two warnings, left to right.
constexpr pages::GaugeValueColumn kColumns[] = {
    {kValueCaption, 0, H::kValueBox, H::kValueUnit, ""},
    {kLowCaption, kLowSignPlace, H::kLowBox, H::kLowUnit, ""},
    {kHighCaption, kHighSignPlace, H::kHighBox, H::kHighUnit, ""},
};

std::vector<DialogItem> Items() {
  return pages::GaugeValueItems(kGroup, "Positioner Temperature", kGaugePlace, kColumns, {40, 186, 58, 44, 20});
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(386, {}, Items()));

}  // namespace

CHealth_Pos_TempAndHumidityView::CHealth_Pos_TempAndHumidityView()
    : CLimitGaugePage(386, "IDC_BTN_TEMP", 22,
                      {kGaugePlace,
                       kGaugeId,
                       &CCommonFunctions::SetupTempHumidityGauge,
                       {{kLowSignPlace, kLowSignId, 154}, {kHighSignPlace, kHighSignId, 155}}}) {
  const std::vector<KeyedControls> captions = {
      {"IDC_GB_POSNTEMP", {kGroup}},
      {"IDC_ILABELXCURVAL", {kValueCaption}},
      {"IDC_ILABELXSUPPLOWARN", {kLowCaption}},
      {"IDC_ILABELXSUPPHIWARN", {kHighCaption}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"VeskTEMP_TOOL_TIP", {kValueBox}},
      {"IDC_EDIT_Temp_Low_WarnTIP", {kLowBox}},
      {"IDC_EDIT_Temp_High_WarnTIP", {kHighBox}},
      {"IDC_LINEAR_Pos_Temp", {static_cast<int>(kGaugeId)}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kStartStep;
  m_steps = {
      {kStartStep, "UNIT", {}, [&comm] { comm.ReadVar152(); }, [this] { ShowUnits(); }, kRefreshStep},
      RefreshStep(kRefreshStep, 3, [&comm] { comm.ReadTemperature(); },
                  [this, &comm] { ShowValue(kValueBox, "%3.1f", comm.m_dTemperature); }),
  };
}

void CHealth_Pos_TempAndHumidityView::CreateControls() {
  CLimitGaugePage::CreateControls();
  Try("gauge", [this] { ComCheck(m_pGauge->put_Value(-50.0)); });
}

COLORREF CHealth_Pos_TempAndHumidityView::PointerColour(double value, const std::vector<double>& markers) const {
  return gauges::BandColour(value, markers.at(0), markers.at(1));
}

void CHealth_Pos_TempAndHumidityView::ShowUnits() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  // Before any read of the unit has succeeded the image has no scale to
  // give, and the set-up's layout stays.
  if (comm.m_strVar152.empty()) return;
  for (int id : {kValueUnit, kLowUnit, kHighUnit}) SetDlgItemText(id, comm.m_strVar152.c_str());
  // The scale from the unit code itself: the image's scale fields may hold
  // the narrower one of the annunciator's read of the same variable.
  const status::TemperatureScale scale = status::TemperatureScaleOf(comm.m_byTempUnitCode);
  Try("gauge", [&] {
    ComCheck(m_pGauge->put_ScaleMax(scale.max));
    ComCheck(m_pGauge->put_ScaleMin(scale.min));
  });
  for (const UnitWarnings& w : kWarnings) {
    if (w.code != comm.m_byTempUnitCode) continue;
    SetDlgItemText(kLowBox, std::to_string(w.low).c_str());
    SetDlgItemText(kHighBox, std::to_string(w.high).c_str());
    Try("gauge", [&] {
      ComCheck(m_pGauge->put_ElementPosition(1, w.low));
      ComCheck(m_pGauge->put_ElementPosition(2, w.high));
    });
  }
}
