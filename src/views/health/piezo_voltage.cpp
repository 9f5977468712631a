#include "views/health/piezo_voltage.h"

#include "common/pointer_colours.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"

namespace {

using P = CHealth_Pos_PiezoVolView;

constexpr int kGroup = 1834, kGaugePlace = 1833;

// The limits in volts, as the gauge's set-up places its markers 1 to 4.
constexpr gauges::AlarmWarningLimits kLimits{-8.0, 2.0, 20.0, 22.75};

// Caption, sign placeholder and image id (0: none), sign bitmap, box, unit
// and limit of each value, left to right.
struct ValueColumn {
  int caption, sign;
  UINT signId;
  int bitmap, box, unit;
  double limit;
};
constexpr ValueColumn kColumns[] = {
    {1523, 0, 0, 0, P::kValueBox, 1435, 0},
    {1844, 1840, 353, 156, P::kLowAlarmBox, 1308, kLimits.lowAlarm},
    {1845, 1839, 354, 154, P::kLowWarningBox, 1305, kLimits.lowWarning},
    {1524, 1841, 355, 157, P::kHighWarningBox, 1306, kLimits.highWarning},
    {1846, 1843, 356, 155, P::kHighAlarmBox, 1307, kLimits.highAlarm},
};

std::vector<DialogItem> Items() {
  std::vector<pages::GaugeValueColumn> columns;
  for (const ValueColumn& c : kColumns) columns.push_back({c.caption, c.sign, c.box, c.unit, "V"});
  return pages::GaugeValueItems(kGroup, "Piezo Voltage", kGaugePlace, columns, {12, 116, 58, 38, 8});
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(451, {}, Items()));

std::vector<CLimitGaugePage::Sign> Signs() {
  std::vector<CLimitGaugePage::Sign> signs;
  for (const ValueColumn& c : kColumns)
    if (c.sign) signs.push_back({c.sign, c.signId, c.bitmap});
  return signs;
}

}  // namespace

CHealth_Pos_PiezoVolView::CHealth_Pos_PiezoVolView()
    : CLimitGaugePage(451, "EDT_ALM_ELE4", 24, {kGaugePlace, kGaugeId, &CCommonFunctions::SetupPiezoVolGauge, Signs()}) {
  const std::vector<KeyedControls> captions = {
      {"EDT_ALM_ELE4", {kGroup}},
      {"IDC_ILABELXCURVAL", {1523}},
      {"IDC_ILABELXSUPPLOW", {1844}},
      {"IDC_ILABELXSUPPLOWARN", {1845}},
      {"IDC_ILABELXSUPPHIWARN", {1524}},
      {"IDC_ILABELXHIALM", {1846}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"PZOVALUE", {kValueBox}},
      {"IDC_EDIT_LOW_VOLTSTIP", {kLowAlarmBox}},
      {"IDC_EDIT_LOW_VOLTWARN", {kLowWarningBox}},
      {"IDC_EDIT_HIGH_WARNTIP", {kHighWarningBox}},
      {"IDC_EDIT_HIGH_ALRMTIP", {kHighAlarmBox}},
      {"PZOSETTINGS", {static_cast<int>(kGaugeId)}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kStartStep;
  m_steps = {
      {kStartStep, "START", {}, {}, {}, kRefreshStep},
      RefreshStep(kRefreshStep, 2, [&comm] { comm.ReadPiezoVoltage(); },
                  [this, &comm] { ShowValue(kValueBox, "%3.2f", comm.m_dPiezoVoltage); }),
  };
}

void CHealth_Pos_PiezoVolView::CreateControls() {
  CLimitGaugePage::CreateControls();
  for (const ValueColumn& c : kColumns)
    if (c.sign) SetDlgItemText(c.box, plat::FormatNumber("%g", c.limit).c_str());
}

COLORREF CHealth_Pos_PiezoVolView::PointerColour(double value, const std::vector<double>& markers) const {
  return gauges::AlarmWarningColour(value, {markers.at(0), markers.at(1), markers.at(2), markers.at(3)});
}
