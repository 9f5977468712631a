#include "diagnostics/compare/step_compare.h"

#include <string>

#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_StepCompareView;

namespace {

// Each box and the compare plot channel it shows, in the rows and columns
// of CComparePage::kChannelBoxes; the legend from the row's key.
struct BoxChannel {
  int box;
  const char* channel;
};
constexpr BoxChannel kBoxChannels[] = {
    {1119, "Position1"}, {1118, "Position2"},   {1112, "PositionDiff"}, {1120, "Command1"},
    {1121, "Command2"},  {1113, "CommandDiff"}, {1126, "ILCmd1"},       {1127, "ILCmd2"},
    {1116, "ILCmdDiff"}, {1128, "ILPOS1"},      {1129, "ILPOS2"},       {1117, "ILPOSDiff"},
};
// A row's caption key and the legend key of its difference.
struct Row {
  const char* key;
  const char* differenceKey;
};
constexpr Row kRows[] = {{"IDC_STATICPOSNLBL", "IDC_STATICPOSNLBLDIFF"},
                         {"IPLOTCHANCMD", "IPLOTCHANCMDDIFF"},
                         {"IDC_CHECK_SPOOLCMD", "IDC_CHECK_SPOOLCMDDIFF"},
                         {"IDC_CHECK_SPOOLPOS", "IDC_CHECK_SPOOLPOSDIFF"}};

const char* ChannelOf(int box) {
  for (const BoxChannel& b : kBoxChannels)
    if (b.box == box) return b.channel;
  return nullptr;
}

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kUnused = DS_HIDDEN | DS_DISABLED;
  std::vector<DialogItem> items = {
      {1141, K::GroupBox, "Step Test Settings", 304, 84, 288, 72},
      {-1, K::Static, "1", 400, 94, 74, 9, DS_CENTER},
      {-1, K::Static, "2", 480, 94, 74, 9, DS_CENTER},
      {1221, K::Static, "Start Position:", 312, 106, 84, 9},
      {View::kStart1Id, K::Edit, "", 400, 104, 74, 12, DS_READONLY | DS_RIGHT},
      {View::kStart2Id, K::Edit, "", 480, 104, 74, 12, DS_READONLY | DS_RIGHT},
      {-1, K::Static, "%", 558, 106, 28, 9},
      {1222, K::Static, "Stop Position:", 312, 122, 84, 9},
      {View::kStop1Id, K::Edit, "", 400, 120, 74, 12, DS_READONLY | DS_RIGHT},
      {View::kStop2Id, K::Edit, "", 480, 120, 74, 12, DS_READONLY | DS_RIGHT},
      {-1, K::Static, "%", 558, 122, 28, 9},
      {1239, K::Static, "Hold Time:", 312, 138, 84, 9},
      {View::kHold1Id, K::Edit, "", 400, 136, 74, 12, DS_READONLY | DS_RIGHT},
      {View::kHold2Id, K::Edit, "", 480, 136, 74, 12, DS_READONLY | DS_RIGHT},
      {1758, K::Static, "sec", 558, 138, 28, 9},
      {View::kPlotPlaceId, K::GroupBox, "", 8, 160, 584, 164, DS_HIDDEN},
      {CComparePage::kPrintId, K::PushButton, "Print Report", 502, 330, 90, 16},
      {View::kFilePlotPlaceId, K::GroupBox, "", 8, 330, 1, 1, DS_HIDDEN},
      {View::kViewId, K::PushButton, "View Step Test", 0, 0, 1, 1, kUnused},
      {1392, K::Static, "Comparison Views", 0, 0, 1, 1, DS_HIDDEN},
      {912, K::Static, "Tag Name:", 0, 0, 1, 1, DS_HIDDEN},
      {913, K::Static, "File Date:", 0, 0, 1, 1, DS_HIDDEN},
      {915, K::Static, "Filename:", 0, 0, 1, 1, DS_HIDDEN},
  };
  const std::vector<DialogItem> boxes = pages::ChannelBoxItems(1400, 8, 84, 288, 12);
  items.insert(items.end(), boxes.begin(), boxes.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::ComparePageTemplate(
    1089, 8, 24, 584, {View::kTag1Id, View::kDate1Id, View::kName1Id, View::kTag2Id, View::kDate2Id, View::kName2Id},
    Items()));

}  // namespace

View::CDiagnostics_StepCompareView()
    : CComparePage(1089, "IDD_DIAGNOSTIC_STEPCOMPARE", "\\Dependencies\\StepTestCmpRept.xml") {
  SetCompareEdits(theApp().m_CommonFunctions.m_strStepCompare,
                  {{kTag1Id, 0}, {kDate1Id, 2}, {kName1Id, 4}, {kStart1Id, 6}, {kStop1Id, 8}, {kHold1Id, 10}},
                  {{kTag2Id, 1}, {kDate2Id, 3}, {kName2Id, 5}, {kStart2Id, 7}, {kStop2Id, 9}, {kHold2Id, 11}});
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICBODTAG", {912}},     {"IDC_STATICDATE", {913}},      {"IDC_STATICFILE", {915}},
      {"IDC_STATICGRPHSET", {1400}},   {"IDC_STATICSTEPSET", {1141}},  {"IDC_STATICSTARTPOS", {1221}},
      {"IDC_STATICSTOPPOS", {1222}},   {"IDC_STATICHOLDTIME", {1239}}, {"IDC_BTN_STEPCOMP", {kViewId}},
      {"IDC_STATICCOMPVIEW", {1392}},  {"VeskSEC", {1758}},            {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"COMPREPTIP", {kPrintId}},
      {"VeskSTART_TIP", {kStart1Id, kStart2Id}},
      {"VeskSTOP_TIP", {kStop1Id, kStop2Id}},
      {"IDC_CEDIT_STEP_HOLDTIP", {kHold1Id, kHold2Id}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());
  AddChannelBoxTexts();
  MapCommand(BN_CLICKED, kViewId, [this] { Try("step view", [this] { ShowDefaultView(); }); });
}

void View::CreatePlots() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pPlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceRect(kPlotPlaceId), kPlotId);
  m_pFilePlot = common.CreateXYPlot(this, &m_wndFilePlotHost, PlaceRect(kFilePlotPlaceId), kFilePlotId);
  common.SetupStepComparePlot(m_pPlot);
  common.SetupStepCompareChannels(m_pPlot);
  common.SetupStepComparePlot(m_pFilePlot);
  common.SetupStepCompareFileChannels(m_pFilePlot);
  ComCheck(m_pFilePlot->ClearAllData());
  ComCheck(m_pPlot->ClearAllData());
  SetPlotCaptions();
}

void View::SetPlotCaptions() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  ComCheck(m_pPlot->SetTitle(Text("IDD_DIAGNOSTIC_STEP_TEST")));
  IiPlotAxisPtr axis;
  ComCheck(m_pPlot->GetXAxisByName("StepX", &axis));
  ComCheck(axis->SetTitle(Text("STEPTIME")));
  ComCheck(m_pPlot->GetYAxisByName("RampPerc", &axis));
  ComCheck(axis->SetTitle(Text("HDRLPOSNPERC")));
  for (size_t r = 0; r < 4; ++r) {
    const auto& boxes = kChannelBoxes[r];
    const _bstr_t key = Text(kRows[r].key);
    const _bstr_t titles[3] = {key + " #1", key + " #2", Text(kRows[r].differenceKey)};
    for (size_t column = 0; column < 3; ++column)
      ComCheck(common.GetXYPlotChannelByName(m_pPlot, ChannelOf(boxes[column]))->SetTitle(titles[column]));
  }
  plothints::Translate(m_pPlot);
}

void View::ShowDefaultView() {
  GetDlgItem(kViewId)->EnableWindow(FALSE);
  ComCheck(m_pPlot->SetTitle(Text("IDD_DIAGNOSTIC_STEP_TEST")));
  ShowCheckedChannels();
  for (const bool x : {true, false}) {
    IiPlotAxisPtr axis;
    ComCheck(x ? m_pPlot->GetXAxisByName("StepX", &axis) : m_pPlot->GetYAxisByName("RampPerc", &axis));
    ComCheck(axis->SetVisible(VARIANT_TRUE));
    ComCheck(axis->SetEnabled(VARIANT_TRUE));
  }
}

bool View::LoadFile1() { return theApp().m_CommonFunctions.LoadStepCompareFile1(m_pFilePlot, m_pPlot); }

bool View::LoadFile2() { return theApp().m_CommonFunctions.LoadStepCompareFile2(m_pFilePlot, m_pPlot, this); }

void View::ShowBoxChannels(int box, bool show) {
  if (const char* channel = ChannelOf(box)) theApp().m_CommonFunctions.ShowChannel(m_pPlot, channel, show ? 1 : 0);
}

void View::GenerateReport(const _bstr_t& definitionPath) {
  theApp().m_CommonFunctions.GenerateStepCompareReport(m_pPlot, m_pReport, m_pPrinter, definitionPath, this);
}
