// The two characterisation pages against the simulated positioner, on the
// manual clock: the setting shown and written, the curves drawn, the
// custom curve read, edited point by point and written in hundredths.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "files/fixture.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"
#include "views/config/custom_characterisation.h"
#include "views/config/stroke_characterisation.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using namespace activex;
using Stroke = CConfiguration_StrokeCharView;
using Custom = CConfiguration_CustomCharView;

const Bytes kReadSetting = Read200({167, 55, 56});
const Bytes kReadCurve = {134};
const Bytes kStatusPoll = Read200({8, 42});

std::string Lang(const char* key) { return TheLanguageTable().Lookup(key).str(); }

sim::Curve Hundredths(std::initializer_list<std::pair<int, std::int16_t>> points) {
  sim::Curve curve{};
  for (auto [point, value] : points) curve[static_cast<size_t>(point - 1)] = value;
  return curve;
}

class CharPages : public testpages::SimulatedPage {
 public:  // the tables of cases act through the fixture
  template <class Page>
  Page* Open() {
    auto* page = static_cast<Page*>(CreatePage(std::is_same_v<Page, Stroke> ? 31 : 32));
    EXPECT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    m_page = page;
    return page;
  }
  // Requests of the next tick (or of `ms`), status polls left out.
  std::vector<Bytes> Sent(int ms = 5000) {
    device->ClearRequests();
    clock.Advance(ms);
    std::vector<Bytes> sent;
    for (const Bytes& r : device->Requests())
      if (r != kStatusPoll) sent.push_back(r);
    return sent;
  }
  void SetCurve(const sim::Curve& curve) {
    ModifyState([&](sim::DeviceState& s) { s.setup.customCurve = curve; });
  }
  IiPlotChannelPtr Channel(IiPlotX* plot) {
    IiPlotXPtr p(plot, true);
    return theApp().m_CommonFunctions.GetPlotChannelByName(p, "CharCurve");
  }
  std::vector<std::pair<double, double>> Points(IiPlotX* plot) {
    std::vector<std::pair<double, double>> points;
    IiPlotChannelPtr channel = Channel(plot);
    LONG count = 0;
    channel->GetCount(&count);
    for (LONG i = 0; i < count; ++i) {
      double x = 0, y = 0;
      channel->GetX(i, &x);
      channel->GetY(i, &y);
      points.emplace_back(x, y);
    }
    return points;
  }
  std::string Text(int id) const { return m_page->GetDlgItemText(id); }
  bool Enabled(int id) const { return m_page->GetDlgItem(id)->IsWindowEnabled(); }
  void Click(int id) { m_page->GetDlgItemAs<CButton>(id)->Click(); }
  int Selection() const { return m_page->GetDlgItemAs<CComboBox>(Stroke::kSelectionId)->GetCurSel(); }
  CProgressCtrl* Progress(int id) const { return m_page->GetDlgItemAs<CProgressCtrl>(id); }

  CStepPage* m_page = nullptr;
};

// ---- Stroke characterisation.

TEST_F(CharPages, StrokeShowsTheSettingOfVariables56And167AndTheDipSwitchMark) {
  const struct {
    double v56, v167, v55;
    int selection;
    int differs;
  } cases[] = {
      {0x08, 3, 0x08, 0, 0},   // linear whatever the curve number
      {0x48, 6, 0x00, 0, 1},
      {0x00, 3, 0x08, 4, 1},
      {0x40, 6, 0x40, 7, 0},
      {0x00, 7, 0x00, -1, 0},  // past the list: no selection
  };
  auto* page = Open<Stroke>();
  for (const auto& c : cases) {
    device->SetVariable(56, c.v56);
    device->SetVariable(167, c.v167);
    device->SetVariable(55, c.v55);
    page->StartMonitoring();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetting}) << c.v56 << " " << c.v167;
    EXPECT_EQ(Selection(), c.selection) << c.v56 << " " << c.v167;
    EXPECT_EQ(page->GetDlgItemAs<CButton>(Stroke::kDifferId)->GetCheck(), c.differs);
    page->StopMonitoring();
  }
}

TEST_F(CharPages, StrokeApplyAsksThenWritesCurveAndLinearBitKeepingTheOtherBits) {
  const struct {
    int selection;
    double v56;
    Bytes frame;
  } cases[] = {
      {0, 0x44, {201, 6, 0x00, 0xA7, 0, 0x00, 0x38, 0x4C}},
      {3, 0x4C, {201, 6, 0x00, 0xA7, 2, 0x00, 0x38, 0x44}},
      {7, 0xCC, {201, 6, 0x00, 0xA7, 6, 0x00, 0x38, 0xC4}},
  };
  for (const auto& c : cases) {
    device->SetVariable(56, c.v56);
    device->SetVariable(167, 1);
    auto* page = Open<Stroke>();
    page->StartMonitoring();
    clock.Advance(10000);
    ASSERT_TRUE(Enabled(Stroke::kApplyId));
    page->GetDlgItemAs<CComboBox>(Stroke::kSelectionId)->SetCurSel(c.selection);
    person.Answer(IDYES);
    Click(Stroke::kApplyId);
    EXPECT_FALSE(Enabled(Stroke::kApplyId));
    EXPECT_EQ(person.Asked().back().text, Lang("STATUSMAYCLOSE") + "\n" + Lang("CONTINUE"));
    EXPECT_EQ(Sent(), std::vector<Bytes>{c.frame}) << c.selection;
    EXPECT_EQ(Selection(), c.selection);  // the device's echo
    EXPECT_TRUE(Enabled(Stroke::kApplyId));
    page->StopMonitoring();
    page->DestroyWindow();
  }
}

TEST_F(CharPages, StrokeApplyWritesNothingAfterNoOrWithoutASelection) {
  const struct {
    double v167;
    int answer;
  } cases[] = {{2, IDNO}, {7, IDYES}};
  for (const auto& c : cases) {
    device->SetVariable(167, c.v167);
    device->SetVariable(56, 0);
    auto* page = Open<Stroke>();
    page->StartMonitoring();
    clock.Advance(10000);
    person.Answer(c.answer);
    Click(Stroke::kApplyId);
    EXPECT_EQ(Sent(15000), std::vector<Bytes>{}) << c.v167;
    EXPECT_TRUE(Enabled(Stroke::kApplyId));
    page->StopMonitoring();
    page->DestroyWindow();
  }
}

TEST_F(CharPages, StrokeDrawsTheChosenCurveAndReadsTheCustomOneFirst) {
  device->SetVariable(56, 0x08);
  SetCurve(Hundredths({{2, 1250}, {20, 9975}, {21, 10000}}));
  auto* page = Open<Stroke>();
  page->StartMonitoring();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetting});
  EXPECT_EQ(Sent(), std::vector<Bytes>{});  // linear drawn from the table
  std::vector<std::pair<double, double>> linear;
  for (int i = 0; i <= 20; ++i) linear.emplace_back(5 * i, 5 * i);
  EXPECT_EQ(Points(page->GetPlot()), linear);
  EXPECT_EQ(Progress(Stroke::kProgressId)->GetPos(), 21);

  auto* list = page->GetDlgItemAs<CComboBox>(Stroke::kSelectionId);
  list->SetCurSel(2);
  list->NotifyParent(CBN_SELCHANGE);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  const auto equal = Points(page->GetPlot());
  ASSERT_EQ(equal.size(), 21u);
  EXPECT_EQ(equal[4], (std::pair<double, double>{20, 4.4}));
  EXPECT_EQ(equal[19], (std::pair<double, double>{95, 69.2}));

  list->SetCurSel(7);
  list->NotifyParent(CBN_SELCHANGE);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadCurve});
  const auto custom = Points(page->GetPlot());
  ASSERT_EQ(custom.size(), 21u);
  EXPECT_EQ(custom[1], (std::pair<double, double>{5, 12.5}));
  EXPECT_EQ(custom[19], (std::pair<double, double>{95, 99.75}));
  EXPECT_EQ(Progress(Stroke::kProgressId)->GetPos(), 20);  // of 21
}

// ---- Custom characterisation.

class CustomPage : public CharPages {
 public:
  // Shown and read: the set-up on the first tick, the curve on the second.
  Custom* OpenAndRead() {
    auto* page = Open<Custom>();
    page->StartMonitoring();
    clock.Advance(10000);
    return page;
  }
  double Spin(int point) {
    double v = 0;
    static_cast<Custom*>(m_page)->GetSpin(point)->get_Value(&v);
    return v;
  }
  void SetSpin(int point, double v) { static_cast<Custom*>(m_page)->GetSpin(point)->put_Value(v); }
  // What a user does: the spin edit changes and says so.
  void Turn(int point, double v, int event = 203) {
    SetSpin(point, v);
    IControlTestPtr test;
    static_cast<Custom*>(m_page)->GetSpin(point)->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
    test->UserEvent(event, event == 202 ? std::vector<_variant_t>{_variant_t(LONG(0))} : std::vector<_variant_t>{});
  }
};

TEST_F(CustomPage, ReadsTheSetUpThenTheCurveAndShowsItInFieldsAndPlot) {
  device->SetVariable(56, 0x40);
  device->SetVariable(167, 6);
  device->SetVariable(116, 1.5);
  SetCurve(Hundredths({{2, 3750}, {11, -250}, {21, 10000}}));
  auto* page = Open<Custom>();
  for (int i = 0; i < 21; ++i) EXPECT_EQ(Text(Custom::kInputEdits[static_cast<size_t>(i)]), std::to_string(5 * i));
  device->ClearRequests();
  page->StartMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{Read200({229})});
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({167, 56, 150, 116}), Read200({10})}));
  EXPECT_EQ(Text(Custom::kSettingEdit), Lang("CharCustom"));
  EXPECT_EQ(Text(Custom::kStrokeLengthEdit), "1.50");
  EXPECT_EQ(Text(Custom::kPositionEdit), plat::FormatNumber("%3.2f", theApp().m_comm.m_dVar10));
  EXPECT_FALSE(Enabled(Custom::kApplyId));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadCurve});
  EXPECT_EQ(Text(Custom::kOutputFirst), "0");
  EXPECT_EQ(Spin(2), 37.5);
  EXPECT_EQ(Spin(11), -2.5);
  EXPECT_EQ(Text(Custom::kOutputLast), "100");
  const auto points = Points(page->GetPlot());
  ASSERT_EQ(points.size(), 21u);
  EXPECT_EQ(points[1], (std::pair<double, double>{5, 37.5}));
  EXPECT_EQ(Progress(Custom::kProgressId)->GetPos(), 20);
  for (int id : {Custom::kApplyId, Custom::kRetrieveId, Custom::kSaveId, Custom::kLoadId}) EXPECT_TRUE(Enabled(id));
}

// Word 1 is always 0, the others truncated hundredths, every point held
// to 0..100 (the last one from its field).
TEST_F(CustomPage, ApplySendsTheFieldsAsHundredthsAndShowsTheDevicesEcho) {
  SetCurve({});
  OpenAndRead();
  SetSpin(2, 33.339);
  SetSpin(3, 150);
  SetSpin(4, -5);
  m_page->SetDlgItemText(Custom::kOutputFirst, "55");
  m_page->SetDlgItemText(Custom::kOutputLast, "250");
  Click(Custom::kApplyId);
  for (int id : {Custom::kApplyId, Custom::kRetrieveId, Custom::kSaveId, Custom::kLoadId}) EXPECT_FALSE(Enabled(id));
  Bytes frame = {135, 42, 0x00, 0x00, 0x0D, 0x05, 0x27, 0x10, 0x00, 0x00};
  frame.insert(frame.end(), 32, 0);
  frame.insert(frame.end(), {0x27, 0x10});
  EXPECT_EQ(Sent(), std::vector<Bytes>{frame});
  EXPECT_EQ(Spin(2), 33.33);
  EXPECT_EQ(Spin(3), 100);
  EXPECT_EQ(Spin(4), 0);
  EXPECT_EQ(Text(Custom::kOutputFirst), "0");
  EXPECT_EQ(Text(Custom::kOutputLast), "100");
  EXPECT_TRUE(Enabled(Custom::kApplyId));
}

TEST_F(CustomPage, RetrievalsReplaceThePreviousCurveOnlyUntilTheFirstApply) {
  SetCurve(Hundredths({{2, 100}}));
  auto* page = OpenAndRead();
  EXPECT_EQ(page->PreviousOutputs().value()[1], 1);
  SetCurve(Hundredths({{2, 200}}));
  Click(Custom::kRetrieveId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadCurve});
  EXPECT_EQ(page->PreviousOutputs().value()[1], 2);
  SetSpin(2, 7);
  Click(Custom::kApplyId);
  Sent();
  EXPECT_EQ(page->PreviousOutputs().value()[1], 2);  // the curve before the write
  EXPECT_EQ(Spin(2), 7);
  SetCurve(Hundredths({{2, 300}}));
  Click(Custom::kRetrieveId);
  Sent();
  EXPECT_EQ(Spin(2), 3);
  EXPECT_EQ(page->PreviousOutputs().value()[1], 2);
}

// Without an answer the device keeps its curve; the page says so, keeps the
// edits and the image in percent, so the next write is not a hundredfold.
TEST_F(CustomPage, AWriteWithoutAnswerKeepsTheCurveAndSaysSo) {
  SetCurve(Hundredths({{2, 500}, {21, 10000}}));
  OpenAndRead();
  SetSpin(2, 20);
  device->InjectNoReply();
  person.Answer(IDOK);
  Click(Custom::kApplyId);
  Sent();
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Lang("CUSTCHARNOTWRITTEN"));
  EXPECT_EQ(Spin(2), 20);
  EXPECT_EQ(theApp().m_comm.m_adCustCharY[20], 100);
  EXPECT_TRUE(Enabled(Custom::kApplyId));
  Click(Custom::kApplyId);
  const std::vector<Bytes> sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ((Bytes{sent[0][4], sent[0][5], sent[0][42], sent[0][43]}), (Bytes{0x07, 0xD0, 0x27, 0x10}));
  EXPECT_EQ(device->State().setup.customCurve[1], 2000);
}

TEST_F(CustomPage, APointThatIsNotANumberIsRefusedAndNothingWritten) {
  const struct {
    const char* what;
    std::function<void(CustomPage&)> set;
  } cases[] = {
      {"last field", [](CustomPage& t) { t.m_page->SetDlgItemText(Custom::kOutputLast, "1e999"); }},
      {"last field text", [](CustomPage& t) { t.m_page->SetDlgItemText(Custom::kOutputLast, "abc"); }},
      {"spin edit", [](CustomPage& t) { t.SetSpin(9, std::numeric_limits<double>::quiet_NaN()); }},
  };
  OpenAndRead();
  for (const auto& c : cases) {
    c.set(*this);
    const size_t asked = person.Asked().size();
    person.Answer(IDOK);
    Click(Custom::kApplyId);
    EXPECT_EQ(Sent(), std::vector<Bytes>{}) << c.what;
    ASSERT_EQ(person.Asked().size(), asked + 1) << c.what;
    EXPECT_EQ(person.Asked().back().text, Lang("CUSTCHARINVALID"));
    EXPECT_TRUE(Enabled(Custom::kApplyId));
    Click(Custom::kRetrieveId);
    Sent();
  }
}

TEST_F(CustomPage, ASpinChangeMovesItsPointHeldToTheLimitsAndLeavesTheField) {
  const struct {
    int point;
    double typed, plotted;
    int event;
  } cases[] = {{2, 150, 100, 203}, {10, -5, 0, 202}, {20, 42.125, 42.125, 203}, {11, 0.5, 0.5, 202}};
  SetCurve(Hundredths({{21, 10000}}));
  auto* page = OpenAndRead();
  for (const auto& c : cases) {
    Turn(c.point, c.typed, c.event);
    const auto points = Points(page->GetPlot());
    EXPECT_EQ(points[static_cast<size_t>(c.point - 1)].second, c.plotted) << c.point;
    EXPECT_EQ(points[static_cast<size_t>(c.point - 1)].first, 5.0 * (c.point - 1));
    EXPECT_EQ(Spin(c.point), c.typed);
    EXPECT_EQ(points.front().second, 0);
    EXPECT_EQ(points.back().second, 100);
  }
}

TEST_F(CustomPage, SpinChangesBeforeTheFirstCurveAreIgnored) {
  auto* page = Open<Custom>();
  Turn(5, 50, 203);  // still gated: the set-up's own
  Turn(6, 50, 202);  // nothing plotted to move
  page->StartMonitoring();
  Turn(7, 50, 203);
  EXPECT_TRUE(Points(page->GetPlot()).empty());
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({167, 56, 150, 116}), Read200({10})}));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadCurve});
  EXPECT_EQ(Points(page->GetPlot()).size(), 21u);
}

TEST_F(CustomPage, NoCurveEverReadSaysSoAndReadsOnceMore) {
  theApp().m_comm.m_byEcho134 = 0;
  auto* page = Open<Custom>();
  page->StartMonitoring();
  clock.Advance(5000);
  device->InjectNoReply();
  person.Answer(IDOK);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadCurve, kReadCurve}));
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Lang("IOMODULE_ERROR"));
}

// ---- Custom characterisation: the other sources of the curve.

class CurveSources : public CustomPage {
 public:
  ISpinEditXPtr Rangeability() {
    ISpinEditXPtr spin;
    m_page->GetDlgItem(static_cast<int>(Custom::kRangeId))
        ->GetControlUnknown()
        ->QueryInterface(ISpinEditX::kIID, reinterpret_cast<void**>(&spin));
    return spin;
  }
  // Each box: x ticked, o open, - closed, # closed but ticked; then the
  // arm length edit, the stroke length edit and Calculate, capital when
  // enabled.
  std::string Linkage() {
    std::string s;
    for (int id : {1176, 1177, 1178, 1179}) {
      const bool ticked = m_page->GetDlgItemAs<CButton>(id)->GetCheck() == BST_CHECKED;
      s += Enabled(id) ? (ticked ? 'x' : 'o') : (ticked ? '#' : '-');
    }
    s += ' ';
    s += Enabled(Custom::kArmLengthEdit) ? 'A' : 'a';
    s += Enabled(Custom::kStrokeLengthEdit) ? 'S' : 's';
    s += Enabled(Custom::kCalculateId) ? 'C' : 'c';
    return s;
  }
  // The procedure walked through to Calculate.
  void OpenLinkage(const char* armLength) {
    for (int id : {1176, 1177, 1178}) Click(id);
    m_page->SetDlgItemText(Custom::kArmLengthEdit, armLength);
    Click(1179);
  }
};

// 100 x (R^(x/100 - 1) - 1/R) at 50 %; out of range the fields stay as read.
TEST_F(CurveSources, GenerateFillsTheFieldsFromTheRangeabilityAndWritesNothing) {
  const struct {
    double rangeability;
    double at50, at95;
  } cases[] = {{50, 12.14, 80.23}, {300, 5.44, 74.85}, {29, 40, 90}, {301, 40, 90}};
  SetCurve(Hundredths({{11, 4000}, {20, 9000}, {21, 10000}}));
  auto* page = OpenAndRead();
  for (const auto& c : cases) {
    Rangeability()->put_Value(c.rangeability);
    Click(Custom::kGenerateId);
    EXPECT_NEAR(Spin(11), c.at50, 0.005) << c.rangeability;
    EXPECT_NEAR(Spin(20), c.at95, 0.005) << c.rangeability;
    EXPECT_NEAR(Points(page->GetPlot())[10].second, c.at50, 0.005) << c.rangeability;
    EXPECT_EQ(Text(Custom::kOutputLast), "100");
    EXPECT_EQ(Sent(), std::vector<Bytes>{}) << c.rangeability;
    Click(Custom::kRetrieveId);
    Sent();
  }
}

TEST_F(CurveSources, RestoreBringsBackTheCurveBeforeTheWriteAndNothingBeforeARead) {
  SetCurve(Hundredths({{2, 1250}, {21, 10000}}));
  auto* page = Open<Custom>();
  page->StartMonitoring();
  Click(Custom::kRestoreId);
  EXPECT_TRUE(Points(page->GetPlot()).empty());
  EXPECT_EQ(Spin(2), 0);
  clock.Advance(10000);
  Turn(2, 60);
  Click(Custom::kRestoreId);
  EXPECT_EQ(Spin(2), 12.5);
  EXPECT_EQ(Points(page->GetPlot())[1].second, 12.5);
  Turn(2, 60);
  Click(Custom::kApplyId);
  Sent();
  EXPECT_EQ(device->State().setup.customCurve[1], 6000);
  Click(Custom::kRestoreId);
  EXPECT_EQ(Spin(2), 12.5);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  EXPECT_EQ(device->State().setup.customCurve[1], 6000);
}

// Variable 229 read on showing sets the procedure, over whatever the user
// had left open.
TEST_F(CurveSources, TheLinkageProcedureStartsFromVariable229) {
  const struct {
    double v229;
    const char* shown;
  } cases[] = {{0, "o--- asc"}, {1, "o--- asc"}, {2, "---- asc"}, {4, "---- asc"},
               {5, "---- aSc"}, {254, "---- aSc"}, {255, "---- aSc"}};
  auto* page = Open<Custom>();
  for (const auto& c : cases) {
    device->SetVariable(229, 0);
    page->StartMonitoring();
    OpenLinkage("2");
    ASSERT_EQ(Linkage(), "xxxx ASC");
    page->StopMonitoring();
    device->SetVariable(229, c.v229);
    page->StartMonitoring();
    EXPECT_EQ(Linkage(), c.shown) << c.v229;
    page->StopMonitoring();
  }
}

TEST_F(CurveSources, TheLinkageStepsOpenInOrderAndUntickingWithdrawsWhatFollows) {
  const struct {
    const char* what;
    std::function<void(CurveSources&)> act;
    const char* shown;
  } steps[] = {
      {"step 1", [](CurveSources& t) { t.Click(1176); }, "xo-- asc"},
      {"step 2", [](CurveSources& t) { t.Click(1177); }, "xxo- Asc"},
      {"step 3 without an arm", [](CurveSources& t) { t.Click(1178); }, "xxx- Asc"},
      {"arm 2.5", [](CurveSources& t) { t.m_page->SetDlgItemText(Custom::kArmLengthEdit, "2.5"); }, "xxxo Asc"},
      {"step 4", [](CurveSources& t) { t.Click(1179); }, "xxxx ASC"},
      {"arm 0", [](CurveSources& t) { t.m_page->SetDlgItemText(Custom::kArmLengthEdit, "0"); }, "xxx- Asc"},
      {"arm 3", [](CurveSources& t) { t.m_page->SetDlgItemText(Custom::kArmLengthEdit, "3"); }, "xxxo Asc"},
      {"step 4 again", [](CurveSources& t) { t.Click(1179); }, "xxxx ASC"},
      {"arm not a number", [](CurveSources& t) { t.m_page->SetDlgItemText(Custom::kArmLengthEdit, "x"); },
       "xxx- Asc"},
      {"arm 3 and step 4",
       [](CurveSources& t) {
         t.m_page->SetDlgItemText(Custom::kArmLengthEdit, "3");
         t.Click(1179);
       },
       "xxxx ASC"},
      {"step 3 off", [](CurveSources& t) { t.Click(1178); }, "xxo- Asc"},
      {"step 3 and 4 on", [](CurveSources& t) { t.Click(1178); t.Click(1179); }, "xxxx ASC"},
      {"step 1 off", [](CurveSources& t) { t.Click(1176); }, "o--- asc"},
  };
  device->SetVariable(229, 1);
  Open<Custom>()->StartMonitoring();
  for (const auto& s : steps) {
    s.act(*this);
    EXPECT_EQ(Linkage(), s.shown) << s.what;
  }
}

// Advice leaves the curve as read; a result fills it. At position 0 point
// x is 100 asin(x S / 100 L) / t, t the first hundredth of a degree with
// L sin t >= S: 30.01 for S 1, L 2 and 20.49 for S 0.7, L 2.
TEST_F(CurveSources, CalculateShowsTheLinearisedCurveOrAdviceAndWritesNothing) {
  const struct {
    const char *stroke, *arm, *position;
    const char* message;  // the procedure's own words, not a language text
    double at5, at50;     // of the curve read when advised
  } cases[] = {
      {"2", "1", "0", "Use Longer Feedback arm", 1, 40},  // S / L not below 1.73
      {"1.5", "1", "20", "Adjust feedback collar towards open position", 1, 40},  // L (sin 60 + sin 15) short of S
      {"1.5", "1", "80", "Adjust feedback collar towards closed position", 1, 40},
      {"1", "1", "100", "Adjust feedback collar towards closed position", 1, 40},
      {"1", "2", "0", "OK", 4.77, 48.24},  // 100 asin(0.025) / 30.01, 100 asin(0.25) / 30.01
      {"0.7", "2", "0", "We suggest using a shorter Feedback arm", 4.89, 49.19},  // S / L 0.35
  };
  device->SetVariable(229, 0);
  SetCurve(Hundredths({{2, 100}, {11, 4000}, {21, 10000}}));
  auto* page = OpenAndRead();
  OpenLinkage("1");
  for (const auto& c : cases) {
    m_page->SetDlgItemText(Custom::kArmLengthEdit, c.arm);
    m_page->SetDlgItemText(Custom::kStrokeLengthEdit, c.stroke);
    m_page->SetDlgItemText(Custom::kPositionEdit, c.position);
    Click(Custom::kCalculateId);
    EXPECT_EQ(Text(Custom::kErrorEdit), c.message);
    EXPECT_NEAR(Spin(2), c.at5, 0.005) << c.message;
    EXPECT_NEAR(Spin(11), c.at50, 0.005) << c.message;
    EXPECT_NEAR(Points(page->GetPlot())[10].second, c.at50, 0.005) << c.message;
    EXPECT_EQ(Text(Custom::kOutputLast), "100");
    EXPECT_EQ(Sent(), std::vector<Bytes>{}) << c.message;
    Click(Custom::kRetrieveId);
    Sent();
  }
}

TEST_F(CurveSources, SavedUnderTheTagAndLoadedBackIntoTheFields) {
  filetest::ScratchFolder folder;
  const std::string path = folder / "valve.curve";
  SetCurve(Hundredths({{2, 1000}, {21, 10000}}));
  auto* page = OpenAndRead();
  theApp().m_comm.m_strTag = "FV7";
  Turn(5, 33.3);
  person.AnswerFile(path);
  Click(Custom::kSaveId);
  EXPECT_EQ(person.Asked().back().defaultName.rfind("FV7_", 0), 0u) << person.Asked().back().defaultName;
  const auto saved = Points(page->GetPlot());

  Click(Custom::kRetrieveId);
  Sent();
  ASSERT_EQ(Spin(5), 0);
  person.AnswerFile(path);
  Click(Custom::kLoadId);
  EXPECT_EQ(Points(page->GetPlot()), saved);
  EXPECT_EQ(Spin(2), 10);
  EXPECT_EQ(Spin(5), 33.3);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});

  person.CancelFile();
  Click(Custom::kLoadId);
  EXPECT_EQ(Spin(5), 33.3);
}

}  // namespace
