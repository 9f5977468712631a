#include "views/status/alarm_annunciator.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"

namespace {

using alarms::kAnnunciatorGroups;
using alarms::kAnnunciatorRows;

constexpr int kColumn = 196;
constexpr int kLegendBox = 1180, kLegendLamp = 1181, kLegendText = 1182, kLegendMasked = 1189;
constexpr int kReportValuesStep = 10;

// ---- Dialog 286, in dialog units.

std::vector<DialogItem> AnnunciatorItems() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kAnnunciatorGroups, kAnnunciatorRows, kColumn);
  const int x = 8 + 2 * kColumn;
  const int y = pages::AnnunciatorColumnBottom(kAnnunciatorGroups, kAnnunciatorRows, 2) + 6;
  const std::vector<DialogItem> more = {
      {kLegendBox, DlgKind::GroupBox, "", x, y, kColumn - 8, 42},
      {kLegendLamp, DlgKind::GroupBox, "", x + 8, y + 12, 10, 10, DS_HIDDEN},
      {kLegendText, DlgKind::Static, "", x + 24, y + 13, 150, 9},
      {kLegendMasked, DlgKind::CheckBox, "", x + 24, y + 26, 150, 10, DS_MANUAL},
      // The report and print engines sit here, unseen.
      {1413, DlgKind::GroupBox, "", x, 322, 10, 10, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", x + 12, 322, 10, 10, DS_HIDDEN},
  };
  items.insert(items.end(), more.begin(), more.end());
  const std::vector<DialogItem> buttons = pages::AnnunciatorButtons(x, 300);
  items.insert(items.end(), buttons.begin(), buttons.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(286, {}, AnnunciatorItems()));

}  // namespace

CAlarm_AnnunciatorView::CAlarm_AnnunciatorView()
    : CAnnunciatorPage(286, "IDC_BUTTON_ALMANNUCIATE", 11, kAnnunciatorRows) {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pActiveFlags = common.m_bAlarmActive.data();
  m_pMaskedFlags = common.m_bAlarmMasked.data();
  for (const alarms::AlarmGroup& g : kAnnunciatorGroups) m_captions.push_back({g.captionKey, {g.box}});
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICLEGEND", {kLegendBox}},
      {"IDC_STATICAISTATUSWO", {kLegendText}},
      {"IDC_LBLMASKED2", {kLegendMasked}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  m_toolTips.push_back({"IDC_BTN_PRINT", {kPrintId}});

  m_steps.push_back({kReportValuesStep, "REPORT", {}, {},
                     [this] {
                       m_nRequest = kReportRequest;
                       FillReportValues();
                     },
                     kRefreshStep});
  AddReport(&CCommonFunctions::GenerateAlarmAnnunciatorReport, "AlarmReport2.xml");
}

void CAlarm_AnnunciatorView::OnInitialUpdate() {
  CAnnunciatorPage::OnInitialUpdate();
  CheckDlgButton(kLegendMasked, 1);
}

void CAlarm_AnnunciatorView::CreateControls() {
  CAnnunciatorPage::CreateControls();
  CreateLegendLamp(alarms::Lamp::Round, kLegendLamp, 256);
}

void CAlarm_AnnunciatorView::OnPrintReport() {
  StopTimer();
  EnableActionButtons(FALSE);
  CWexletCoreCommunication& comm = theApp().m_comm;
  // Without a reply the report shows what the image holds.
  Try("OnPrintReport", [&comm] {
    comm.ReadConfiguration();
    comm.ReadAnnunciatorSetup();
    comm.ReadAnnunciatorValues();
  });
  m_nRequest = 0;  // an Apply or Retrieve not yet carried out is dropped
  m_nStep = kReportValuesStep;
  ArmTimer();
}

void CAlarm_AnnunciatorView::FillReportValues() {
  const CWexletCoreCommunication& c = theApp().m_comm;
  TextArray<59>& v = theApp().m_CommonFunctions.m_strAlarmValues;
  const auto whole = [](auto n) { return _bstr_t(std::to_string(n)); };
  // As a double shows in a text, without fixed decimals.
  const auto plain = [](double d) { return _bstr_t(plat::FormatNumber("%.15g", d)); };
  const _bstr_t travelUnit(" x 10e2 %");
  v[0] = whole(c.m_nValveCycles);
  v[1] = whole(c.m_nValveTravel) + travelUnit;
  v[6] = whole(c.m_nVar335);
  v[7] = whole(c.m_nVar331) + travelUnit;
  v[8] = plat::FormatNumber("%.1f", c.m_dVar12Annunc);
  v[9] = plat::FormatNumber("%5.0f", c.m_dVar295);
  v[10] = plat::FormatNumber("%2.1f", c.m_dPiezoVoltage);
  v[20] = plat::FormatNumber("%5.1f", c.m_dTemperatureAnnunc);
  v[21] = v[20];
  v[22] = c.m_strVar152;
  v[25] = whole(c.m_dwValveCycLimit306);
  v[26] = whole(c.m_dwValveTravelLimit302);
  v[31] = whole(c.m_nVar336);
  v[32] = whole(c.m_nVar332);
  v[33] = plat::FormatNumber("%.0f", c.m_dDeviationLimit);
  v[34] = plat::FormatNumber("%.0f", c.m_dVar297);
  v[35] = plat::FormatNumber("%.0f", c.m_dVar296);
  v[44] = plain(c.m_dVar62Annunc);
  v[45] = plain(c.m_dVar63Annunc);
  v[46] = plain(c.m_dVar117Annunc);
  v[47] = plain(c.m_dVar118Annunc);
  v[53] = whole(c.m_nTempHour5);
  v[54] = whole(c.m_nTempHour6);
}
