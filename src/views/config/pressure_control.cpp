#include "views/config/pressure_control.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"

namespace {

using View = CConfiguration_PressureControlView;

constexpr StatusHeaderIds kHeader{1011, 1012, 1013};
constexpr int kTogglePlace = 212, kWindowPlace = 1802;
constexpr int kStabilityLabel = 968;
// Bit 6 of the software configuration: set = valve stability off.
constexpr BYTE kStabilityOff = 0x40;

// ---- Dialog 481, in dialog units.

std::vector<DialogItem> Items() {
  constexpr int gx = 8, gy = 30, gw = 330;
  return {
      {1808, DlgKind::GroupBox, "", gx, gy, gw, 160},
      {1081, DlgKind::Static, "", gx + 10, gy + 14, gw - 20, 36},
      {1806, DlgKind::Static, "", gx + 10, gy + 56, 40, 9},
      {View::kLockText, DlgKind::Static, "", gx + 52, gy + 54, 140, 12, DS_SUNKEN},
      {kStabilityLabel, DlgKind::Static, "", gx + 10, gy + 76, 200, 9},
      {919, DlgKind::Static, "", gx + 10, gy + 100, 70, 9, DS_RIGHT},
      {kTogglePlace, DlgKind::GroupBox, "", gx + 86, gy + 88, 24, 34, DS_HIDDEN},
      {920, DlgKind::Static, "", gx + 116, gy + 100, 70, 9},
      {1804, DlgKind::Static, "", gx + 10, gy + 138, 40, 9},
      {kWindowPlace, DlgKind::GroupBox, "", gx + 52, gy + 135, 50, 14, DS_HIDDEN},
      {1353, DlgKind::Static, "%", gx + 106, gy + 138, 12, 9},
      {View::kApplyId, DlgKind::PushButton, "", gx + gw - 122, gy + 168, 58, 15, DS_DISABLED},
      {View::kRetrieveId, DlgKind::PushButton, "", gx + gw - 58, gy + 168, 58, 15, DS_DISABLED},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(481, kHeader, Items()));

enum Request { kApply = 2, kRetrieve = 3 };
enum Step : int { kLockStep = 1, kPollStep = 3, kReadStep = 5, kWriteStep = 9 };

}  // namespace

View::CConfiguration_PressureControlView() : CConfigurationPage(481, "IDC_STATICSTABLITYLBL", 74, 5000, kHeader) {
  m_captions = pages::HeaderCaptions(kHeader);
  m_toolTips = pages::HeaderToolTips(kHeader);
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICSTABLITYLBL", {1808}}, {"IDC_VALSTABLITYINFO", {1081}},   {"IDC_STATICAISTATUS", {1806}},
      {"IDC_STATICSTABLLO", {919}},       {"IDC_STATICSTABLHI", {920}},      {"IDC_STATICWINDOW", {1804}},
      {"IDC_BUTTON_APPLY", {kApplyId}},   {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_STATICVALSTATBILITYSTATUS", {kLockText}}, {"IDC_ACT_SWT_STABILITYTIP", {kToggleId}},
      {"IDC_VALSTABILITYWINDOW", {kWindowSpinId}},    {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kReadStep;
  m_actionButtons = {kApplyId, kRetrieveId};
  // Variable 56 goes back whole: Apply waits for this visit's read of it,
  // so that the other configuration bits are never written from a guess.
  HoldButtonUntil(kApplyId, [this] { return m_bSettingsRead; });
  m_requests = {{kApply, kWriteStep, [this] { CollectSettings(); }}, {kRetrieve, kReadStep}};
  m_steps = {
      {kLockStep, "LOCK", {}, [&comm] { comm.ReadCommand(132); },
       [this, &comm] {
         SetDlgItemText(kLockText, TheLanguageTable().Lookup(comm.m_byCmdPos0 ? "PCTRLLOCKED" : "PCTRLTRACK").str().c_str());
         EnableActionButtons(TRUE);
       },
       kPollStep},
      {kPollStep, "STAT",
       [this] { return m_pollCountdown.Due(8); },
       [this] { PollStatusArea(); }, {}, kLockStep},
      {kReadStep, "READ", {}, [this, &comm] { m_bSettingsRead = comm.ReadPressureControl() || m_bSettingsRead; },
       [this] { ShowPressureControl(); }, kLockStep},
      {kWriteStep, "WRITE", {}, [&comm] { comm.WritePressureControl(); }, {}, kReadStep},
  };
  MapCommand(BN_CLICKED, kApplyId, [this] { EnableActionButtons(FALSE), m_nRequest = kApply; });
  MapCommand(BN_CLICKED, kRetrieveId, [this] { EnableActionButtons(FALSE), m_nRequest = kRetrieve; });
  MapEvent(kToggleId, 2, [this](const EventArgs&) { OnStabilityToggleChange(); });
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  if (CWnd* place = GetDlgItem(kTogglePlace))
    m_pToggle = common.CreateSwitchToggle(this, &m_wndHosts[0], PlaceholderRect(*place), kToggleId);
  if (CWnd* place = GetDlgItem(kWindowPlace))
    m_pWindow = common.CreateSpinEditCtrl(this, &m_wndHosts[1], PlaceholderRect(*place), kWindowSpinId);
  if (m_pWindow) {
    ComCheck(m_pWindow->put_Decimals(1));
    ComCheck(m_pWindow->put_Min(0.0));
    ComCheck(m_pWindow->put_Max(100.0));
    ComCheck(m_pWindow->put_Increment(0.1));
  }
  // The label above the toggle: the page's caption followed by a colon.
  SetDlgItemText(kStabilityLabel, (TheLanguageTable().Lookup("IDC_STATICSTABLITYLBL").str() + ":").c_str());
}

void View::OnShown() {
  m_bSettingsRead = false;
  EnableActionButtons(FALSE);
}

bool View::ToggleOn() const {
  BOOL on = FALSE;
  if (m_pToggle) ComCheck(m_pToggle->get_Active(&on));
  return on;
}

void View::CollectSettings() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_bySoftConfig = static_cast<BYTE>(ToggleOn() ? comm.m_bySoftConfig & ~kStabilityOff
                                                     : comm.m_bySoftConfig | kStabilityOff);
  // A typed value outside the spin edit's bounds goes out as the bound.
  double value = 0, low = 0, high = 0;
  ComCheck(m_pWindow->get_Value(&value));
  ComCheck(m_pWindow->get_Min(&low));
  ComCheck(m_pWindow->get_Max(&high));
  comm.m_dVar43 = plat::HeldTo(value, low, high);
}

void View::ShowPressureControl() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  Try("toggle", [&] { ComCheck(m_pToggle->put_Active((comm.m_bySoftConfig & kStabilityOff) == 0)); });
  Try("window", [&] {
    ComCheck(m_pWindow->put_Value(comm.m_dVar43));
    ComCheck(m_pWindow->put_Enabled(ToggleOn()));
  });
}

void View::OnStabilityToggleChange() {
  if (m_pWindow) ComCheck(m_pWindow->put_Enabled(ToggleOn()));
}
