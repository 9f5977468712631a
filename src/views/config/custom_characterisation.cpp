#include "views/config/custom_characterisation.h"

#include <algorithm>
#include <cmath>

#include "common/char_curve_kit.h"
#include "common/limit_gauge.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using View = CConfiguration_CustomCharView;

constexpr StatusHeaderIds kHeader{1060, 1288, 1013, 1018, 1019};
constexpr int kWarningPlace = 971, kInherentPlace = 974, kPlotPlace = 1287, kRangePlace = 753, kFormulaPlace = 975;
// The spin edits' placeholders, points 2 to 20.
constexpr std::array<int, View::kSpins> kSpinPlaces = {742, 741, 751, 732, 743, 733, 744, 734, 745, 735,
                                                       746, 736, 747, 737, 748, 738, 749, 739, 750};
constexpr int kLinkSteps[] = {1176, 1177, 1178, 1179};
constexpr UINT kGenerateBitmap = 144, kRestoreBitmap = 146, kFormulaPicture = 143;

std::vector<DialogItem> Items() {
  constexpr unsigned kPlace = DS_HIDDEN, kField = DS_READONLY | DS_CENTER;
  std::vector<DialogItem> items = {
      {633, DlgKind::Static,
       "Applying new custom characterization values while the positioner is set to CUSTOM will cause closure "
       "member movement.",
       8, 28, 200, 26},
      {972, DlgKind::Static, "Characterization Setting:", 8, 58, 86, 9},
      {View::kSettingEdit, DlgKind::Edit, "", 96, 56, 112, 12, kField},
      {635, DlgKind::Static, "Retreival Progress:", 8, 74, 86, 9},
      {View::kProgressId, DlgKind::Progress, "", 96, 73, 112, 10},
      {973, DlgKind::GroupBox, "Characterization Curve", 8, 88, 200, 256},
      {900, DlgKind::Static, "Input Signal %", 14, 99, 74, 9, DS_CENTER},
      {901, DlgKind::Static, "Output Signal %", 88, 99, 76, 9, DS_CENTER},
      {kPlotPlace, DlgKind::GroupBox, "", 216, 28, 376, 150, kPlace},
      {kWarningPlace, DlgKind::GroupBox, "", 216, 184, 210, 12, kPlace},
      {kInherentPlace, DlgKind::GroupBox, "", 216, 198, 150, 10, kPlace},
      {kRangePlace, DlgKind::GroupBox, "", 216, 212, 46, 14, kPlace},
      {kFormulaPlace, DlgKind::GroupBox, "", 268, 208, 90, 20, kPlace},
      {View::kGenerateId, DlgKind::PushButton, "", 364, 206, 24, 22, DS_BITMAP},
      {View::kRestoreId, DlgKind::PushButton, "", 394, 206, 24, 22, DS_BITMAP},
      {577, DlgKind::PushButton, "Default", 440, 184, 60, 15, DS_HIDDEN},
      {View::kLoadId, DlgKind::PushButton, "Load", 440, 186, 70, 15, DS_DISABLED},
      {View::kSaveId, DlgKind::PushButton, "Save", 518, 186, 70, 15, DS_DISABLED},
      {View::kApplyId, DlgKind::PushButton, "Apply", 440, 208, 70, 15, DS_DISABLED},
      {View::kRetrieveId, DlgKind::PushButton, "Retrieve", 518, 208, 70, 15, DS_DISABLED},
      {1180, DlgKind::GroupBox, " Optional Linkage Linearization Procedure", 216, 236, 376, 108},
      {kLinkSteps[0], DlgKind::CheckBox,
       "1. Ensure stroke calibration has been performed and the Curve is set to Linear.", 224, 247, 360, 10,
       DS_DISABLED},
      {kLinkSteps[1], DlgKind::CheckBox,
       "2. Adjust command signal so feedback arm is parallel to the slot in the take-off arm.", 224, 258, 360, 10,
       DS_DISABLED},
      {kLinkSteps[2], DlgKind::CheckBox, "3. Enter feedback arm length.", 224, 269, 360, 10, DS_DISABLED},
      {kLinkSteps[3], DlgKind::CheckBox, "4. Verify stroke length from Valve Trim page.", 224, 280, 360, 10,
       DS_DISABLED},
      {638, DlgKind::Static, "Arm Length:", 224, 296, 50, 9},
      {View::kArmLengthEdit, DlgKind::Edit, "", 276, 294, 40, 12, DS_DISABLED | DS_RIGHT},
      {639, DlgKind::Static, "in.", 319, 296, 18, 9},
      {640, DlgKind::Static, "Stroke Length:", 340, 296, 62, 9},
      {View::kStrokeLengthEdit, DlgKind::Edit, "", 404, 294, 40, 12, DS_DISABLED | DS_RIGHT},
      {View::kStrokeUnit, DlgKind::Static, "in.", 447, 296, 18, 9},
      {643, DlgKind::Static, "Position:", 468, 296, 48, 9},
      {View::kPositionEdit, DlgKind::Edit, "", 518, 294, 40, 12, DS_RIGHT},
      {642, DlgKind::Static, "Error:", 224, 311, 50, 9},
      {View::kErrorEdit, DlgKind::Edit, "", 276, 309, 232, 12, DS_READONLY},
      {View::kCalculateId, DlgKind::PushButton, "Calculate", 516, 308, 68, 14, DS_DISABLED},
      {1297, DlgKind::Static,
       "After calculating, select Apply to store the curve to the positioner.  Then change the characterization "
       "setting to Custom.",
       224, 325, 364, 17},
  };
  for (int row = 0; row < 21; ++row) {
    const int y = 110 + 11 * row;
    items.push_back({-1, DlgKind::Static, std::to_string(row + 1) + ".", 12, y + 1, 14, 9, DS_RIGHT});
    items.push_back({View::kInputEdits[static_cast<size_t>(row)], DlgKind::Edit, "", 32, y, 36, 10, kField});
    if (row == 0 || row == 20)
      items.push_back({row == 0 ? View::kOutputFirst : View::kOutputLast, DlgKind::Edit, "", 96, y, 60, 10, kField});
    else
      items.push_back({kSpinPlaces[static_cast<size_t>(row - 1)], DlgKind::GroupBox, "", 96, y, 60, 10, kPlace});
  }
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(290, kHeader, Items()));

enum Request { kApply = 2, kRetrieve = 3 };
enum Step : int { kPollStep = 1, kSetupStep = 4, kCurveStep = 8, kWriteStep = 11 };

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

void Tell(CWnd& page, const char* key) {
  page.MessageBox(Text(key).c_str(), theApp().m_strProductTitle.str().c_str(), MB_OK);
}

}  // namespace

View::CConfiguration_CustomCharView() : CConfigurationPage(290, "IDD_CONFIG_CUST_CHAR", 71, 5000, kHeader) {
  m_abIgnoreSpinEvent.fill(true);
  m_captions = {
      {"IDC_ILABELXINDICATOR", {1018}},
      {"IDC_ILABELXSOURCE", {1019}},
      {"IDC_STATIC_CHARIMPLICATIONS", {633}},
      {"IDC_STATIC_CHARSETTING", {972}},
      {"IDC_STATIC_RETRIEVAL", {635}},
      {"IDC_STATICCUSTOMCHARCURVE", {973}},
      {"IDC_STATICINPUTSIG", {900}},
      {"IDC_STATICOUTPUTSIG", {901}},
      {"IDC_STATICLINK", {1180}},
      {"LabelError", {642}},
      {"IDC_STATIC_ARMLEN", {638}},
      {"IDC_STATICSTRLEN", {640}},
      {"IDC_STATICPOSNLBL", {643}},
      {"IDC_BUTTON_DEFAULT", {577}},
      {"IDC_CHECKCAL", {kLinkSteps[0]}},
      {"IDC_CHECKARM", {kLinkSteps[1]}},
      {"IDC_CHECKENTERARM", {kLinkSteps[2]}},
      {"IDC_CHECKSTROKELEN", {kLinkSteps[3]}},
      {"IDC_CHECKCAL2", {1297}},
      {"IDC_BUTTON_CALC", {kCalculateId}},
      {"IDC_BUTTON_LOAD", {kLoadId}},
      {"IDC_BUTTON_SAVE", {kSaveId}},
      {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  std::vector<int> spinIds;
  for (int k = 0; k < kSpins; ++k) spinIds.push_back(static_cast<int>(kFirstSpinId) + k);
  m_toolTips = {
      {"IDC_ILED_ALARM", {static_cast<int>(pages::kStatusLedId)}},
      {"EDT_ALARM_DESCRIPTION", {1288}},
      {"IDC_BTN_MODE", {1013}},
      {"IDC_CHAR_SETTINGTIP", {kSettingEdit}},
      {"IDC_PROGRESSCHARTIP", {kProgressId}},
      {"TT_CUST_RANGE", {static_cast<int>(kRangeId)}},
      {"ENTERCHARVALUETIP", spinIds},
      {"CHECKCOMPLETE", {kLinkSteps[0], kLinkSteps[1], kLinkSteps[2], kLinkSteps[3]}},
      {"IDC_BUTTON_CURVETIP", {kGenerateId}},
      {"IDC_BUTTON_RESETTIP", {kRestoreId}},
      {"IDC_EDIT_ARMLEN", {kArmLengthEdit}},
      {"IDC_EDT_STROKE_LENGTHTIP", {kStrokeLengthEdit}},
      {"UNITEXPLAIN", {kStrokeUnit}},
      {"VeskPOSITIONTIP", {kPositionEdit}},
      {"LINEARERROR", {kErrorEdit}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
      {"IDC_BUTTON_CALCTIP", {kCalculateId}},
      {"IDC_BUTTON_LOADCHARTIP", {kLoadId}},
      {"IDC_BUTTON_SAVECHARTIP", {kSaveId}},
  };
  m_actionButtons = {kApplyId, kRetrieveId, kSaveId, kLoadId};
  m_nStartStep = kSetupStep;

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_requests = {
      {kApply, kWriteStep,
       [this] {
         if (!PrepareApply()) m_nStep = kPollStep;
       }},
      {kRetrieve, kCurveStep},
  };
  m_steps = {
      CountdownStatusStep(kPollStep, 2, kPollStep),
      {kSetupStep, "SETUP", {},
       [&comm] {
         comm.ReadCustomCharSetup();
         comm.ReadVar10();
       },
       [this] { ShowSetup(); }, kCurveStep},
      {kCurveStep, "CURVE", {}, [&comm] { comm.ReadCommand(134); }, [this] { ShowDeviceCurve(); }, kPollStep},
      {kWriteStep, "WRITE", {}, [this, &comm] { m_bWritten = comm.WriteCustomCurve(m_adWrite); },
       [this] { ShowWriteResult(); }, kPollStep},
  };

  for (auto [button, request] : {std::pair{kApplyId, kApply}, std::pair{kRetrieveId, kRetrieve}})
    MapCommand(BN_CLICKED, static_cast<UINT>(button), [this, request = request] {
      GetDlgItemAs<CProgressCtrl>(kProgressId)->SetPos(0);
      Request(request);
    });
  MapCommand(BN_CLICKED, kGenerateId, &View::OnGenerate);
  MapCommand(BN_CLICKED, kRestoreId, &View::OnRestore);
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::OnSave);
  MapCommand(BN_CLICKED, kCalculateId, &View::OnCalculate);
  using curves::LinkageInput;
  const std::pair<int, LinkageInput> linkage[] = {{kLinkSteps[0], LinkageInput::Step1},
                                                  {kLinkSteps[1], LinkageInput::Step2},
                                                  {kLinkSteps[2], LinkageInput::Step3},
                                                  {kLinkSteps[3], LinkageInput::Step4},
                                                  {kArmLengthEdit, LinkageInput::ArmLength}};
  for (auto [id, input] : linkage)
    MapCommand(id == kArmLengthEdit ? EN_CHANGE : BN_CLICKED, static_cast<UINT>(id), [this, input = input] {
      const double armLength = CCommonFunctions::ReadEditDouble(*this, kArmLengthEdit);
      ShowLinkage(curves::LinkageFollow(LinkageShown(), input, armLength));
    });
  for (int k = 0; k < kSpins; ++k) {
    MapEvent(kFirstSpinId + static_cast<UINT>(k), 202, [this, k](const EventArgs&) { OnOutputChanged(k, false); });
    MapEvent(kFirstSpinId + static_cast<UINT>(k), 203, [this, k](const EventArgs&) { OnOutputChanged(k, true); });
  }
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  size_t host = 0;
  auto place = [this](int id) {
    CWnd* wnd = GetDlgItem(id);
    return wnd ? PlaceholderRect(*wnd) : CRect();
  };
  for (int row = 0; row < 21; ++row)
    SetDlgItemText(kInputEdits[static_cast<size_t>(row)], std::to_string(5 * row).c_str());
  m_pWarning = common.CreateLabelCtrl(this, &m_wndHosts[host++], place(kWarningPlace), kWarningId,
                                      TheLanguageTable().Lookup("IDC_IPANELWARNING"));
  if (m_pWarning) Try("warning label", [&] { common.SetupCharViewLabel(m_pWarning, 0x0A0AFF); });
  m_pInherent = common.CreateLabelCtrl(this, &m_wndHosts[host++], place(kInherentPlace), kInherentId,
                                       TheLanguageTable().Lookup("IDC_ILABELINHERENT"));
  if (m_pInherent) Try("inherent label", [&] { common.SetupCustomCharLabel(m_pInherent); });
  m_pPlot = common.CreatePlot(this, &m_wndHosts[host++], place(kPlotPlace), kPlotId);
  if (m_pPlot)
    Try("plot", [&] {
      common.SetupCharacterizationPlot(m_pPlot);
      ComCheck(m_pPlot->ClearAllData());
      charcurve::SetPlotCaptions(m_pPlot, "IDC_STATICCUSTOMCHARCURVE");
    });
  m_spnRangeability = common.CreateSpinEditCtrl(this, &m_wndHosts[host++], place(kRangePlace), kRangeId);
  if (m_spnRangeability)
    Try("rangeability", [&] {
      ComCheck(m_spnRangeability->put_Min(30));
      ComCheck(m_spnRangeability->put_Max(300));
      ComCheck(m_spnRangeability->put_IntValue(30));
    });
  m_pFormula = common.CreateImageDisplay(this, &m_wndHosts[host++], place(kFormulaPlace), kFormulaId,
                                         static_cast<int>(kFormulaPicture));
  for (int k = 0; k < kSpins; ++k) {
    ISpinEditXPtr& spin = m_spnOutput[static_cast<size_t>(k)];
    spin = common.CreateSpinEditCtrl(this, &m_wndHosts[host++], place(kSpinPlaces[static_cast<size_t>(k)]),
                                     kFirstSpinId + static_cast<UINT>(k));
    if (spin)
      Try("output spin", [&] {
        ComCheck(spin->put_Min(0));
        ComCheck(spin->put_Max(100));
      });
  }
  const std::pair<CBitmap*, std::pair<int, UINT>> bitmaps[] = {{&m_bmpGenerate, {kGenerateId, kGenerateBitmap}},
                                                               {&m_bmpRestore, {kRestoreId, kRestoreBitmap}}};
  for (const auto& [bitmap, target] : bitmaps)
    if (bitmap->LoadBitmap(target.second))
      if (CWnd* button = GetDlgItem(target.first))
        button->SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap->GetSafeHandle()));
}

void View::OnShown() {
  m_abIgnoreSpinEvent.fill(false);
  // The linkage procedure's state follows variable 229.
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.ReadCustomCharVar229();
  ShowLinkage(curves::LinkageOnShow(LinkageShown(), comm.m_byActTypeCode));
}

curves::LinkageSteps View::LinkageShown() const {
  curves::LinkageSteps steps;
  for (size_t i = 0; i < steps.ticked.size(); ++i) {
    const auto* box = GetDlgItemAs<CButton>(kLinkSteps[i]);
    steps.enabled[i] = box->IsWindowEnabled();
    steps.ticked[i] = box->GetCheck() == BST_CHECKED;
  }
  steps.armLength = GetDlgItem(kArmLengthEdit)->IsWindowEnabled();
  steps.strokeLength = GetDlgItem(kStrokeLengthEdit)->IsWindowEnabled();
  steps.calculate = GetDlgItem(kCalculateId)->IsWindowEnabled();
  return steps;
}

void View::ShowLinkage(const curves::LinkageSteps& steps) {
  for (size_t i = 0; i < steps.ticked.size(); ++i) {
    auto* box = GetDlgItemAs<CButton>(kLinkSteps[i]);
    box->EnableWindow(steps.enabled[i]);
    box->SetCheck(steps.ticked[i] ? BST_CHECKED : BST_UNCHECKED);
  }
  GetDlgItem(kArmLengthEdit)->EnableWindow(steps.armLength);
  GetDlgItem(kStrokeLengthEdit)->EnableWindow(steps.strokeLength);
  GetDlgItem(kCalculateId)->EnableWindow(steps.calculate);
}

void View::ShowSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  if (const char* key = charcurve::SettingKey(comm.m_bySoftConfig, comm.m_byStrokeCharSel))
    SetDlgItemText(kSettingEdit, Text(key).c_str());
  SetDlgItemText(kStrokeUnit, comm.m_strTravelUnits.str().c_str());
  SetDlgItemText(kStrokeLengthEdit, plat::FormatNumber("%3.2f", comm.m_dVar116).c_str());
  SetDlgItemText(kPositionEdit, plat::FormatNumber("%3.2f", comm.m_dVar10).c_str());
}

void View::ShowDeviceCurve() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (comm.m_byEcho134 != 0) {
    m_pdOutput = comm.m_adCustCharY;
  } else {
    Tell(*this, "IOMODULE_ERROR");
    comm.ReadCommand(134);
  }
  Try("plot curve", [this] {
    PlotCurve(m_pdOutput);
    charcurve::FitAxes(m_pPlot);
  });
  Try("curve values", [this] { ShowCurveValues(); });
  EnableActionButtons(TRUE);
  m_previous.Retrieved(m_pdOutput);
}

void View::ShowCurve(const curves::Outputs& outputs) {
  Try("curve", [&] {
    PlotCurve(outputs);
    ShowCurveValues();
  });
}

void View::PlotCurve(const curves::Outputs& outputs) {
  IiPlotChannelPtr channel = theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, charcurve::kChannel);
  ComCheck(channel->Clear());
  auto* progress = GetDlgItemAs<CProgressCtrl>(kProgressId);
  progress->SetRange(0, 20);
  for (int i = 0; i < curves::kPoints; ++i) {
    ComCheck(channel->AddXY(curves::InputAt(i), outputs[static_cast<size_t>(i)], nullptr));
    progress->SetPos(i);
  }
}

void View::ShowCurveValues() {
  IiPlotChannelPtr channel = theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, charcurve::kChannel);
  LONG count = 0;
  ComCheck(channel->GetCount(&count));
  for (LONG i = 0; i < count; ++i) {
    double x = 0, y = 0;
    ComCheck(channel->GetX(i, &x));
    ComCheck(channel->GetY(i, &y));
    if (!(std::fabs(x) < 1000)) continue;
    const int input = static_cast<int>(x);
    if (input < 0 || input > 100 || input % 5 != 0) continue;
    const int point = input / 5 + 1;
    SetDlgItemText(kInputEdits[static_cast<size_t>(point - 1)], std::to_string(input).c_str());
    if (point == 1 || point == 21)
      SetDlgItemText(point == 1 ? kOutputFirst : kOutputLast, limits::VariantText(y).c_str());
    else
      ComCheck(GetSpin(point)->put_Value(y));
  }
}

void View::OnGenerate() {
  double rangeability = 0;
  Try("rangeability", [&] { ComCheck(m_spnRangeability->get_Value(&rangeability)); });
  // Out of range the fields still follow the plot as it stands.
  if (const std::optional<curves::Outputs> curve = curves::GeneratedCurve(rangeability))
    ShowCurve(*curve);
  else
    Try("curve values", [this] { ShowCurveValues(); });
}

void View::OnRestore() {
  if (const std::optional<curves::Outputs>& previous = m_previous.Restore()) ShowCurve(*previous);
}

void View::OnLoad() {
  Try("curve file", [this] {
    theApp().m_CommonFunctions.OpenCharCurveFile(m_pPlot);
    ShowCurveValues();
  });
}

void View::OnSave() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  common.m_strFileTag = theApp().m_comm.m_strTag;
  Try("curve file", [&] { common.SaveCharCurveFile(m_pPlot); });
}

// The result or the advice goes to the "Error:" field; advice leaves the
// curve as it is.
void View::OnCalculate() {
  const curves::LinkageResult result = curves::Linearise(CCommonFunctions::ReadEditDouble(*this, kStrokeLengthEdit),
                                                         CCommonFunctions::ReadEditDouble(*this, kArmLengthEdit),
                                                         CCommonFunctions::ReadEditDouble(*this, kPositionEdit));
  if (result.curve) ShowCurve(*result.curve);
  SetDlgItemText(kErrorEdit, result.message.c_str());
}

// The last point's field takes any text: one that begins with no finite
// number gives NaN, which Apply refuses.
double View::OutputOf(int point) const {
  double value = 0;
  if (point == 21)
    value = plat::LeadingNumber(GetDlgItemText(kOutputLast).c_str()).value_or(std::nan(""));
  else
    ComCheck(GetSpin(point)->get_Value(&value));
  return value;
}

// The spin edits' limits hold for every point, the last one too: a curve
// from a file or the linkage could hold more than a 16-bit word carries.
bool View::PrepareApply() {
  std::array<double, 21> hundredths{};  // point 1 always goes out as 0
  for (int point = 2; point <= 21; ++point) {
    const double value = OutputOf(point);
    if (!std::isfinite(value)) {
      WriteLog("Custom curve not written: point " + std::to_string(point) + " is not a number.");
      Tell(*this, "CUSTCHARINVALID");
      EnableActionButtons(TRUE);
      return false;
    }
    hundredths[static_cast<size_t>(point - 1)] = std::clamp(value, 0.0, 100.0) * 100;
  }
  m_previous.Applying(m_pdOutput);
  m_adWrite = hundredths;
  return true;
}

// Without an answer the device keeps its curve: the page keeps the curve
// it last read and the fields as edited, and says so.
void View::ShowWriteResult() {
  if (m_bWritten) {
    ShowDeviceCurve();
    return;
  }
  WriteLog("Custom curve not written: the device did not answer.");
  Tell(*this, "CUSTCHARNOTWRITTEN");
  EnableActionButtons(TRUE);
}

void View::OnOutputChanged(int k, bool gated) {
  if (gated && m_abIgnoreSpinEvent[static_cast<size_t>(k)]) return;
  double value = 0;
  ComCheck(m_spnOutput[static_cast<size_t>(k)]->get_Value(&value));
  value = plat::HeldTo(value, 0.0, 100.0);
  IiPlotChannelPtr channel = theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, charcurve::kChannel);
  LONG count = 0;
  ComCheck(channel->GetCount(&count));
  if (k + 1 >= count) return;  // no curve shown yet
  ComCheck(channel->SetY(k + 1, value));
}
