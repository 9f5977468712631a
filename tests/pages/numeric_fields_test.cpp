// Every numeric field of the pages that write to the device, typed with a
// value that is not finite or that its device variable cannot hold: the
// simulated positioner never receives such a value, and the page shows its
// refusal the way it refuses its other bad entries (a value brought into
// range, a message, or the invalid icon on a test setting).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "page_fixture.h"
#include "platform/sys/numeric.h"
#include "platform/win/resources.h"
#include "shell/status_page.h"
#include "sim/variables.h"
#include "support/language_table.h"
#include "views/config/custom_characterisation.h"
#include "views/config/hart_information.h"
#include "views/config/pressure_control.h"
#include "views/health/deviation_alert.h"
#include "views/health/pilot_relay.h"
#include "views/health/position_alert.h"
#include "views/health/valve_cycles_travel.h"
#include "views/status/dashboard.h"

namespace {

using testpages::Bytes;
using Pilot = CHealth_Pos_PilotRelayView;
using Valve = CHealth_Val_CycleAndTravelsView;
using Deviation = CHealth_Ctl_DeviationView;
using Position = CHealth_Ctl_PosAlertsView;
using Pressure = CConfiguration_PressureControlView;
using Custom = CConfiguration_CustomCharView;
using Hart = CConfiguration_PosHartInformationView;
using Ramp = CDiagnostics_RampTestView;
using Step = CDiagnostics_StepTestView;
using Pst = CDiagnostics_PSTView;
using Hdrl = CDiagnostics_HDRLView;
using Multi = CDiagnostics_OfflineView;

constexpr UINT kInvalidIcon = 152;
constexpr double kMaxWord = 4294967295.0;

// A page, the buttons that write what its fields hold, and the device as
// the page needs it to take a value at all.
struct PageSpec {
  const char* name;
  int view;
  std::vector<int> writes;
  void (*arrange)(sim::Positioner&) = nullptr;
};

const PageSpec kDashboard{"dashboard", 1, {CDashboardView::kApplyId},
                          [](sim::Positioner& d) { d.SetVariable(8, 1); }};  // digital: the entry takes a command
const PageSpec kValve{"valve cycles and travel", 6, {Valve::kApplyId}};
const PageSpec kPilot{"pilot relay", 9, {Pilot::kApplyId}};
const PageSpec kDeviation{"deviation alert", 13, {CAlertPage::kApplyId}};
const PageSpec kPosition{"position alert", 14, {CAlertPage::kApplyId}, [](sim::Positioner& d) {
                           d.SetVariable(117, 80);
                           d.SetVariable(118, 20);
                         }};
const PageSpec kMulti{"multi-test", 17, {Multi::kStartId}};
const PageSpec kRamp{"ramp test", 18, {Ramp::kStartId}};
const PageSpec kStep{"step test", 20, {Step::kStartId}};
const PageSpec kHdrl{"HDRL test", 22, {Hdrl::kStartId}};
const PageSpec kPst{"partial stroke test", 24, {Pst::kStartId, Pst::kApplyId}};
const PageSpec kPressure{"valve stability", 30, {Pressure::kApplyId},
                         [](sim::Positioner& d) { d.SetVariable(56, 0x0B); }};  // on: the window takes a value
const PageSpec kCustom{"custom curve", 32, {Custom::kApplyId}};
const PageSpec kHart{"HART information", 36, {Hart::kApplyId}};

// How the page answers the typed text.
enum class Outcome {
  Held,      // brought into range: the field shows `shown`, the device holds `written`
  Refused,   // a message (`key`) and nothing written
  Invalid,   // the setting's icon (`icon`) turns invalid and its write buttons are disabled
  SpinKeeps  // the spin edit refuses the text itself and keeps its value
};

struct Row {
  const PageSpec* page;
  int field;
  bool spin;
  const char* typed;
  Outcome outcome;
  double shown = 0;
  int variable = 0;  // the field's device variable; 0: none
  double written = 0;
  const char* key = nullptr;
  int icon = 0;
  int box = 0;  // a check box that enables the field first
};

const char* const kNotFinite[] = {"nan", "inf", "-inf", "1e999"};

// An edit typed and left, or a spin edit typed into, that ends in range.
Row Held(const PageSpec& page, int field, const char* typed, double shown, int variable, double written) {
  return {&page, field, false, typed, Outcome::Held, shown, variable, written};
}
Row HeldSpin(const PageSpec& page, UINT spin, const char* typed, double shown, int variable, double written) {
  return {&page, static_cast<int>(spin), true, typed, Outcome::Held, shown, variable, written};
}
Row Refused(const PageSpec& page, int field, bool spin, const char* typed, const char* key, int variable = 0) {
  return {&page, field, spin, typed, Outcome::Refused, 0, variable, 0, key};
}
Row Invalid(const PageSpec& page, int field, int icon, const char* typed, int variable, int box = 0) {
  return {&page, field, false, typed, Outcome::Invalid, 0, variable, 0, nullptr, icon, box};
}
Row SpinKeeps(const PageSpec& page, UINT spin, const char* typed) {
  return {&page, static_cast<int>(spin), true, typed, Outcome::SpinKeeps};
}

std::vector<Row> Rows() {
  std::vector<Row> rows;
  // The pilot relay's response limits are milliseconds on the page and
  // float seconds in the device; its counter limits are unsigned words.
  for (const char* t : kNotFinite) {
    rows.push_back(Held(kPilot, Pilot::kWarningEdit, t, 0, 296, 0));
    rows.push_back(Held(kPilot, Pilot::kAlarmEdit, t, 0, 297, 0));
    rows.push_back(Held(kPilot, Pilot::kCyclesFullEdit, t, 0, 337, 0));
    rows.push_back(Held(kPilot, Pilot::kTravelFullEdit, t, 0, 333, 0));
  }
  rows.push_back(Held(kPilot, Pilot::kWarningEdit, "1e300", 1000, 296, 1));
  rows.push_back(Held(kPilot, Pilot::kAlarmEdit, "-1e300", 0, 297, 0));
  rows.push_back(Held(kPilot, Pilot::kCyclesFullEdit, "5e9", kMaxWord, 337, kMaxWord));
  rows.push_back(Held(kPilot, Pilot::kTravelFullEdit, "-5", 0, 333, 0));
  rows.push_back(HeldSpin(kPilot, Pilot::kWarningSpinId, "1e300", 1000, 296, 1));
  rows.push_back(HeldSpin(kPilot, Pilot::kAlarmSpinId, "1e300", 1000, 297, 1));
  rows.push_back(HeldSpin(kPilot, Pilot::kAlarmSpinId, "-1e300", 0, 297, 0));
  rows.push_back(HeldSpin(kPilot, Pilot::kCyclesSpinId, "5e9", kMaxWord, 337, kMaxWord));
  rows.push_back(HeldSpin(kPilot, Pilot::kTravelSpinId, "-5", 0, 333, 0));
  rows.push_back(SpinKeeps(kPilot, Pilot::kWarningSpinId, "nan"));
  rows.push_back(SpinKeeps(kPilot, Pilot::kCyclesSpinId, "inf"));

  // The valve's deadbands are float percentages, 0 to 100.
  for (const char* t : kNotFinite) {
    rows.push_back(Held(kValve, Valve::kCycleDeadbandEdit, t, 0, 310, 0));
    rows.push_back(Held(kValve, Valve::kTravelDeadbandEdit, t, 0, 309, 0));
    rows.push_back(Held(kValve, Valve::kCyclesFullEdit, t, 0, 307, 0));
    rows.push_back(Held(kValve, Valve::kTravelFullEdit, t, 0, 303, 0));
  }
  rows.push_back(Held(kValve, Valve::kCycleDeadbandEdit, "1e300", 100, 310, 100));
  rows.push_back(Held(kValve, Valve::kTravelDeadbandEdit, "-1e300", 0, 309, 0));
  rows.push_back(Held(kValve, Valve::kTravelFullEdit, "9e12", kMaxWord, 303, kMaxWord));
  rows.push_back(HeldSpin(kValve, Valve::kCycleDeadbandSpinId, "1e300", 100, 310, 100));
  rows.push_back(HeldSpin(kValve, Valve::kTravelDeadbandSpinId, "-1e300", 0, 309, 0));
  rows.push_back(HeldSpin(kValve, Valve::kCyclesSpinId, "5e9", kMaxWord, 307, kMaxWord));
  rows.push_back(HeldSpin(kValve, Valve::kTravelSpinId, "-5", 0, 303, 0));
  rows.push_back(SpinKeeps(kValve, Valve::kCycleDeadbandSpinId, "nan"));

  // The deviation alert: tolerance 0 to 100 %, time frame 1 to 60 s.
  for (const char* t : kNotFinite) {
    rows.push_back(Held(kDeviation, Deviation::kToleranceId, t, 0, 119, 0));
    rows.push_back(Held(kDeviation, Deviation::kTimeFrameId, t, 1, 120, 1));
  }
  rows.push_back(Held(kDeviation, Deviation::kToleranceId, "1e300", 100, 119, 100));
  rows.push_back(Held(kDeviation, Deviation::kTimeFrameId, "1e300", 60, 120, 60));
  rows.push_back(HeldSpin(kDeviation, Deviation::kToleranceSpinId, "1e300", 100, 119, 100));
  rows.push_back(HeldSpin(kDeviation, Deviation::kTimeFrameSpinId, "-1e300", 1, 120, 1));
  rows.push_back(SpinKeeps(kDeviation, Deviation::kTimeFrameSpinId, "nan"));

  // The position alert's set points, -10 to 110 %, 20 and 80 before: a
  // high one brought to 0 pushes the low one below it; at an end of the
  // scale neither can be pushed, and the band left inverted is refused.
  for (const char* t : kNotFinite) {
    rows.push_back(Held(kPosition, Position::kHighId, t, 0, 117, 0));
    rows.push_back(Held(kPosition, Position::kLowId, t, 0, 118, 0));
  }
  rows.push_back(HeldSpin(kPosition, Position::kHighSpinId, "1e300", 110, 117, 110));
  rows.push_back(Refused(kPosition, Position::kHighId, false, "-1e300", "ALERTBANDINVERTED", 117));
  rows.push_back(Refused(kPosition, Position::kLowId, false, "1e300", "ALERTBANDINVERTED", 118));

  // The valve stability window, 0 to 100 %.
  rows.push_back(HeldSpin(kPressure, Pressure::kWindowSpinId, "1e300", 100, 43, 100));
  rows.push_back(HeldSpin(kPressure, Pressure::kWindowSpinId, "-1e300", 0, 43, 0));
  rows.push_back(SpinKeeps(kPressure, Pressure::kWindowSpinId, "nan"));

  // The dashboard's digital command.
  rows.push_back(Refused(kDashboard, static_cast<int>(CDashboardView::kDigitalEntryId), true, "1e300", "DIGCMDRANGE", 3));
  rows.push_back(Refused(kDashboard, static_cast<int>(CDashboardView::kDigitalEntryId), true, "-1e300", "DIGCMDRANGE", 3));
  rows.push_back(SpinKeeps(kDashboard, CDashboardView::kDigitalEntryId, "nan"));

  // The custom curve: the last point's field takes text, the others are
  // spin edits held to 0 to 100 %.
  for (const char* t : kNotFinite) rows.push_back(Refused(kCustom, Custom::kOutputLast, false, t, "CUSTCHARINVALID"));
  rows.push_back(HeldSpin(kCustom, Custom::kFirstSpinId + 9, "1e300", 100, 0, 0));
  rows.push_back(SpinKeeps(kCustom, Custom::kFirstSpinId + 9, "-inf"));

  // The HART date.
  for (const char* t : kNotFinite) rows.push_back(Refused(kHart, Hart::kYearEdit, false, t, "HARTDATERANGE"));
  rows.push_back(Refused(kHart, Hart::kMonthEdit, false, "nan", "HARTDATERANGE"));
  rows.push_back(Refused(kHart, Hart::kDayEdit, false, "-1", "HARTDATERANGE"));

  // The test settings: start and stop positions (142, 143), hold (145),
  // ramp (149) and time limit (289).
  for (const char* t : kNotFinite) {
    rows.push_back(Invalid(kRamp, Ramp::kStartEdit, Ramp::kStartIcon, t, 142));
    rows.push_back(Invalid(kRamp, Ramp::kStopEdit, Ramp::kStopIcon, t, 143));
    rows.push_back(Invalid(kRamp, Ramp::kHoldEdit, Ramp::kHoldIcon, t, 145));
    rows.push_back(Invalid(kRamp, Ramp::kRampEdit, Ramp::kRampIcon, t, 149));
    rows.push_back(Invalid(kStep, Step::kStartPosId, Step::kStartIconId, t, 142));
    rows.push_back(Invalid(kStep, Step::kStopPosId, Step::kStopIconId, t, 143));
    rows.push_back(Invalid(kStep, Step::kHoldId, Step::kHoldIconId, t, 145));
    rows.push_back(Invalid(kPst, Pst::kStartPosId, Pst::kStartIconId, t, 142));
    rows.push_back(Invalid(kPst, Pst::kStopPosId, Pst::kStopIconId, t, 143));
    rows.push_back(Invalid(kPst, Pst::kHoldId, Pst::kHoldIconId, t, 145));
    rows.push_back(Invalid(kPst, Pst::kRampId, Pst::kRampIconId, t, 149));
    rows.push_back(Invalid(kPst, Pst::kTimeLimitId, Pst::kTimeLimitIconId, t, 289));
    rows.push_back(Invalid(kHdrl, Hdrl::kSettlingTimeId, Hdrl::kSettlingIconId, t, 0));
    rows.push_back(Invalid(kMulti, Multi::kRampStartId, 1102, t, 142, Multi::kRampBoxId));
    rows.push_back(Invalid(kMulti, Multi::kStepHoldId, 1107, t, 145, Multi::kStepBoxId));
    rows.push_back(Invalid(kMulti, Multi::kPstTimeLimitId, 1111, t, 289, Multi::kPstBoxId));
    rows.push_back(Invalid(kMulti, Multi::kSettlingTimeId, 1108, t, 0, Multi::kHdrlBoxId));
  }
  return rows;
}

using testpages::Text;

// The values of a 201 request, by the simulator's own types.
std::vector<std::pair<int, double>> Values201(const Bytes& request) {
  std::vector<std::pair<int, double>> values;
  size_t at = 2;
  while (at + 2 <= request.size()) {
    const int id = (request[at] << 8) | request[at + 1];
    const std::optional<sim::WireType> type = sim::TypeOf(static_cast<std::uint16_t>(id));
    if (!type) {
      ADD_FAILURE() << "variable " << id << " unknown";
      break;
    }
    const size_t size = sim::SizeOf(*type);
    if (at + 2 + size > request.size()) break;
    values.emplace_back(id, sim::GetValue(std::span(request).subspan(at + 2, size), *type));
    at += 2 + size;
  }
  return values;
}

class NumericFields : public testpages::SimulatedPage {
 public:
  void SetUp() override {
    testpages::LoadEnglish();
    SimulatedPage::SetUp();
  }
  void TearDown() override {
    CTarnixWexletApp& app = theApp();
    app.m_pViews[testpages::kMultiTestView] = nullptr;
    app.m_pMultiTestView = nullptr;
    SimulatedPage::TearDown();
  }

 protected:
  void Open(const PageSpec& spec) {
    if (spec.arrange) spec.arrange(*device);
    page = dynamic_cast<CStatusPage*>(CreatePage(spec.view));
    ASSERT_TRUE(page);
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
  }
  void Close() {
    page->StopMonitoring();
    page->DestroyWindow();
    page = nullptr;
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) clock.Advance(std::max<UINT>(page->GetPeriod(), 500));
  }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  template <class I>
  _com_ptr_t<I> Control(int id) {
    CWnd* wnd = page->GetDlgItem(id);
    I* p = nullptr;
    if (IUnknown* unknown = wnd ? wnd->GetControlUnknown() : nullptr)
      unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
    return _com_ptr_t<I>(p, false);
  }
  double SpinValue(int id) {
    double value = std::nan("");
    if (auto spin = Control<activex::ISpinEditX>(id)) spin->get_Value(&value);
    return value;
  }
  // What a user does: types into an edit and leaves it, or types into a
  // spin edit's box and presses Enter.
  void Type(const Row& row) {
    if (!row.spin) {
      page->SetDlgItemText(row.field, row.typed);
      page->GetDlgItem(row.field)->NotifyParent(EN_KILLFOCUS);
      return;
    }
    QWidget* widget = page->GetDlgItem(row.field)->GetSafeWidget();
    QLineEdit* line = widget ? widget->findChild<QLineEdit*>() : nullptr;
    ASSERT_TRUE(line);
    line->setText(QString::fromUtf8(row.typed));
    line->setModified(true);
    Q_EMIT line->editingFinished();
  }
  // The field's number as it shows it now.
  double Shown(const Row& row) {
    if (row.spin) return SpinValue(row.field);
    return plat::LeadingNumber(page->GetDlgItemText(row.field).c_str()).value_or(std::nan(""));
  }
  bool WroteVariable(int variable) {
    for (const Bytes& r : device->Requests())
      if (!r.empty() && r[0] == 201)
        for (const auto& [id, value] : Values201(r))
          if (id == variable) return true;
    return false;
  }
  bool WroteCommand(std::initializer_list<int> commands) {
    for (const Bytes& r : device->Requests())
      for (int c : commands)
        if (!r.empty() && r[0] == c) return true;
    return false;
  }

  CStatusPage* page = nullptr;
};

TEST_F(NumericFields, NoFieldSendsAValueItsVariableCannotHold) {
  const sim::DeviceState fresh = device->State();
  for (const Row& row : Rows()) {
    SCOPED_TRACE(std::string(row.page->name) + ", field " + std::to_string(row.field) + ", typed \"" + row.typed +
                 "\"");
    device->SetState(fresh);  // nothing an earlier row wrote
    Open(*row.page);
    if (row.box) page->GetDlgItemAs<CButton>(row.box)->Click();
    // Shown, read and resting; a test page's Start may stay off.
    for (int i = 0; i < 30 && !Enabled(row.page->writes.front()); ++i) Tick();
    Tick(4);
    if (row.outcome != Outcome::Invalid) {
      ASSERT_TRUE(Enabled(row.page->writes.front()));
    }
    const double spinBefore = row.spin ? SpinValue(row.field) : 0;
    const double before = row.variable ? device->Variable(static_cast<std::uint16_t>(row.variable)) : 0;
    device->ClearRequests();
    const size_t asked = person.Asked().size();

    Type(row);
    if (row.outcome == Outcome::Refused) person.Answer(IDOK);
    for (int id : row.page->writes)
      if (Enabled(id)) page->GetDlgItemAs<CButton>(id)->Click();
    Tick(3);

    for (const Bytes& r : device->Requests()) {
      if (r.empty() || r[0] != 201) continue;
      for (const auto& [id, value] : Values201(r)) EXPECT_TRUE(std::isfinite(value)) << "variable " << id;
    }
    switch (row.outcome) {
      case Outcome::Held:
        EXPECT_EQ(Shown(row), row.shown) << page->GetDlgItemText(row.field);
        if (row.variable) {
          EXPECT_TRUE(WroteVariable(row.variable));
          const bool isFloat = sim::TypeOf(static_cast<std::uint16_t>(row.variable)) == sim::WireType::F32;
          EXPECT_EQ(device->Variable(static_cast<std::uint16_t>(row.variable)),
                    isFloat ? static_cast<double>(static_cast<float>(row.written)) : row.written);
        } else {
          EXPECT_TRUE(WroteCommand({135}));
        }
        EXPECT_EQ(person.Asked().size(), asked);
        break;
      case Outcome::Refused:
        ASSERT_EQ(person.Asked().size(), asked + 1);
        EXPECT_EQ(person.Asked().back().text, Text(row.key));
        EXPECT_FALSE(WroteCommand({17, 18, 135}));
        if (row.variable) {
          EXPECT_FALSE(WroteVariable(row.variable));
          EXPECT_EQ(device->Variable(static_cast<std::uint16_t>(row.variable)), before);
        }
        break;
      case Outcome::Invalid:
        EXPECT_EQ(plat::ResourceIdOf(page->GetDlgItemAs<CStatic>(row.icon)->GetIcon()), kInvalidIcon);
        for (int id : row.page->writes) EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_FALSE(row.variable && WroteVariable(row.variable));
        EXPECT_EQ(person.Asked().size(), asked);
        break;
      case Outcome::SpinKeeps:
        EXPECT_EQ(SpinValue(row.field), spinBefore);
        break;
    }
    Close();
  }
}

}  // namespace
