#include "diagnostics/compare/hdrl_compare.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/hdrl_plot_texts.h"
#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_HDRLCompareView;

namespace {

// The compare texts: each file's identification and settling time, then
// per result file 1, file 2 and their difference.
enum Text : int {
  kTag1, kTag2, kDate1, kDate2, kName1, kName2, kSettling1, kSettling2,
  kRepeatAvg1, kRepeatAvg2, kRepeatAvgDelta, kRepeatMax1, kRepeatMax2, kRepeatMaxDelta,
  kHDAvg1, kHDAvg2, kHDAvgDelta, kHDMax1, kHDMax2, kHDMaxDelta,
  kLin1, kLin2, kLinDelta,
};

const std::vector<CompareEdit> kFile1Edits = {
    {899, kTag1},   {909, kDate1},       {1109, kName1},      {607, kSettling1}, {594, kHDAvg1},
    {595, kHDMax1}, {592, kRepeatAvg1}, {593, kRepeatMax1}, {604, kLin1},
};
// File 2 with the differences, which go and come with it.
const std::vector<CompareEdit> kFile2Edits = {
    {910, kTag2},       {914, kDate2},       {1111, kName2},          {608, kSettling2},
    {596, kHDAvg2},     {598, kHDMax2},      {600, kRepeatAvg2},      {602, kRepeatMax2},
    {605, kLin2},       {597, kHDAvgDelta},  {599, kHDMaxDelta},      {601, kRepeatAvgDelta},
    {603, kRepeatMaxDelta}, {606, kLinDelta},
};

// A result group: its frame, column heads, and per row ("1", "2", the
// difference) the boxes of its columns.
struct ResultGroup {
  int group;
  const char* caption;
  int x, width;
  int heads[2];  // 0: none
  int boxes[3][2];
};
constexpr ResultGroup kResultGroups[] = {
    {1385, "Hysteresis And Deadband", 8, 220, {1388, 1389}, {{594, 595}, {596, 598}, {597, 599}}},
    {1386, "Repeatability", 232, 220, {1390, 1391}, {{592, 593}, {600, 602}, {601, 603}}},
    {1387, "\xC2\xB1 Linearity Error", 456, 136, {0, 0}, {{604, 0}, {605, 0}, {606, 0}}},
};
constexpr int kFileInfoY = 24, kResultsY = 82, kViewsY = 145;
constexpr int kSettlingX = 470;

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kResult = DS_READONLY | DS_CENTER;
  std::vector<DialogItem> items = {
      {1384, K::Static, "Position Settling Time:", kSettlingX, kFileInfoY + 11, 116, 9},
      {607, K::Edit, "", kSettlingX, kFileInfoY + 22, 60, 12, kResult},
      {906, K::Static, "sec", kSettlingX + 64, kFileInfoY + 24, 20, 9},
      {608, K::Edit, "", kSettlingX, kFileInfoY + 38, 60, 12, kResult},
      {920, K::Static, "sec", kSettlingX + 64, kFileInfoY + 40, 20, 9},
  };
  for (const ResultGroup& g : kResultGroups) {
    items.push_back({g.group, K::GroupBox, g.caption, g.x, kResultsY, g.width, 60});
    for (int row = 0; row < 3; ++row) {
      const int y = kResultsY + 19 + row * 13;
      // The third row's mark is a delta sign.
      items.push_back({-1, K::Static, row == 2 ? "\xCE\x94" : std::to_string(row + 1), g.x + 8, y + 2, 10, 9});
      for (int column = 0; column < 2; ++column) {
        if (!g.boxes[row][column]) continue;
        const int x = g.x + 22 + column * 98;
        items.push_back({g.boxes[row][column], K::Edit, "", x, y, 70, 12, kResult});
        items.push_back({-1, K::Static, "%", x + 73, y + 2, 10, 9});
      }
    }
    for (int column = 0; column < 2; ++column)
      if (g.heads[column])
        items.push_back({g.heads[column], K::Static, column ? "Maximum:" : "Average:", g.x + 22 + column * 98,
                         kResultsY + 9, 70, 9});
  }
  const std::vector<DialogItem> rest = {
      {1392, K::Static, "Comparison Views", 168, kViewsY + 2, 128, 9, DS_RIGHT},
      {View::kControlSignalId, K::PushButton, "Control Signal", 300, kViewsY, 94, 14, DS_DISABLED | DS_GROUP},
      {View::kHDRId, K::PushButton, "HDR", 398, kViewsY, 94, 14},
      {View::kLinearityId, K::PushButton, "Linearity", 496, kViewsY, 96, 14},
      {View::kPlotPlaceId, K::GroupBox, "", 8, kViewsY + 17, 584, 330 - kViewsY - 17, DS_HIDDEN},
      {View::kFilePlotPlaceId, K::GroupBox, "", 248, 333, 23, 14, DS_HIDDEN},
      {CComparePage::kPrintId, K::PushButton, "Print Report", 508, 333, 84, 16, DS_DISABLED},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

DialogTemplate Template() {
  DialogTemplate t = pages::ComparePageTemplate(1088, 8, kFileInfoY, kSettlingX - 8 - 8,
                                                {899, 909, 1109, 910, 914, 1111}, Items());
  // The settling times sit inside the "File Information" frame, right of
  // the block's own columns.
  for (DialogItem& item : t.items)
    if (item.id == 1359) item.cx = 584;
  return t;
}

const plat::DialogTemplateRegistrar kTemplate(Template());

const std::vector<KeyedControls> kCaptions = {
    {"IDC_STATICPOSSET", {1384}},    {"IDC_STATICHD", {1385}},         {"IDC_STATICREP", {1386}},
    {"IDC_STATICLINERR", {1387}},    {"IDC_STATICAVG", {1388, 1390}},  {"IDC_STATICAVGMAX", {1389, 1391}},
    {"IDC_STATICCOMPVIEW", {1392}},  {"IDC_BTN_CONTROL", {View::kControlSignalId}},
    {"HDR", {View::kHDRId}},         {"IDC_BTN_LINEARITY", {View::kLinearityId}},
    {"IDC_BTN_PRINT", {CComparePage::kPrintId}}, {"VeskSEC", {906, 920}},
};

const std::vector<KeyedControls> kToolTips = {
    {"IDC_EDIT_HD_MAXTIP", {595, 598}},
    {"IDC_EDIT_HD_MAXDELTATIP", {599}},
    {"IDC_EDIT_HD_AVERAGETIP", {594, 596}},
    {"IDC_EDIT_HD_DELTATIP", {597}},
    {"IDC_EDIT_REPEAT_AVERAGETIP", {592, 600}},
    {"IDC_EDIT_REPEAT_DELTATIP", {601}},
    {"IDC_EDIT_REPEAT_MAXTIP", {593, 602}},
    {"IDC_EDIT_REPEAT_MAXDELTATIP", {603}},
    {"IDC_EDIT_LINEARITYTIP", {604, 605}},
    {"IDC_EDIT_LINDELTATIP", {606}},
    {"IDC_EDIT_SET1TIP", {607, 608}},
    {"IDC_BTN_CONTROLTIP", {View::kControlSignalId}},
    {"IDC_BTN_HDRTIP", {View::kHDRId}},
    {"IDC_BTN_LINEARITYTIP", {View::kLinearityId}},
    {"VeskPrintReportHDRLTip", {CComparePage::kPrintId}},
};

// The sixteen compare channels, file 1 before its file-2 twin.
constexpr const char* kAllChannels[] = {
    "Position",      "Command",        "Position2",     "Command2",       "1stCycle-Incr", "1stCycle-Incr2",
    "1stCycle-Decr", "1stCycle-Decr2", "2ndCycle-Incr", "2ndCycle-Incr2", "2ndCycle-Decr", "2ndCycle-Decr2",
    "AverageError",  "AverageError2",  "LeastSquareLine", "LeastSquareLine2",
};

// The graphs: the set-up that lays the plot out, and their channels.
struct Graph {
  void (CCommonFunctions::*setUp)(IiXYPlotXPtr);
  std::vector<std::string> file1;
};
const Graph kGraphs[3] = {
    {&CCommonFunctions::ShowHDRLComparePositionVsTime, {"Position", "Command"}},
    {&CCommonFunctions::ShowHDRLCompareErrorVsPosition,
     {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"}},
    {&CCommonFunctions::ShowHDRLCompareErrorVsCommand, {"AverageError", "LeastSquareLine"}},
};

CCommonFunctions& Common() { return theApp().m_CommonFunctions; }
_bstr_t Lookup(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

View::CDiagnostics_HDRLCompareView()
    : CComparePage(1088, "IDD_DIAGNOSTIC_HDRLCOMPARE", "\\Dependencies\\HDRLTestCmpRept.xml") {
  SetCompareEdits(Common().m_strHDRLCompare, kFile1Edits, kFile2Edits);
  m_captions.insert(m_captions.end(), kCaptions.begin(), kCaptions.end());
  m_toolTips.insert(m_toolTips.end(), kToolTips.begin(), kToolTips.end());
  MapCommand(BN_CLICKED, kControlSignalId, [this] { Try("graph", [this] { OnControlSignal(); }); });
  MapCommand(BN_CLICKED, kHDRId, [this] { Try("graph", [this] { OnHDR(); }); });
  MapCommand(BN_CLICKED, kLinearityId, [this] { Try("graph", [this] { OnLinearity(); }); });
}

void View::CreatePlots() {
  CCommonFunctions& common = Common();
  m_pComparePlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceRect(kPlotPlaceId), kComparePlotId);
  m_pFilePlot = common.CreateXYPlot(this, &m_wndFilePlotHost, PlaceRect(kFilePlotPlaceId), kComparePlotId + 1);
  common.SetupHDRLPlots(m_pComparePlot);
  common.SetupHDRLCompareChannels2(m_pComparePlot);
  common.SetupHDRLPlots(m_pFilePlot);
  common.SetupHDRLCompareChannels(m_pFilePlot);
  ComCheck(m_pFilePlot->ClearAllData());
  ComCheck(m_pComparePlot->ClearAllData());
  SetPlotCaptions();
}

void View::SetPlotCaptions() {
  ComCheck(m_pComparePlot->SetTitle(Lookup("HDRLTITLETEXT")));
  hdrltexts::SetAxisTitles(m_pComparePlot);
  // File 1's legends end in " #1", file 2's in " #2".
  for (const char* suffix : {"", "2"})
    for (const auto& [name, key] : hdrltexts::kChannels) {
      const std::string title = Lookup(key).str() + (*suffix ? " #2" : " #1");
      ComCheck(Common()
                   .GetXYPlotChannelByName(m_pComparePlot, (std::string(name) + suffix).c_str())
                   ->SetTitle(title.c_str()));
    }
  plothints::Translate(m_pComparePlot);
}

bool View::LoadFile1() {
  const bool loaded = Common().LoadHDRLCompareFile1(m_pFilePlot, m_pComparePlot);
  m_bFile1Loaded = loaded;
  m_bFile2Loaded = m_bFile2Shown = false;
  m_bFile1Shown = m_bFile1Shown || loaded;
  return loaded;
}

bool View::LoadFile2() {
  const bool loaded = Common().LoadHDRLCompareFile2(m_pFilePlot, m_pComparePlot, this);
  m_bFile2Loaded = loaded;
  m_bFile2Shown = m_bFile2Shown || loaded;
  return loaded;
}

_bstr_t View::ShownText(int text) const {
  const _bstr_t& stored = m_texts[static_cast<size_t>(text)];
  if (text < kRepeatAvg1) return stored;
  const std::optional<double> number = plat::LeadingNumber(stored);
  if (!number) return "";
  return plat::FormatNumber("%.*f", text >= kLin1 ? 4 : 2, *number).c_str();
}

void View::GenerateReport(const _bstr_t& definitionPath) {
  Common().GenerateHDRLCompareReport(m_pComparePlot, m_pReport, m_pPrinter, definitionPath, this);
}

void View::HideAllChannels() {
  for (const char* name : kAllChannels) Common().ShowChannel(m_pComparePlot, name, 0);
}

void View::ShowGraph(int graph) {
  for (int i = 0; i < 3; ++i) GetDlgItem(kGraphButtons[i])->EnableWindow(i != graph);
  CCommonFunctions& common = Common();
  const Graph& g = kGraphs[graph];
  (common.*g.setUp)(m_pComparePlot);
  const auto inGraph = [&g](const std::string& name) {
    return std::any_of(g.file1.begin(), g.file1.end(),
                       [&name](const std::string& own) { return name == own || name == own + "2"; });
  };
  // After a refused "2..." the chosen graph keeps both files' channels; after
  // a refused "1..." everything the set-up showed stays.
  if (m_bFile2Shown && !m_bFile2Loaded) {
    for (const char* name : kAllChannels)
      if (!inGraph(name)) common.ShowChannel(m_pComparePlot, name, 0);
  } else if (!(m_bFile1Shown && !m_bFile1Loaded)) {
    HideAllChannels();
  }
  for (const std::string& name : g.file1) {
    if (m_bFile1Loaded) common.ShowChannel(m_pComparePlot, name.c_str(), 1);
    if (m_bFile2Loaded) common.ShowChannel(m_pComparePlot, (name + "2").c_str(), 1);
  }
}
