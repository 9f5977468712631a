#include "views/config/zero_supply.h"

#include <string>

#include "shell/app.h"
#include "shell/page_splitter.h"
#include "support/language_table.h"

using View = CCalibration_ZeroSupply;

namespace {

constexpr int kIdleStep = 1, kCaptureStep = 3;
enum Request { kMonitor = 1, kCaptureRequest = 2 };

std::vector<DialogItem> Items() {
  return {
      {1628, DlgKind::Static, "", 8, 32, 584, 20},
      {1627, DlgKind::Static, "", 8, 56, 584, 20},
      {905, DlgKind::Static, "A/D Count:", 8, 84, 60, 9},
      {View::kCountId, DlgKind::Edit, "", 72, 82, 60, 12, DS_READONLY},
      {View::kCaptureId, DlgKind::PushButton, "Capture Zero", 142, 80, 86, 16},
      {1629, DlgKind::Static, "", 8, 106, 584, 20},
      {View::kFinishId, DlgKind::PushButton, "Finish", 8, 130, 86, 16, DS_DISABLED},
      {1730, DlgKind::GroupBox, "", 104, 132, 90, 12, DS_HIDDEN},
  };
}

// No tree item gives this page a caption key.
constexpr const char* kTitle = "Zero Supply Calibration";
DialogTemplate Template() {
  DialogTemplate t = pages::MonitoringPageTemplate(421, {}, Items());
  t.items.front().text = kTitle;
  return t;
}
const plat::DialogTemplateRegistrar kTemplate(Template());

}  // namespace

View::CCalibration_ZeroSupply() : CConfigurationPage(421, nullptr, 63, 5000) {
  m_nStartRequest = kMonitor;
  m_nStartStep = kIdleStep;
  m_captions = {
      {"IDC_ILABELXINDICATOR", {1018}}, {"IDC_ILABELXSOURCE", {1019}}, {"IDC_STATICSAFE", {1628}},
      {"IDC_STATICREMOVING", {1627}},   {"IDC_STATICRESTORE", {1629}}, {"IDC_STATICAD1", {905}},
      {"IDC_CAPTURE_ZERO", {kCaptureId}}, {"IDC_BTN_FINISH", {kFinishId}},
  };
  m_toolTips = {
      {"IDC_ILED_ALARM", {120}},           {"EDT_ALARM_DESCRIPTION", {1012}},
      {"IDC_BTN_MODE", {1013}},            {"IDC_SUPPLY_ADCOUNTTIP", {kCountId}},
      {"IDC_CAPTURE_ZEROTIP", {kCaptureId}}, {"IDC_ILABEL_CLICKFIN", {kFinishId}},
      {"IDC_ILABELXSENSCALLINKTIP", {static_cast<int>(kSensorLinkId)}},
  };
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kIdleStep, "IDLE", {},
       [this, &comm] {
         if (m_pollCountdown.Due(2)) {
           PollStatusArea();
           return;
         }
         if (comm.ReadZeroSupplyState()) SetDlgItemText(kCountId, std::to_string(comm.m_wZeroSupplyState).c_str());
       },
       {}, kIdleStep},
      // The count last read, the one shown when Capture Zero was pressed,
      // becomes the zero.
      {kCaptureStep, "74", {}, [&comm] { comm.WriteZeroSupplyState(); },
       [this] {
         GetDlgItem(kCaptureId)->EnableWindow(TRUE);
         GetDlgItem(kFinishId)->EnableWindow(TRUE);
       },
       kIdleStep},
  };
  m_requests = {{kCaptureRequest, kCaptureStep}};
  MapCommand(BN_CLICKED, kCaptureId, [this] {
    GetDlgItem(kCaptureId)->EnableWindow(FALSE);
    m_nRequest = kCaptureRequest;
  });
  MapCommand(BN_CLICKED, kFinishId, &View::OnFinish);
  MapEvent(kSensorLinkId, 1, [this](const EventArgs&) { OnFinish(); });
}

void View::DoDataExchange(CDataExchange* pDX) {
  CConfigurationPage::DoDataExchange(pDX);
  DDX_Control(pDX, 1730, m_wndLinkPlace);
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pSensorLink = common.CreateLabelCtrl(this, &m_wndLinkHost, PlaceholderRect(m_wndLinkPlace), kSensorLinkId,
                                         TheLanguageTable().Lookup("IDC_ILABELXSENSCALLINK"));
  Try("link", [&] { common.SetupLabelFont(m_pSensorLink, 1); });
}

void View::OnFinish() {
  StopTimer();
  auto* splitter = dynamic_cast<CMySplitterWnd*>(GetParent());
  if (!splitter) return;
  if (CTarnixPage* page = splitter->SwitchView(0, 1, kSensorCalibrationPage)) page->StartMonitoring();
}
