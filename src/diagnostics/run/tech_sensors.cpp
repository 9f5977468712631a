#include "diagnostics/run/tech_sensors.h"

#include <string>
#include <vector>

#include "platform/sys/numeric.h"
#include "shell/app.h"

using View = CDiagnostics_TechSensorsView;

namespace {

std::string Count(WORD value) { return std::to_string(value); }
std::string Real(double value) { return plat::FormatNumber("%5.2f", value); }

// One reading: its label with the label's key and template text, its value
// field, and the value's text from the device image.
struct Reading {
  int label;
  const char* key;
  const char* caption;
  int box;
  std::string (*text)(const CWexletCoreCommunication&);
};

// A frame with its readings, in the order the fields are written.
struct ReadingGroup {
  int id;
  const char* key;
  const char* caption;
  int x, y;
  std::vector<Reading> readings;
};

const std::vector<ReadingGroup>& Groups() {
  using C = const CWexletCoreCommunication&;
  static const std::vector<ReadingGroup> groups = {
      {1561, "IDC_GB_INPUT", "Analog Input", 8, 30,
       {{900, "CM_Instant", "Status, Instantaneous Command Loop Current ADC Count", View::kCommandCountId,
         [](C c) { return Count(c.m_wCmdCalState); }},
        {901, "CM_Loop_mA", "Command Input, Analog Loop Current, mA", View::kLoopCurrentId,
         [](C c) { return Real(c.m_dVar1); }}}},
      {1564, "BE_FLAG_ENABLE_6", "Inner loop status", 8, 90,
       {{902, "DAC_percent", "Status, Pilot Command Percent", View::kPilotCommandId,
         [](C c) { return Real(c.m_dVar48); }},
        {903, "Hall_Instant", "Status, Hall Sensor, A/D Counts, Instantaneous", View::kHallCountId,
         [](C c) { return Count(c.m_wVar78); }},
        {904, "Hall_Volts", "Status, Voltage, Instant, Hall Sensor Sample", View::kHallVoltsId,
         [](C c) { return Real(c.m_dVar132); }}}},
      {1570, "IDC_STATICPOSNLBL", "Position", 306, 30,
       {{907, "FB_Pct", "Control, FB, Valve Stem Position, %", View::kPositionId,
         [](C c) { return Real(c.m_dVar10SensCal); }},
        {908, "PsnAdc16CntBo10Tip", "Status, FB, Valve Stem, A/D Counts, Instantaneous", View::kPositionCountId,
         [](C c) { return Count(c.m_wVar83); }}}},
      {1580, "IDC_STATICCOMMSTAT", "Communication Status", 306, 90,
       {{918, "IDC_STATICRETRYLBL", "Total communication retries:", View::kRetriesId,
         [](C c) { return std::to_string(c.m_nFailCount); }}}},
  };
  return groups;
}

// Two columns of frames; in each row of a frame the label, then its value
// flush right.
constexpr int kGroupWidth = 286, kRowHeight = 16, kLabelWidth = 200, kBoxWidth = 60;

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items;
  for (const ReadingGroup& g : Groups()) {
    const int height = 14 + kRowHeight * static_cast<int>(g.readings.size()) + 4;
    items.push_back({g.id, DlgKind::GroupBox, g.caption, g.x, g.y, kGroupWidth, height});
    int y = g.y + 14;
    for (const Reading& r : g.readings) {
      items.push_back({r.label, DlgKind::Static, r.caption, g.x + 8, y + 2, kLabelWidth, 9});
      items.push_back({r.box, DlgKind::Static, r.box == View::kRetriesId ? "0" : "", g.x + kGroupWidth - 8 - kBoxWidth,
                       y, kBoxWidth, 12, DS_SUNKEN | DS_RIGHT});
      y += kRowHeight;
    }
  }
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(411, {}, Items()));

}  // namespace

View::CDiagnostics_TechSensorsView() : CStepPage(411, "IDD_TECHSENSORS", 81, 5000) {
  m_captions = pages::HeaderCaptions({});
  for (const ReadingGroup& g : Groups()) {
    m_captions.push_back({g.key, {g.id}});
    for (const Reading& r : g.readings) m_captions.push_back({r.key, {r.label}});
  }
  m_toolTips = pages::HeaderToolTips({});

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      StatusStep(kPollStep, kReadStep),
      // A read without a reply leaves the image alone: the last readings
      // stay, and the failure count tells.
      {kReadStep, "SENSORS", {}, [&comm] { comm.ReadTechSensors(); }, [this] { ShowSensorValues(); }, kPollStep},
  };
  m_nStep = m_nStartStep = kPollStep;
}

void View::OnShown() {
  // A later visit goes on with the turn where the last one stopped.
  m_nStartStep = m_nStep;
}

void View::ShowSensorValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  for (const ReadingGroup& g : Groups())
    for (const Reading& r : g.readings) SetDlgItemText(r.box, r.text(comm).c_str());
}
