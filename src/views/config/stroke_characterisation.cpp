#include "views/config/stroke_characterisation.h"

#include "common/char_curve_kit.h"
#include "shell/app.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using View = CConfiguration_StrokeCharView;

constexpr StatusHeaderIds kHeader{1060, 1288, 1013, 1286, 1019};
constexpr int kWarningPlace = 971, kNotePlace = 972, kCustomizePlace = 1811, kPlotPlace = 1287;

std::vector<DialogItem> Items() {
  constexpr int x = 16, w = 180;
  return {
      {1550, DlgKind::GroupBox, "Characterization Configuration", 8, 28, 196, 316},
      {976, DlgKind::Static, "Characterization Selection:", x, 44, w, 9},
      {View::kSelectionId, DlgKind::ComboBox, "", x, 55, w, 120},
      {View::kDifferId, DlgKind::CheckBox, "DIP switch differs from software", x, 74, w, 10, DS_MANUAL},
      {kWarningPlace, DlgKind::GroupBox, "", x, 94, w, 12, DS_HIDDEN},
      {975, DlgKind::Static, "", x, 108, w, 36},
      {kNotePlace, DlgKind::GroupBox, "", x, 150, w, 12, DS_HIDDEN},
      {634, DlgKind::Static, "", x, 164, w, 36},
      {kCustomizePlace, DlgKind::GroupBox, "", x, 210, 90, 12, DS_HIDDEN},
      {635, DlgKind::Static, "Retrieval Progress:", x, 250, w, 9},
      {View::kProgressId, DlgKind::Progress, "", x, 261, w, 10},
      {View::kApplyId, DlgKind::PushButton, "Apply", x, 322, 56, 15, DS_DISABLED},
      {View::kRetrieveId, DlgKind::PushButton, "Retrieve", x + 64, 322, 56, 15, DS_DISABLED},
      {kPlotPlace, DlgKind::GroupBox, "", 212, 28, 380, 316, DS_HIDDEN},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(428, kHeader, Items()));

// The fixed curves by number (device variable 167), outputs in percent.
constexpr std::array<std::array<double, 21>, 7> kCurves = {{
    {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100},
    {0, 6.5, 11.6, 16.2, 20.5, 24.6, 28.5, 32.4, 36.2, 40, 43.8, 47.6, 51.5, 55.5, 59.5, 63.8, 68.2, 73, 78.4, 85, 100},
    {0, 1, 2, 3, 4.4, 5.8, 7.4, 9.3, 11.2, 13.5, 16.1, 19.1, 22.4, 26.2, 30.6, 35.7, 41.7, 48.9, 57.7, 69.2, 100},
    {0, 13, 20, 26.25, 32.1, 37.5, 42.6, 47.4, 51.8, 56, 60, 63.6, 67.2, 70.6, 73.9, 77.2, 81.3, 84, 87.8, 92.1, 100},
    {0, 4, 6, 7.8, 9.3, 11.5, 14, 16.5, 19.3, 22.5, 26, 30, 34.7, 39.6, 45.1, 51.3, 57.8, 64.8, 72.5, 81.3, 100},
    {0, 25, 35, 44, 50.2, 55.5, 60.2, 64.3, 68, 71.5, 74.7, 77.7, 80.5, 83.2, 85.9, 88.4, 90.8, 93.2, 95.5, 97.8, 100},
    {0, 8, 14, 17, 21, 24, 27.5, 31.5, 35.5, 39.5, 43.9, 48.1, 52.8, 57.4, 62.4, 67.5, 72.9, 78.6, 84.7, 91.2, 100},
}};
constexpr int kCustom = 7;  // the list entry of the device's own curve

enum Request { kApply = 2, kRetrieve = 3, kDraw = 4 };
enum Step : int { kPollStep = 1, kReadStep = 4, kCurveStep = 8, kWriteStep = 11 };

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

}  // namespace

View::CConfiguration_StrokeCharView() : CConfigurationPage(428, "IDC_BUTTON_CUS_CHAR", 70, 5000, kHeader) {
  m_captions = {
      {"IDC_ILABELXINDICATOR", {1286}}, {"IDC_ILABELXSOURCE", {1019}},   {"IDC_STATICDIPWARN", {975}},
      {"IDC_STATIC_NOTE", {634}},       {"CHARCONFIGGROUP", {1550}},     {"IDC_STATICCHARSELECT", {976}},
      {"IDC_STATIC_RETRIEVAL", {635}},  {"IDC_ILABELXDIFFER", {kDifferId}}, {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_toolTips = {
      {"IDC_ILED_ALARM", {static_cast<int>(pages::kStatusLedId)}},
      {"EDT_ALARM_DESCRIPTION", {1288}},
      {"IDC_BTN_MODE", {1013}},
      {"IDC_CHAR_SETTINGTIP", {kSelectionId}},
      {"IDC_PROGRESSCHARTIP", {kProgressId}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
      {"IDC_BUTTON_CUSTOMIZETIP", {static_cast<int>(kCustomizeId)}},
  };
  m_actionButtons = {kApplyId, kRetrieveId};
  HoldButtonUntil(kApplyId, [this] { return m_bSettingRead; });
  m_nStartStep = kReadStep;

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_requests = {{kApply, kWriteStep}, {kRetrieve, kReadStep}, {kDraw, kPollStep, [this] { Draw(); }}};
  m_steps = {
      CountdownStatusStep(kPollStep, 2, kPollStep),
      {kReadStep, "READ", {}, [this, &comm] { m_bSettingRead = comm.ReadStrokeChar() || m_bSettingRead; },
       [this] {
         ShowSetting();
         m_nRequest = kDraw;  // the device's curve on the next tick
       },
       kPollStep},
      {kCurveStep, "CURVE", {}, [&comm] { comm.ReadCommand(134); },
       [this, &comm] {
         Plot(comm.m_adCustCharY, 0);  // the bar stops one short, as it always did
         EnableActionButtons(TRUE);
       },
       kPollStep},
      {kWriteStep, "WRITE", {}, [this] { Write(); },
       [this] {
         ShowSetting();
         EnableActionButtons(TRUE);
       },
       kPollStep},
  };

  MapCommand(BN_CLICKED, kApplyId, [this] { OnApply(); });
  MapCommand(BN_CLICKED, kRetrieveId, [this] { Request(kRetrieve); });
  MapCommand(CBN_SELCHANGE, kSelectionId, [this] { m_nRequest = kDraw; });
  MapEvent(kCustomizeId, 1,
           [](const EventArgs&) { CTarnixWexletView::SelectItemByCode(treeitem::kCustomCharacterisation); });
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto place = [this](int id) {
    CWnd* wnd = GetDlgItem(id);
    return wnd ? PlaceholderRect(*wnd) : CRect();
  };
  m_pWarning = common.CreateLabelCtrl(this, &m_wndHosts[0], place(kWarningPlace), kWarningId,
                                      TheLanguageTable().Lookup("IDC_IPANELWARNING"));
  if (m_pWarning) Try("warning label", [&] { common.SetupCharViewLabel(m_pWarning, 0x0A0AFF); });
  m_pNote = common.CreateLabelCtrl(this, &m_wndHosts[1], place(kNotePlace), kNoteId,
                                   TheLanguageTable().Lookup("IDC_ILABELXNOTE"));
  if (m_pNote) Try("note label", [&] { common.SetupCharViewLabel(m_pNote, 0xC00000); });
  m_pCustomize = common.CreateLabelCtrl(this, &m_wndHosts[2], place(kCustomizePlace), kCustomizeId,
                                        TheLanguageTable().Lookup("IDC_BUTTON_CUSTOMIZE"));
  if (m_pCustomize) Try("customize link", [&] { common.SetupLabelFont(m_pCustomize, 1); });
  m_pPlot = common.CreatePlot(this, &m_wndHosts[3], place(kPlotPlace), kPlotId);
  if (m_pPlot)
    Try("plot", [&] {
      common.SetupCharacterizationPlot(m_pPlot);
      charcurve::SetPlotCaptions(m_pPlot, "IDC_STATICCHARCURVE");
    });
  if (auto* list = GetDlgItemAs<CComboBox>(kSelectionId)) {
    for (const char* key : charcurve::kSettingKeys) list->AddString(Text(key).c_str());
    list->SetCurSel(0);
  }
}

void View::OnApply() {
  const std::string question = Text("STATUSMAYCLOSE") + "\n" + Text("CONTINUE");
  if (MessageBox(question.c_str(), theApp().m_strProductTitle.str().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
    Request(kApply);
}

// Linear sets bit 3 of variable 56 and curve 0; a curve clears the bit.
// Without a selection (the device reported a curve past the list) there
// is nothing that could be written.
void View::Write() {
  const int selection = GetDlgItemAs<CComboBox>(kSelectionId)->GetCurSel();
  if (selection < 0 || selection >= charcurve::kSettings) {
    WriteLog("Stroke characterisation not written: no curve chosen.");
    return;
  }
  CWexletCoreCommunication& comm = theApp().m_comm;
  const BYTE linear = charcurve::kLinearBit;
  const BYTE config = selection == 0 ? comm.m_bySoftConfig | linear : comm.m_bySoftConfig & ~linear;
  comm.WriteStrokeChar(static_cast<BYTE>(selection == 0 ? 0 : selection - 1), static_cast<BYTE>(config));
}

void View::ShowSetting() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const BYTE differs = (comm.m_bySoftConfig ^ comm.m_byDipSwitches) & charcurve::kLinearBit;
  GetDlgItemAs<CButton>(kDifferId)->SetCheck(differs ? 1 : 0);
  GetDlgItemAs<CComboBox>(kSelectionId)->SetCurSel(charcurve::SettingIndex(comm.m_bySoftConfig, comm.m_byStrokeCharSel));
}

void View::Draw() {
  Try("clear plot", [this] { ComCheck(m_pPlot->ClearAllData()); });
  auto* progress = GetDlgItemAs<CProgressCtrl>(kProgressId);
  progress->SetPos(0);
  const int selection = GetDlgItemAs<CComboBox>(kSelectionId)->GetCurSel();
  if (selection == kCustom) {
    progress->SetRange(0, charcurve::kPoints);
    m_nStep = kCurveStep;
    return;
  }
  if (selection >= 0) {
    progress->SetRange(0, charcurve::kPoints);
    Plot(kCurves[static_cast<size_t>(selection)], 1);
  }
  EnableActionButtons(TRUE);
}

void View::Plot(const std::array<double, 21>& outputs, int first) {
  auto* progress = GetDlgItemAs<CProgressCtrl>(kProgressId);
  Try("plot curve", [&] {
    CCommonFunctions& common = theApp().m_CommonFunctions;
    IiPlotChannelPtr channel = common.GetPlotChannelByName(m_pPlot, charcurve::kChannel);
    for (int i = 0; i < charcurve::kPoints; ++i) {
      ComCheck(channel->AddXY(5.0 * i, outputs[static_cast<size_t>(i)], nullptr));
      progress->SetPos(i + first);
    }
    charcurve::FitAxes(m_pPlot);
  });
}
