#include "diagnostics/compare/partial_stroke_compare.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_PSTCompareView;

namespace {

// The compare texts of the four result times.
constexpr int kTimeTexts[] = {16, 17, 22, 23};

// The channels of each box, in the frame's box order: one row a
// quantity, in each row file 1, file 2, difference; the row's key
// captions its difference box and titles its channels.
struct ChannelRow {
  const char* channels[3];
  const char* key;
  const char* differenceKey;
};
constexpr ChannelRow kRows[] = {
    {{"Position", "Position2", "PositionDiff"}, "IDC_STATICPOSNLBL", "IDC_STATICPOSNLBLDIFF"},
    {{"Command", "Command2", "CommandDiff"}, "IPLOTCHANCMD", "IPLOTCHANCMDDIFF"},
    {{"ILCmd", "ILCmd2", "ILCmdDiff"}, "IDC_CHECK_SPOOLCMD", "IDC_CHECK_SPOOLCMDDIFF"},
    {{"ILPOS", "ILPOS2", "ILPOSDiff"}, "IDC_CHECK_SPOOLPOS", "IDC_CHECK_SPOOLPOSDIFF"},
};

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kValue = DS_READONLY | DS_RIGHT;
  std::vector<DialogItem> items = pages::ChannelBoxItems(1369, 8, 85, 144, 12);

  // Results: both files' times with their difference, then both result texts.
  constexpr int rx = 156, ry = 85, c1 = rx + 78, c2 = rx + 112, c3 = rx + 146, w = 32;
  const std::vector<DialogItem> results = {
      {1606, K::GroupBox, "Results", rx, ry, 204, 75},
      {-1, K::Static, "1", c1, ry + 9, w, 8, DS_CENTER},
      {-1, K::Static, "2", c2, ry + 9, w, 8, DS_CENTER},
      {-1, K::Static, "\u0394", c3, ry + 9, w, 8, DS_CENTER},
      {912, K::Static, "Breakaway Time:", rx + 6, ry + 21, 71, 9},
      {View::kBreakaway1Id, K::Edit, "", c1, ry + 19, w, 12, kValue},
      {View::kBreakaway2Id, K::Edit, "", c2, ry + 19, w, 12, kValue},
      {View::kBreakawayDiffId, K::Edit, "", c3, ry + 19, w, 12, kValue},
      {923, K::Static, "sec.", c3 + w + 3, ry + 21, 18, 9},
      {915, K::Static, "Time to Target:", rx + 6, ry + 34, 71, 9},
      {View::kToTarget1Id, K::Edit, "", c1, ry + 32, w, 12, kValue},
      {View::kToTarget2Id, K::Edit, "", c2, ry + 32, w, 12, kValue},
      {View::kToTargetDiffId, K::Edit, "", c3, ry + 32, w, 12, kValue},
      {925, K::Static, "sec.", c3 + w + 3, ry + 34, 18, 9},
      // A result is a sentence: each file's gets the width of the three columns.
      {916, K::Static, "Result:", rx + 6, ry + 47, 46, 9},
      {-1, K::Static, "1", c1 - 9, ry + 47, 7, 9, DS_RIGHT},
      {View::kResult1Id, K::Edit, "", c1, ry + 45, c3 + w - c1, 12, DS_READONLY},
      {-1, K::Static, "2", c1 - 9, ry + 60, 7, 9, DS_RIGHT},
      {View::kResult2Id, K::Edit, "", c1, ry + 58, c3 + w - c1, 12, DS_READONLY},
  };
  items.insert(items.end(), results.begin(), results.end());

  // PST Settings: both files' settings side by side, headed "1" and "2".
  struct Row {
    int label, edit1, edit2, unit;
    const char* caption;
    const char* unitText;
  };
  constexpr Row kSettingRows[] = {
      {1221, View::kStart1Id, View::kStart2Id, 928, "Start Position:", "%"},
      {1222, View::kStop1Id, View::kStop2Id, 930, "Stop Position:", "%"},
      {1240, View::kRamp1Id, View::kRamp2Id, 932, "Ramp Time:", "sec."},
      {1239, View::kHold1Id, View::kHold2Id, 931, "Hold Time:", "sec."},
      {1371, View::kLimit1Id, View::kLimit2Id, 933, "Time Limit:", "sec."},
  };
  constexpr int sx = 364, sy = 26, e1 = sx + 82, e2 = sx + 140, ew = 54;
  items.push_back({1612, K::GroupBox, "PST Settings", sx, sy, 228, 134});
  items.push_back({220, K::Static, "1", e1, sy + 12, ew, 8, DS_CENTER});
  items.push_back({221, K::Static, "2", e2, sy + 12, ew, 8, DS_CENTER});
  int y = sy + 24;
  for (const Row& r : kSettingRows) {
    items.push_back({r.label, K::Static, r.caption, sx + 8, y + 2, 72, 9});
    items.push_back({r.edit1, K::Edit, "", e1, y, ew, 12, kValue});
    items.push_back({r.edit2, K::Edit, "", e2, y, ew, 12, kValue});
    items.push_back({r.unit, K::Static, r.unitText, e2 + ew + 4, y + 2, 24, 9});
    y += 21;
  }

  const std::vector<DialogItem> rest = {
      {View::kComparePlace, K::GroupBox, "", 8, 164, 584, 162, DS_HIDDEN},
      {View::kFilePlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1382, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1383, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {CComparePage::kPrintId, K::PushButton, "Print Report", 512, 330, 80, 16},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::ComparePageTemplate(
    368, 8, 26, 350, {View::kTag1Id, View::kDate1Id, View::kName1Id, View::kTag2Id, View::kDate2Id, View::kName2Id},
    Items()));

}  // namespace

View::CDiagnostics_PSTCompareView()
    : CComparePage(368, "IDD_DIAGNOSTIC_PSTCOMPARE", "\\Dependencies\\PSTTestCmpRept.xml") {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  SetCompareEdits(common.m_strPSTCompare,
                  {{kTag1Id, 0},
                   {kDate1Id, 2},
                   {kName1Id, 4},
                   {kStart1Id, 6},
                   {kStop1Id, 8},
                   {kRamp1Id, 10},
                   {kHold1Id, 12},
                   {kLimit1Id, 14},
                   {kBreakaway1Id, 16},
                   {kToTarget1Id, 22},
                   {kResult1Id, 29}},
                  {{kTag2Id, 1},
                   {kDate2Id, 3},
                   {kName2Id, 5},
                   {kStart2Id, 7},
                   {kStop2Id, 9},
                   {kRamp2Id, 11},
                   {kHold2Id, 13},
                   {kLimit2Id, 15},
                   {kBreakaway2Id, 17},
                   {kBreakawayDiffId, 18},
                   {kToTarget2Id, 23},
                   {kToTargetDiffId, 24},
                   {kResult2Id, 30}});
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICGRPHSET", {1369}},   {"IDC_STATICBWINFO", {1606}},
      {"IDC_STATICBWTIME", {912}},     {"IDC_STATICTIMTOTGT", {915}},
      {"IDC_STATICBWRES", {916}},      {"IDC_STATICPARTSET", {1612}},
      {"IDC_STATICSTARTPOS", {1221}},  {"IDC_STATICSTOPPOS", {1222}},
      {"IDC_STATICTESTDUR", {1240}},   {"IDC_STATICHOLDTIME", {1239}},
      {"IDC_STATICBKWTIMLIM", {1371}}, {"IDC_BTN_PRINT", {kPrintId}},
      {"VeskSEC", {932, 931, 933, 923, 925}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_EDIT_BREAKTIMETIP", {kBreakaway1Id, kBreakaway2Id, kBreakawayDiffId}},
      {"IDC_EDIT_TARGETTIMETIP", {kToTarget1Id, kToTarget2Id, kToTargetDiffId}},
      {"IDC_EDIT_RESULTTIP", {kResult1Id, kResult2Id}},
      {"VeskSTART_TIP", {kStart1Id, kStart2Id}},
      {"VeskSTOP_TIP", {kStop1Id, kStop2Id}},
      {"IDC_CEDIT_DURATIONTIP", {kRamp1Id, kRamp2Id}},
      {"IDC_CEDIT_PST_HOLDTIP", {kHold1Id, kHold2Id}},
      {"IDC_CEDIT_TARGETTIP", {kLimit1Id, kLimit2Id}},
      {"VeskPrintReportPSTTip", {kPrintId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());
  AddChannelBoxTexts();
}

void View::CreatePlots() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_comparePlot = common.CreatePlot(this, &m_wndPlotHost, PlaceRect(kComparePlace), kComparePlotId);
  m_filePlot = common.CreatePlot(this, &m_wndFilePlotHost, PlaceRect(kFilePlace), kFilePlotId);
  common.SetupPSTPlot(m_comparePlot);
  common.SetupPSTCompareChannels(m_comparePlot);
  common.SetupPSTPlot(m_filePlot);
  common.SetupPSTCompareSettings(m_filePlot);
  for (const ChannelRow& row : kRows)
    for (const char* channel : row.channels) common.ShowChannel2(m_comparePlot, channel, 0);
  ComCheck(m_filePlot->ClearAllData());
  ComCheck(m_comparePlot->ClearAllData());
  SetPlotCaptions();
}

void View::SetPlotCaptions() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  ComCheck(m_comparePlot->SetTitle(Text("PARTTEST")));
  IiPlotAxisPtr axis;
  ComCheck(m_comparePlot->GetXAxisByName("RampX", &axis));
  ComCheck(axis->SetTitle(Text("PARTXAXIS")));
  ComCheck(m_comparePlot->GetYAxisByName("RampPerc", &axis));
  ComCheck(axis->SetTitle(Text("PSTPRESSYAXIS")));
  for (const ChannelRow& row : kRows) {
    ComCheck(common.GetPlotChannelByName(m_comparePlot, row.channels[0])->SetTitle(Text(row.key) + " #1"));
    ComCheck(common.GetPlotChannelByName(m_comparePlot, row.channels[1])->SetTitle(Text(row.key) + " #2"));
    ComCheck(common.GetPlotChannelByName(m_comparePlot, row.channels[2])->SetTitle(Text(row.differenceKey)));
  }
  plothints::Translate(m_comparePlot);
}

bool View::LoadFile1() { return theApp().m_CommonFunctions.LoadPSTCompareFile1(m_filePlot, m_comparePlot); }

bool View::LoadFile2() { return theApp().m_CommonFunctions.LoadPSTCompareFile2(m_filePlot, m_comparePlot, this); }

void View::ShowBoxChannels(int box, bool show) {
  for (size_t r = 0; r < 4; ++r)
    for (size_t column = 0; column < 3; ++column)
      if (kChannelBoxes[r][column] == box)
        theApp().m_CommonFunctions.ShowChannel2(m_comparePlot, kRows[r].channels[column], show ? 1 : 0);
}

void View::GenerateReport(const _bstr_t& definitionPath) {
  theApp().m_CommonFunctions.GeneratePSTCompareReport(m_comparePlot, m_pReport, m_pPrinter, definitionPath, this);
}

_bstr_t View::ShownText(int text) const {
  const _bstr_t& stored = m_texts[static_cast<size_t>(text)];
  if (std::find(std::begin(kTimeTexts), std::end(kTimeTexts), text) == std::end(kTimeTexts)) return stored;
  const std::string s = stored.str();
  char* end = nullptr;
  const double seconds = plat::StrToD(s.c_str(), &end);
  if (end != s.c_str()) return CCommonFunctions::PSTTimeText(seconds, "%.2f").c_str();
  // No number: the mark of a time the device did not measure, or nothing.
  return s == CCommonFunctions::kMissingPSTTimeText ? stored : _bstr_t("");
}
