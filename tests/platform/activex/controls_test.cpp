// The controls against the creators' and set-ups' tables: every put is
// taken, journalled in order under the table's row names; gauge markers are
// addressed in adding order; planned failures, refusals, registration and
// fonts.
#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "sequences.h"

namespace {

using namespace axtest;

std::vector<std::string> JournalOf(IUnknown* control) { return As<IControlTest>(control)->Journal(); }

struct JournalCase {
  const char* name;
  const char* progId;
  std::vector<Step> steps;
  std::vector<std::string> journal;
};

class Journal : public ::testing::TestWithParam<JournalCase> {};

TEST_P(Journal, TakesEveryPutInOrderUnderItsRowName) {
  const JournalCase& c = GetParam();
  IUnknownPtr control = Create(c.progId);
  ASSERT_TRUE(control);
  EXPECT_EQ(Apply(control, c.steps), S_OK);
  EXPECT_EQ(JournalOf(control), c.journal);
}

const std::vector<std::string> kPiezoJournal = {"31=1",
                                                "2=1",
                                                "3=0x00FF00",
                                                "4=12",
                                                "5=12",
                                                "element[0].int4=1",
                                                "30=0",
                                                "16=1",
                                                "20=10",
                                                "17=1",
                                                "23=5",
                                                "1=30",
                                                "24=5",
                                                "11=1",
                                                "8=0xC0C0C0",
                                                "28=24",
                                                "29=-24",
                                                "22=3",
                                                "19=9",
                                                "add",
                                                "element[1].int3=1",
                                                "element[1].int4=1",
                                                "element[1].int1=12",
                                                "element[1].int2=12",
                                                "element[1].position=-8",
                                                "element[1].color=0x0A0AFF",
                                                "element[1].bool=false",
                                                "add",
                                                "element[2].int3=1",
                                                "element[2].int1=12",
                                                "element[2].int2=12",
                                                "element[2].int4=1",
                                                "element[2].position=2",
                                                "element[2].color=0x00FFFF",
                                                "element[2].bool=false",
                                                "add",
                                                "element[3].int3=1",
                                                "element[3].int1=12",
                                                "element[3].int2=12",
                                                "element[3].int4=1",
                                                "element[3].position=20",
                                                "element[3].color=0x3399CC",
                                                "element[3].bool=false",
                                                "add",
                                                "element[4].int3=1",
                                                "element[4].int1=12",
                                                "element[4].int2=12",
                                                "element[4].int4=1",
                                                "element[4].position=22.75",
                                                "element[4].color=0x5096FF",
                                                "element[4].bool=false"};

INSTANTIATE_TEST_SUITE_P(
    CreatorsAndSetUps, Journal,
    ::testing::Values(
        JournalCase{"SpinEdit", kSpinEditProgId, CreateSpinEdit(), {"S1=1", "S2=0", "S3=2"}},
        JournalCase{"LedRound",
                    kLedRoundProgId,
                    CreateLedRound(40, 40),
                    {"width=40", "height=40", "color=0x00FF00", "S1=1", "S2=1", "S3=0", "S4=0"}},
        JournalCase{"LedRoundGrey",
                    kLedRoundProgId,
                    CreateLedRound(0, 16, 0x696969),
                    {"width=0", "height=16", "color=0x696969", "S1=1", "S2=1", "S3=0", "S4=0"}},
        JournalCase{
            "LedArrow",
            kLedArrowProgId,
            CreateLedArrow(30, 20, 0xF0F0F0),
            {"width=30", "height=20", "A2=6", "A3=12", "S1=0x696969", "A5=0xF0F0F0", "S2=0", "A4=1", "S3=1", "A1=0"}},
        JournalCase{"LinearGauge",
                    kLinearGaugeProgId,
                    CreateLinearGauge(300, 60),
                    {"width=300", "height=60", "S1=0x8000000A", "15=2", "28=110", "29=-10", "19=13", "22=3", "32=1"}},
        JournalCase{"LinearGauge2",
                    kLinearGaugeProgId,
                    CreateLinearGauge2(80, 240),
                    {"6=4", "S2=1", "2=1", "width=80", "height=240"}},
        JournalCase{"SwitchSlider",
                    kSwitchSliderProgId,
                    CreateSwitchSlider(150, 30, "Analog,Digital Only"),
                    {"width=150", "height=30", "S1=0", "S2=0xFF0000", "S3=10", "S4=1", "S5=14", "S6=2", "S7=0xFF0000",
                     "S8=0", "S9=3", "S10=10", "texts=Analog,Digital Only", "height=42", "width=108"}},
        JournalCase{"SwitchToggle",
                    kSwitchToggleProgId,
                    CreateSwitchToggle(40, 60),
                    {"S1=1", "width=40", "height=60", "S2=1", "S3=0", "S4=1", "S5=1"}},
        JournalCase{"AnalogDisplay",
                    kAnalogDisplayProgId,
                    CreateAnalogDisplay(90, 26, "%"),
                    {"width=90", "height=26", "S1=0x8000000A", "S2=0x8000000A", "S3=0", "S4=0", "units=%", "S5=0"}},
        JournalCase{
            "AnalogDisplay2", kAnalogDisplayProgId, CreateAnalogDisplay2(90, 26), {"width=90", "height=26", "S6=0"}},
        JournalCase{"EditDisplay",
                    kEditDisplayProgId,
                    CreateEditDisplay(80, 22),
                    {"S1=0xC0C0C0", "S2=2", "font.size=80000", "font.bold=true", "font.name=Arial", "font", "width=80",
                     "height=22", "S3=0"}},
        JournalCase{"Label",
                    kLabelProgId,
                    CreateLabel(120, 20, "Settings"),
                    {"S1=0", "S2=1", "height=20", "width=120", "caption=Settings"}},
        JournalCase{"ThermometerWide",
                    kThermometerProgId,
                    CreateThermometer(1),
                    {"font.size=80000", "font.name=Arial", "font", "S1=0x8000000F", "S2=0xFF6633", "S3=7", "S4=3",
                     "S5=0", "max=150", "min=-50", "S6=5", "S7=3", "S8=5", "S9=0", "S10=0"}},
        JournalCase{"ThermometerNarrow",
                    kThermometerProgId,
                    CreateThermometer(2),
                    {"font.size=80000", "font.name=Arial", "font", "S1=0x8000000F", "S2=0xFF6633", "S3=7", "S4=3",
                     "S5=0", "max=100", "min=0", "S8=5", "S9=0", "S10=0"}},
        JournalCase{"ImageDisplay",
                    kImageDisplayProgId,
                    CreateImageDisplay(61, 56, 169),
                    {"width=61", "height=56", "clear", "picture=169"}},
        JournalCase{"Report", kReportProgId, CreateReport(), {"font.charset=0"}},
        JournalCase{"DashboardGaugeFonts",
                    kLinearGaugeProgId,
                    SetupDashboardGaugeFonts(),
                    {"15=2",
                     "font.size=50000",
                     "font.name=Arial",
                     "font",
                     "26=110",
                     "27=-10",
                     "32=1",
                     "1=8",
                     "15e=0xFF0000",
                     "15f=0xFF0000",
                     "30a=1",
                     "15d=10",
                     "15c=10",
                     "34a=1",
                     "2=1",
                     "5=15",
                     "6=1",
                     "28=110",
                     "29=-10",
                     "8=0x6A6A6A",
                     "9=0xD2D2D2",
                     "10=0x585858",
                     "11=3",
                     "12=-10",
                     "13=110",
                     "14=90",
                     "15a=1",
                     "15b=1",
                     "19=13",
                     "7a=1",
                     "21=2",
                     "22=2",
                     "23=4",
                     "7b=1",
                     "30a=1",
                     "30b=0"}},
        JournalCase{"PiezoVolGauge", kLinearGaugeProgId, SetupPiezoVolGauge(), kPiezoJournal},
        JournalCase{
            "SetupLedArrow", kLedArrowProgId, SetupLedArrow(), {"A4=1", "A5=0x0A0AFF", "A2=4", "A3=18", "A6=1"}},
        JournalCase{
            "DeviationLabel",
            kLabelProgId,
            SetupDeviationLabel(),
            {"font.size=100000", "font.name=Arial", "font.bold=true", "font", "L2=0", "L1=0", "L3=1", "L4=0xFFCC00"}},
        JournalCase{"LabelFont",
                    kLabelProgId,
                    SetupLabelFont(1),
                    {"font.name=Arial", "font.underline=true", "font", "L5=0xFF0000", "L6=1"}},
        JournalCase{"AlarmHistoryGrid",
                    kGridProgId,
                    SetupAlarmHistoryGrid("State", "Alarm #", "Indication"),
                    {"S1=0", "S2=1", "S3=4", "S4=3", "S5=2", "cols=3", "S6=1", "S7=0", "fixedcols=0", "rows=9",
                     "fixedrows=1", "S8=1", "colwidth[0]=1548", "colsetting[0]=5", "text[0,0]=State",
                     "text[0,1]=Alarm #", "text[0,2]=Indication", "S9=0", "S10=1"}}),
    [](const ::testing::TestParamInfo<JournalCase>& info) { return std::string(info.param.name); });

TEST(Gauge, MarkersAreAddressedInAddingOrderAndThePointerStaysElementZero) {
  IUnknownPtr control = Create(kLinearGaugeProgId);
  ASSERT_EQ(Apply(control, Concat({CreateLinearGauge2(80, 240), SetupPiezoVolGauge()})), S_OK);
  IiLinearGaugeXPtr gauge = As<IiLinearGaugeX>(control);
  ASSERT_EQ(gauge->put_Value(7.5), S_OK);

  LONG count = 0;
  gauge->get_ElementCount(&count);
  EXPECT_EQ(count, 5);
  const struct {
    LONG index;
    double position;
    COLORREF color;
  } expected[] = {
      {0, 7.5, 0x00FF00}, {1, -8.0, 0x0A0AFF}, {2, 2.0, 0x00FFFF}, {3, 20.0, 0x3399CC}, {4, 22.75, 0x5096FF}};
  for (const auto& e : expected) {
    double position = 0;
    COLORREF color = 0;
    EXPECT_EQ(gauge->get_ElementPosition(e.index, &position), S_OK);
    EXPECT_EQ(gauge->get_ElementColor(e.index, &color), S_OK);
    EXPECT_EQ(position, e.position) << "element " << e.index;
    EXPECT_EQ(color, e.color) << "element " << e.index;
  }
  // A marker that was never added is not there.
  EXPECT_EQ(gauge->put_ElementPosition(5, 1.0), E_INVALIDARG);
}

TEST(Gauge, AddReportsTheNewMarkersIndex) {
  IiLinearGaugeXPtr gauge = As<IiLinearGaugeX>(Create(kLinearGaugeProgId));
  std::vector<LONG> indexes(3, -1);
  for (LONG& index : indexes) ASSERT_EQ(gauge->AddElement(&index), S_OK);
  EXPECT_EQ(indexes, (std::vector<LONG>{1, 2, 3}));
}

TEST(Gauge, DeviationSetUpColoursThePointerThroughElementZeroAndKeepsTheCreatorsMinimum) {
  IUnknownPtr control = Create(kLinearGaugeProgId);
  ASSERT_EQ(Apply(control, Concat({CreateLinearGauge(300, 60), SetupDeviationGauge()})), S_OK);
  IiLinearGaugeXPtr gauge = As<IiLinearGaugeX>(control);
  _variant_t row3;
  As<IControl>(control)->GetSetting(Row(3), &row3);
  EXPECT_EQ(static_cast<COLORREF>(row3.lVal), 0xFF0000u);
  double min = 0;
  gauge->get_ScaleMin(&min);
  EXPECT_EQ(min, -10.0);
}

TEST(Gauge, ScaleEndsKeepTheirExactValues) {
  for (const double max : {4294967295.0, 400000000.0, 24.0}) {
    IiLinearGaugeXPtr gauge = As<IiLinearGaugeX>(Create(kLinearGaugeProgId));
    ASSERT_EQ(gauge->put_ScaleMax(max), S_OK);
    double back = 0;
    gauge->get_ScaleMax(&back);
    EXPECT_EQ(back, max);
  }
  IUnknownPtr control = Create(kLinearGaugeProgId);
  Apply(control, {Set(Row(28), 4294967295.0), Set(Row(28), 400000000.0)});
  EXPECT_EQ(JournalOf(control), (std::vector<std::string>{"28=4294967295", "28=400000000"}));
}

// A planned failure answers the named put with its HRESULT and changes
// nothing; the plan runs out after its count.
struct FailCase {
  const char* name;
  const char* progId;
  const char* label;
  Step put;
  std::function<double(IUnknown*)> read;  // what the put would change
};

class FailPut : public ::testing::TestWithParam<FailCase> {};

TEST_P(FailPut, TheNamedPutFailsAndLeavesTheControlAsItWas) {
  const FailCase& c = GetParam();
  IUnknownPtr control = Create(c.progId);
  const double before = c.read(control);
  As<IControlTest>(control)->FailPut(c.label, E_ACCESSDENIED, 2);
  EXPECT_EQ(c.put(control), E_ACCESSDENIED);
  EXPECT_EQ(c.read(control), before);
  EXPECT_EQ(c.put(control), E_ACCESSDENIED);
  EXPECT_EQ(c.put(control), S_OK);
  EXPECT_NE(c.read(control), before);
  const std::vector<std::string> journal = JournalOf(control);
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_NE(journal[0].find(" failed 0x80070005"), std::string::npos) << journal[0];
  EXPECT_EQ(journal[2].find(" failed"), std::string::npos) << journal[2];
}

double ScaleMax(IUnknown* c) {
  double v = 0;
  As<IiLinearGaugeX>(c)->get_ScaleMax(&v);
  return v;
}
double ElementCount(IUnknown* c) {
  LONG n = 0;
  As<IiLinearGaugeX>(c)->get_ElementCount(&n);
  return n;
}
double LedColor(IUnknown* c) {
  COLORREF v = 0;
  As<IiLedRoundX>(c)->get_LedColor(&v);
  return v;
}
double FontSize(IUnknown* c) {
  IUnknownPtr object;
  As<IControl>(c)->get_Font(&object);
  CY size = 0;
  As<IFont>(object)->get_Size(&size);
  return static_cast<double>(size);
}
double ImageCount(IUnknown* c) {
  LONG n = 0;
  As<IiImageDisplayX>(c)->get_ImageCount(&n);
  return n;
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FailPut,
    ::testing::Values(FailCase{"GaugeRow", kLinearGaugeProgId, "28", Set(Row(28), 110.0), ScaleMax},
                      FailCase{"GaugeAdd", kLinearGaugeProgId, "add", AddMarker(), ElementCount},
                      FailCase{"LedColour", kLedRoundProgId, "color",
                               [](IUnknown* c) { return As<IiLedRoundX>(c)->put_LedColor(0x0A0AFF); }, LedColor},
                      FailCase{"FontSize", kThermometerProgId, "font.size",
                               [](IUnknown* c) {
                                 IUnknownPtr object;
                                 As<IControl>(c)->get_Font(&object);
                                 return As<IFont>(object)->put_Size(50000);
                               },
                               FontSize},
                      FailCase{"Picture", kImageDisplayProgId, "picture", AddBitmap(131), ImageCount}),
    [](const ::testing::TestParamInfo<FailCase>& info) { return std::string(info.param.name); });

TEST(FailPutPlan, LastsUntilDroppedWhenEndless) {
  IUnknownPtr control = Create(kLedArrowProgId);
  IControlTestPtr test = As<IControlTest>(control);
  test->FailPut("A5", E_FAIL, -1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(As<IiLedArrowX>(control)->put_LedColor(0x00FF00), E_FAIL);
  // Other settings are not touched by the plan.
  EXPECT_EQ(Set(ArrowRow(1), 2)(control), S_OK);
  test->FailPut("A5", E_FAIL, 0);
  EXPECT_EQ(As<IiLedArrowX>(control)->put_LedColor(0x00FF00), S_OK);
}

TEST(FailPutPlan, ReadingTheFontCanFail) {
  IUnknownPtr control = Create(kEditDisplayProgId);
  As<IControlTest>(control)->FailPut("font.get", E_FAIL, 1);
  IUnknownPtr object;
  EXPECT_EQ(As<IControl>(control)->get_Font(&object), E_FAIL);
  EXPECT_FALSE(object);
  EXPECT_EQ(As<IControl>(control)->get_Font(&object), S_OK);
  EXPECT_TRUE(object);
}

TEST(Settings, AKindRefusesWhatItDoesNotHave) {
  const struct {
    const char* progId;
    int number;
    _variant_t value;
    HRESULT hr;
  } cases[] = {
      {kLedRoundProgId, Row(28), _variant_t(1.0), E_INVALIDARG},        // a gauge row on an LED
      {kLinearGaugeProgId, Row(35), _variant_t(1), E_INVALIDARG},       // past the gauge table
      {kLinearGaugeProgId, Row(24, 'a'), _variant_t(1), E_INVALIDARG},  // the font is not a number
      {kLabelProgId, LabelRow(7), _variant_t(1), E_INVALIDARG},
      {kLabelProgId, kCaption, _variant_t(1), DISP_E_TYPEMISMATCH},
      {kLinearGaugeProgId, Row(28), _variant_t("110"), DISP_E_TYPEMISMATCH},
  };
  for (const auto& c : cases) {
    IUnknownPtr control = Create(c.progId);
    EXPECT_EQ(As<IControl>(control)->PutSetting(c.number, c.value), c.hr) << c.progId << " " << c.number;
  }
}

TEST(Settings, AnImageDisplayRefusesBitmapIdsThatCannotExist) {
  IUnknownPtr control = Create(kImageDisplayProgId);
  for (const LONG id : {0, -5}) EXPECT_EQ(AddBitmap(id)(control), E_INVALIDARG) << id;
  EXPECT_EQ(AddBitmap(130)(control), S_OK);
  EXPECT_EQ(JournalOf(control),
            (std::vector<std::string>{"picture=0 failed 0x80070057", "picture=-5 failed 0x80070057", "picture=130"}));
}

TEST(Settings, OleColoursArriveAsNegativeIntegersAndReadBackWhole) {
  IUnknownPtr control = Create(kLinearGaugeProgId);
  ASSERT_EQ(Set(Creator(1), static_cast<LONG>(0x8000000Au))(control), S_OK);
  _variant_t back;
  As<IControl>(control)->GetSetting(Creator(1), &back);
  EXPECT_EQ(static_cast<COLORREF>(back.lVal), 0x8000000Au);
  EXPECT_EQ(JournalOf(control), std::vector<std::string>{"S1=0x8000000A"});
}

TEST(Led, ReadsBackTheColourItWasGiven) {
  IiLedRoundXPtr led = As<IiLedRoundX>(Create(kLedRoundProgId));
  for (const COLORREF c : {0x00FF00u, 0x00FFFFu, 0x0A0AFFu, 0x696969u}) {
    ASSERT_EQ(led->put_LedColor(c), S_OK);
    COLORREF back = 0;
    ASSERT_EQ(led->get_LedColor(&back), S_OK);
    EXPECT_EQ(back, c);
  }
}

TEST(Journal, ALongRunKeepsOnlyTheLatestEntries) {
  IUnknownPtr gauge = Create(kLinearGaugeProgId);
  IControlPtr control = As<IControl>(gauge);
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(control->PutSetting(28, _variant_t(static_cast<LONG>(i))), S_OK);
  const std::vector<std::string> journal = JournalOf(gauge);
  ASSERT_EQ(journal.size(), ControlJournal::kLimit);
  EXPECT_EQ(journal.front(), "28=" + std::to_string(100000 - ControlJournal::kLimit));
  EXPECT_EQ(journal.back(), "28=99999");
}

TEST(Registration, AnUnregisteredKindCannotBeCreatedUntilRegisteredAgain) {
  for (const char* progId :
       {kLedRoundProgId, kLedArrowProgId, kLinearGaugeProgId, kSwitchSliderProgId, kSwitchToggleProgId,
        kAnalogDisplayProgId, kEditDisplayProgId, kLabelProgId, kThermometerProgId, kImageDisplayProgId,
        kSpinEditProgId, kGridProgId, kReportProgId, kPrinterProgId}) {
    EXPECT_TRUE(Create(progId)) << progId;
    ASSERT_TRUE(plat::UnregisterClass(progId));
    IUnknownPtr control;
    EXPECT_TRUE(FAILED(control.CreateInstance(progId))) << progId;
    EXPECT_FALSE(control);
  }
  RegisterControlClasses();
  EXPECT_TRUE(Create(kLinearGaugeProgId));
}

TEST(Fonts, SizesRoundTripAsCurrency) {
  IUnknownPtr control = Create(kLabelProgId);
  IUnknownPtr object;
  ASSERT_EQ(As<IControl>(control)->get_Font(&object), S_OK);
  IFontPtr font = As<IFont>(object);
  ASSERT_TRUE(font);
  for (const CY size : {CY{80000}, CY{50000}, CY{480000}, CY{100000}}) {
    ASSERT_EQ(font->put_Size(size), S_OK);
    CY back = 0;
    font->get_Size(&back);
    EXPECT_EQ(back, size);
  }
}

TEST(Fonts, AFontFromElsewhereIsCopiedInWhenGiven) {
  IUnknownPtr label = Create(kLabelProgId), thermometer = Create(kThermometerProgId);
  ASSERT_EQ(Apply(thermometer, {Font({.size = 480000, .name = "Times New Roman", .bold = 1, .giveBack = false})}),
            S_OK);
  IUnknownPtr other;
  As<IControl>(thermometer)->get_Font(&other);
  ASSERT_EQ(As<IControl>(label)->putref_Font(other), S_OK);

  IUnknownPtr own;
  As<IControl>(label)->get_Font(&own);
  IFontPtr font = As<IFont>(own);
  _bstr_t name;
  CY size = 0;
  BOOL bold = FALSE;
  font->get_Name(&name);
  font->get_Size(&size);
  font->get_Bold(&bold);
  EXPECT_EQ(name.str(), "Times New Roman");
  EXPECT_EQ(size, 480000);
  EXPECT_TRUE(bold);
}

TEST(Fonts, KindsWithoutAFontHandOutNone) {
  for (const char* progId : {kLedRoundProgId, kLinearGaugeProgId, kSpinEditProgId}) {
    IUnknownPtr object;
    ASSERT_EQ(As<IControl>(Create(progId))->get_Font(&object), S_OK);
    EXPECT_EQ(static_cast<bool>(object), std::string(progId) == kLinearGaugeProgId) << progId;
  }
}

}  // namespace
