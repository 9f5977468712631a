#include "diagnostics/compare/ramp_compare.h"

#include "common/plot_hints.h"
#include "common/ramp_views.h"
#include "platform/com/com_error.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_RampCompareView;

namespace {

// Elements of the compare texts that the page shows; 20 and 21 stand for
// the two bi-directional flags, which are not texts.
enum : int {
  kTag1 = 0, kTag2, kDate1, kDate2, kName1, kName2,
  kStart1, kStart2, kStop1, kStop2, kHold1, kHold2, kRamp1, kRamp2,
  kStrokeLength1, kActuatorSize1, kAreaUnit, kStrokeUnit, kStrokeLength2, kActuatorSize2,
  kBidirectional1, kBidirectional2,
};

constexpr FileInformationIds kFileIds{899, 909, 1109, 910, 914, 1111};
// The settings rows: file 1's edit, file 2's, and their texts.
struct SettingRow {
  int label;
  int edit1, edit2;
  int text1, text2;
  int unit;  // -1: none
};
constexpr SettingRow kSettingRows[] = {
    {1221, 891, 895, kStart1, kStart2, 1739},
    {1222, 892, 896, kStop1, kStop2, 1740},
    {1239, 893, 897, kHold1, kHold2, 1741},
    {1416, 894, 898, kRamp1, kRamp2, 1742},
    {640, 356, 357, kStrokeLength1, kStrokeLength2, View::kStrokeUnitId},
    {1417, 400, 401, kActuatorSize1, kActuatorSize2, View::kAreaUnitId},
    {1419, View::kBidirectional1Id, View::kBidirectional2Id, kBidirectional1, kBidirectional2, -1},
};

// A row of channel boxes is a quantity of rampviews::kQuantities; the
// columns add "1", "2" and "Diff" to its curves' names.
constexpr const char* kColumns[3] = {"1", "2", "Diff"};

// Legend texts: a quantity's file channels read like its box with " #1"
// or " #2", its difference channel has its own text.
struct ChannelTitle {
  const char* stem;
  const char* key;
  const char* differenceKey;
};
constexpr ChannelTitle kChannelTitles[] = {
    {"Position", "IDC_STATICPOSNLBL", "IDC_STATICPOSNLBLDIFF"},
    {"Command", "IPLOTCHANCMD", "IPLOTCHANCMDDIFF"},
    {"ILCmd", "IDC_CHECK_SPOOLCMD", "IDC_CHECK_SPOOLCMDDIFF"},
    {"ILPos", "IDC_CHECK_SPOOLPOS", "IDC_CHECK_SPOOLPOSDIFF"},
    {"PosnvCmdOpen", "POSNVCMDOPEN", "POSNVCMDOPENDIFF"},
    {"ILCmdvCmdOpen", "ILCMDVCMDOPEN", "ILCMDVCMDOPENDIFF"},
    {"ILPosnvCmdOpen", "ILPOSNVCMDOPEN", "ILPOSNVCMDOPENDIFF"},
    {"PosnvCmdClose", "POSNVCMDCLOSE", "POSNVCMDCLOSEDIFF"},
    {"ILCmdvCmdClose", "ILCMDVCMDCLOSE", "ILCMDVCMDCLOSEDIFF"},
    {"ILPosnvCmdClose", "ILPOSNVCMDCLOSE", "ILPOSNVCMDCLOSEDIFF"},
};

std::vector<DialogItem> Items() {
  using K = DlgKind;
  std::vector<DialogItem> items = pages::ChannelBoxItems(1400, 8, 82, 300, 10);

  const std::vector<DialogItem> settings = {
      {1415, K::GroupBox, "Ramp Test Settings", 316, 24, 190, 124},
      {-1, K::Static, "1", 394, 34, 40, 9, DS_CENTER},
      {-1, K::Static, "2", 438, 34, 40, 9, DS_CENTER},
  };
  items.insert(items.end(), settings.begin(), settings.end());
  const char* const labels[7] = {"Start Position:", "Stop Position:", "Hold Time:",     "Test Duration:",
                                 "Stroke Length:",  "Actuator Size:", "Bi-directional:"};
  const char* const units[7] = {"%", "%", "sec.", "sec.", "", "", ""};
  for (int row = 0; row < 7; ++row) {
    const SettingRow& r = kSettingRows[row];
    const int y = 44 + 14 * row;
    items.push_back({r.label, K::Static, labels[row], 322, y + 2, 70, 9});
    items.push_back({r.edit1, K::Edit, "", 394, y, 40, 12, DS_READONLY | DS_RIGHT});
    items.push_back({r.edit2, K::Edit, "", 438, y, 40, 12, DS_READONLY | DS_RIGHT});
    if (r.unit >= 0) items.push_back({r.unit, K::Static, units[row], 481, y + 2, 21, 9});
  }

  const std::vector<DialogItem> rest = {
      {922, K::Static, "Comparison Views", 514, 30, 78, 9},
      {View::kRampViewId, K::PushButton, "Ramp Test", 514, 42, 78, 16},
      {View::kSignalViewId, K::PushButton, "Signal vs Command", 514, 62, 78, 16},
      {View::kComparePlace, K::GroupBox, "", 8, 152, 584, 174, DS_HIDDEN},
      {View::kFilePlace, K::GroupBox, "", 8, 152, 31, 20, DS_HIDDEN},
      {CComparePage::kPrintId, K::PushButton, "Print Report", 512, 332, 80, 16},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::ComparePageTemplate(361, 8, 24, 300, kFileIds, Items()));

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

CCommonFunctions& Common() { return theApp().m_CommonFunctions; }

}  // namespace

View::CDiagnostics_RampCompareView()
    : CComparePage(361, "IDD_DIAGNOSTIC_RAMPCOMPARE", "\\Dependencies\\RampTestCmpRept.xml") {
  std::vector<CompareEdit> file1 = {{kFileIds.tag1, kTag1},
                                    {kFileIds.date1, kDate1},
                                    {kFileIds.name1, kName1},
                                    {kStrokeUnitId, kStrokeUnit},
                                    {kAreaUnitId, kAreaUnit}};
  std::vector<CompareEdit> file2 = {{kFileIds.tag2, kTag2}, {kFileIds.date2, kDate2}, {kFileIds.name2, kName2}};
  for (const SettingRow& r : kSettingRows) {
    file1.push_back({r.edit1, r.text1});
    file2.push_back({r.edit2, r.text2});
  }
  SetCompareEdits(Common().m_strRampCompare, std::move(file1), std::move(file2));

  const std::vector<KeyedControls> captions = {
      {"IDC_STATICGRPHSET", {1400}},
      {"IDC_STATICRAMPSET", {1415}},
      {"IDC_STATICCOMPVIEW", {922}},
      {"IDC_STATICSTARTPOS", {1221}},
      {"IDC_STATICSTOPPOS", {1222}},
      {"IDC_STATICHOLDTIME", {1239}},
      {"IDC_STATICTESTDUR", {1416}},
      {"IDC_STATICSTRLEN", {640}},
      {"IDC_ILABELXACTSIZE", {1417}},
      {"IDC_BTN_RAMPCOMP", {kRampViewId}},
      {"IDC_BTN_SIGvCMDCOMP", {kSignalViewId}},
      {"IDC_BTN_PRINT", {kPrintId}},
      {"IDC_ILABELFRICLOALMUNIT", {1741, 1742}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> tips = {
      {"COMPREPTIP", {kPrintId}},
      {"VeskSTART_TIP", {891, 895}},
      {"VeskSTOP_TIP", {892, 896}},
      {"IDC_CEDIT_RAMP_HOLDTIP", {893, 897}},
      {"IDC_EDIT_DURATIONTIP", {894, 898}},
      {"IDC_EDT_STROKE_LENGTHTIP", {356, 357}},
      {"IDC_EDIT_ACT_SIZETIP", {400, 401}},
      {"IDC_BTN_RAMPTESTTIP", {kRampViewId}},
      {"IDC_BTN_SIGvCMDTIP", {kSignalViewId}},
  };
  m_toolTips.insert(m_toolTips.end(), tips.begin(), tips.end());
  AddChannelBoxTexts();

  MapCommand(BN_CLICKED, kRampViewId, [this] { Try("ramp view", [this] { ShowRampView(); }); });
  MapCommand(BN_CLICKED, kSignalViewId, [this] { Try("signal view", [this] { ShowSignalView(); }); });
}

void View::OnInitialUpdate() {
  CComparePage::OnInitialUpdate();
  SetDlgItemText(1419, (Text("IDC_CHECKBIDIR") + _bstr_t(":")).str().c_str());
  Try("plot captions", [this] { SetPlotCaptions(); });
}

void View::CreatePlots() {
  CCommonFunctions& common = Common();
  m_pComparePlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceRect(kComparePlace), kComparePlotId);
  common.SetupRampPlot(m_pComparePlot);
  common.SetupRampCompareChannels(m_pComparePlot);
  m_pFilePlot = common.CreateXYPlot(this, &m_wndFilePlotHost, PlaceRect(kFilePlace), kComparePlotId + 1);
  common.SetupRampPlot(m_pFilePlot);
  common.SetupRampCompareFileChannels(m_pFilePlot);
  ComCheck(m_pComparePlot->ClearAllData());
  ComCheck(m_pFilePlot->ClearAllData());
}

void View::ShowView(ViewMode view) {
  m_nViewMode = view;
  const auto shown = static_cast<rampviews::View>(view);
  rampviews::ShowView(*this, kRampViewId, kSignalViewId, m_pComparePlot, shown);
  CCommonFunctions& common = Common();
  for (size_t row = 0; row < 4; ++row)
    for (size_t column = 0; column < 3; ++column) {
      const int box = kChannelBoxes[row][column];
      const rampviews::Quantity& quantity = rampviews::kQuantities[row];
      GetDlgItem(box)->EnableWindow(rampviews::HasCurveIn(quantity, shown));
      rampviews::ShowCurves(common, m_pComparePlot, quantity, kColumns[column], shown, IsChecked(box));
    }
}

void View::ShowRampView() { ShowView(kRampView); }

void View::ShowSignalView() { ShowView(kSignalView); }

void View::ShowBoxChannels(int box, bool show) {
  for (size_t row = 0; row < 4; ++row)
    for (size_t column = 0; column < 3; ++column)
      if (kChannelBoxes[row][column] == box)
        rampviews::ShowBoxCurves(Common(), m_pComparePlot, rampviews::kQuantities[row], kColumns[column],
                                 static_cast<rampviews::View>(m_nViewMode), show);
}

_bstr_t View::ShownText(int text) const {
  if (text != kBidirectional1 && text != kBidirectional2) return CComparePage::ShownText(text);
  const BYTE flag = Common().m_bCompareBidirectional[text == kBidirectional1 ? 0 : 1];
  if (flag == CCommonFields::kCompareNotLoaded) return "";
  return flag ? "Yes" : "No";
}

bool View::LoadFile1() { return Common().LoadRampCompareFile1(m_pFilePlot, m_pComparePlot); }

bool View::LoadFile2() { return Common().LoadRampCompareFile2(m_pFilePlot, m_pComparePlot, this); }

void View::GenerateReport(const _bstr_t& definitionPath) {
  Common().GenerateRampCompareReport(m_pComparePlot, m_pReport, m_pPrinter, definitionPath, this);
}

void View::SetPlotCaptions() {
  rampviews::SetPlotTitles(m_pComparePlot);
  CCommonFunctions& common = Common();
  for (const ChannelTitle& c : kChannelTitles) {
    const _bstr_t stem(c.stem);
    ComCheck(common.GetXYPlotChannelByName(m_pComparePlot, stem + "1")->SetTitle(Text(c.key) + _bstr_t(" #1")));
    ComCheck(common.GetXYPlotChannelByName(m_pComparePlot, stem + "2")->SetTitle(Text(c.key) + _bstr_t(" #2")));
    ComCheck(common.GetXYPlotChannelByName(m_pComparePlot, stem + "Diff")->SetTitle(Text(c.differenceKey)));
  }
  plothints::Translate(m_pComparePlot);
}
