// Each comparison page takes only its own kind of test file. A file of any
// other kind that the program saves, under the page's extension and with
// points where the page's own kind keeps its settings and tag, is refused
// with "File open error." as file 1 and as file 2, and the page stays as
// it was: its controls, its compare plot and the compare texts.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "diagnostics/compare/hdrl_compare.h"
#include "diagnostics/compare/partial_stroke_compare.h"
#include "diagnostics/compare/ramp_compare.h"
#include "diagnostics/compare/step_compare.h"
#include "platform/win/dialog_template.h"
#include "test_page_fixture.h"

namespace {

using CF = CCommonFunctions;
// Points by channel place: y values at x = 0, 1, 2 ...
using Lure = std::map<LONG, std::vector<double>>;

// Every channel of the plot filled: the lure's points where it has them,
// a curve elsewhere.
template <class Channel, class Plot>
void Fill(Plot& plot, const Lure& lure) {
  LONG count = 0;
  plot->GetChannelCount(&count);
  for (LONG c = 0; c < count; ++c) {
    IDispatchPtr dispatch;
    plot->GetChannel(c, &dispatch);
    Channel channel(dispatch);
    channel->Clear();
    const auto it = lure.find(c);
    if (it == lure.end())
      for (int i = 0; i < 10; ++i) channel->AddXY(i * 0.5, 20 + c + i, nullptr);
    else
      for (size_t i = 0; i < it->second.size(); ++i) channel->AddXY(static_cast<double>(i), it->second[i], nullptr);
  }
}

// A plot laid out by the kind's set-ups, filled, and saved by its saver.
template <class Plot, class Channel>
void SaveFilled(CF& cf, const char* progId, void (CF::*layOut)(Plot), void (CF::*channels)(Plot),
                void (CF::*save)(Plot), const Lure& lure) {
  IUnknownPtr control;
  control.CreateInstance(progId);
  Plot plot(control);
  (cf.*layOut)(plot);
  if (channels) (cf.*channels)(plot);
  Fill<Channel>(plot, lure);
  (cf.*save)(plot);
}
void SaveXY(CF& cf, void (CF::*layOut)(IiXYPlotXPtr), void (CF::*channels)(IiXYPlotXPtr),
            void (CF::*save)(IiXYPlotXPtr), const Lure& lure) {
  SaveFilled<IiXYPlotXPtr, IiXYPlotChannelPtr>(cf, kXYPlotProgId, layOut, channels, save, lure);
}
void SaveTime(CF& cf, void (CF::*layOut)(IiPlotXPtr), void (CF::*channels)(IiPlotXPtr),
              void (CF::*save)(IiPlotXPtr), const Lure& lure) {
  SaveFilled<IiPlotXPtr, IiPlotChannelPtr>(cf, kPlotProgId, layOut, channels, save, lure);
}

// Every kind of file the program saves, with the values a page of its kind
// would compare equal.
struct KindRow {
  const char* name;
  void (*save)(CF&, const Lure&);
};
const KindRow kRamp{"ramp", [](CF& cf, const Lure& lure) {
                      cf.m_strRampSettings = {"25", "75.5", "2", "60"};
                      cf.m_strRampTag = "FV-101";
                      SaveXY(cf, &CF::SetupRampPlot, &CF::SetupRampTestChannels, &CF::SaveRampFile, lure);
                    }};
const KindRow kStep{"step", [](CF& cf, const Lure& lure) {
                      cf.m_strStepSettings = {"40", "60", "5"};
                      cf.m_strStepTag = "FV-101";
                      SaveXY(cf, &CF::SetupStepPlot, &CF::SetupStepChannels, &CF::SaveStepFile, lure);
                    }};
const KindRow kPartialStroke{"partial stroke", [](CF& cf, const Lure& lure) {
                               cf.m_strPSTSettings = {"100", "90", "30", "10", "5"};
                               cf.m_strPSTBreakawayTime = "1.5";
                               cf.m_strPSTTimeToTarget = "2.5";
                               cf.m_nPSTResultCode = 1;
                               cf.m_strPSTTag = "FV-101";
                               SaveTime(cf, &CF::SetupPSTPlot, &CF::SetupPSTChannels, &CF::SavePSTFile, lure);
                             }};
const KindRow kHDRL{"HDRL", [](CF& cf, const Lure& lure) {
                      cf.m_strHDRLSettlingTime = "2";
                      cf.m_strHDRLTag = "FV-101";
                      SaveXY(cf, &CF::SetupHDRLPlots, &CF::SetupHDRLChannels, &CF::SaveHDRLFile, lure);
                    }};
const KindRow kDataLogger{"data logger", [](CF& cf, const Lure& lure) {
                            cf.m_strLoggerSettings = {"1", "2", "3", "4", "5", "6", "7"};
                            cf.m_strFileTag = "FV-101";
                            SaveTime(cf, &CF::SetupDataLoggerPlot, &CF::SetupDataLoggerChannels,
                                     &CF::SaveDataLoggerFile, lure);
                          }};
const KindRow kCurve{"curve", [](CF& cf, const Lure& lure) {
                       cf.m_strFileTag = "FV-101";
                       SaveTime(cf, &CF::SetupCharacterizationPlot, nullptr, &CF::SaveCharCurveFile, lure);
                     }};
const KindRow* const kKinds[] = {&kRamp, &kStep, &kPartialStroke, &kHDRL, &kDataLogger, &kCurve};

// The pages: their view, template, own kind and extension, the edit of
// file 2's name, and what their own kind holds at these places of a file:
// settings, a date and a tag.
struct PageRow {
  int index;
  UINT templateId;
  const KindRow* kind;
  const char* extension;
  int name2;
  Lure lure;
};
const PageRow kPageRows[] = {
    {21, 1089, &kStep, ".stp", 1111, {{4, {5, 5.01, 5.02, 5, 5, 5}}, {5, {1, 2, 3}}}},
    {19, 361, &kRamp, ".rmp", 1111, {{10, {25, 75.5, 2, 60, 1, 5, 5, 2009, 50, 49, 12, 1}}, {11, {1, 2, 3}}}},
    {25, 368, &kPartialStroke, ".pst", CDiagnostics_PSTCompareView::kName2Id,
     {{4, {100, 90, 30, 10, 5, 5, 5, 2009}}, {5, {1.5, 2.5, 1}}, {6, {1, 2, 3}}}},
    {23, 1088, &kHDRL, ".hdrl", 1111, {{8, {5, 5, 2009, 2}}, {9, {1, 2, 3}}}},
};

template <class V, int kViewIndex>
struct PageOf {
  using View = V;
  static constexpr int kIndex = kViewIndex;
  static const PageRow& Row() {
    for (const PageRow& row : kPageRows)
      if (row.index == kViewIndex) return row;
    throw std::logic_error("no row");
  }
};

IPlotBase* ComparePlot(CDiagnostics_PSTCompareView* page) { return page->GetComparePlot(); }
template <class View>
IPlotBase* ComparePlot(View* page) {
  return page->GetPlot();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

template <class Page>
class CompareKinds : public testpages::DiagnosticPage<typename Page::View, Page::kIndex> {
 public:
  using Base = testpages::DiagnosticPage<typename Page::View, Page::kIndex>;

  // A test of the kind as the program saves it, under the page's extension.
  std::string Save(const KindRow& kind, const char* title, const Lure& lure = {}) {
    const std::string path = Base::TempFile((std::string(title) + Page::Row().extension).c_str());
    const std::string stem = path.substr(0, path.rfind('.'));
    Base::files.insert(Base::files.end(), {stem + ".prp", stem + ".datalogprp"});
    CF cf;
    Base::person.AnswerFile(path);
    kind.save(cf, lure);
    return path;
  }
  void Open(int button, const std::string& path) {
    Base::person.AnswerFile(path);
    Base::Click(button);
  }
  // All the page shows and all that its report would print.
  std::vector<std::string> Now() {
    std::vector<std::string> state;
    auto* page = Base::page;
    for (const DialogItem& item : plat::FindDialogTemplate(Page::Row().templateId)->items) {
      CWnd* control = item.id > 0 ? page->GetDlgItem(item.id) : nullptr;
      if (!control) continue;
      state.push_back(std::to_string(item.id) + " " + page->GetDlgItemText(item.id) +
                      (control->IsWindowEnabled() ? " on" : " off") + (control->IsWindowVisible() ? " shown" : "") +
                      (page->IsDlgButtonChecked(item.id) == BST_CHECKED ? " checked" : ""));
    }
    const std::string data = Base::TempFile("plot.data"), properties = Base::TempFile("plot.properties");
    EXPECT_EQ(ComparePlot(page)->SaveDataToFile(data.c_str()), S_OK);
    EXPECT_EQ(ComparePlot(page)->SavePropertiesToFile(properties.c_str()), S_OK);
    state.push_back(ReadAll(data));
    state.push_back(ReadAll(properties));
    const CF& cf = theApp().m_CommonFunctions;
    for (const auto& t : cf.m_strStepCompare) state.push_back(t.str());
    for (const auto& t : cf.m_strRampCompare) state.push_back(t.str());
    for (const auto& t : cf.m_strPSTCompare) state.push_back(t.str());
    for (const auto& t : cf.m_strHDRLCompare) state.push_back(t.str());
    for (const int n : {cf.m_bCompareBidirectional[0], cf.m_bCompareBidirectional[1],
                        static_cast<BYTE>(cf.m_nCompareStrokeUnitCode), static_cast<BYTE>(cf.m_nCompareAreaUnitCode)})
      state.push_back(std::to_string(n));
    return state;
  }
};

using Pages = testing::Types<PageOf<CDiagnostics_StepCompareView, 21>, PageOf<CDiagnostics_RampCompareView, 19>,
                             PageOf<CDiagnostics_PSTCompareView, 25>, PageOf<CDiagnostics_HDRLCompareView, 23>>;
TYPED_TEST_SUITE(CompareKinds, Pages);

TYPED_TEST(CompareKinds, AnotherKindsFileIsRefusedAndThePageStaysAsItWas) {
  const PageRow& row = TypeParam::Row();
  const std::string ext = row.extension;
  this->Open(CComparePage::kFile1Id, this->Save(*row.kind, "a"));
  const plat::Question& dialog = this->person.Asked().back();
  EXPECT_EQ(dialog.kind, plat::Question::Kind::OpenFile);
  EXPECT_EQ(dialog.filter, "(*" + ext + ")|*" + ext + "|");
  this->Open(CComparePage::kFile2Id, this->Save(*row.kind, "b"));
  ASSERT_EQ(this->person.Asked().back().kind, plat::Question::Kind::OpenFile) << this->person.Asked().back().text;
  ASSERT_NE(this->Field(row.name2), "");

  for (const KindRow* other : kKinds) {
    if (other == row.kind) continue;
    const std::string path = this->Save(*other, "other", row.lure);
    for (const int button : {CComparePage::kFile1Id, CComparePage::kFile2Id}) {
      SCOPED_TRACE(std::string(other->name) + " file as file " + (button == CComparePage::kFile1Id ? "1" : "2"));
      const std::vector<std::string> before = this->Now();
      this->person.AnswerFile(path).Answer(IDOK);
      this->Click(button);
      ASSERT_EQ(this->person.Asked().back().kind, plat::Question::Kind::Message);
      EXPECT_EQ(this->person.Asked().back().text, "File open error.");
      EXPECT_EQ(this->Now(), before);
    }
  }
}

}  // namespace
