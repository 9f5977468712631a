#pragma once
// A page under test: the communication object connected through the
// in-process OPC server to a simulated positioner, on the manual clock,
// with a scripted person that fails the test on an unexpected question.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/step_page.h"
#include "sim/install.h"
#include "support/language_table.h"
#include "support/log_capture.h"

namespace testpages {

using Bytes = std::vector<std::uint8_t>;

// A language of the shipped language file, by its locale id.
inline void LoadLanguage(const char* lcid) {
  TheLanguageTable().Load(_bstr_t(std::string(TARNIX_SOURCE_DIR) + "/resources/Dependencies/Language.xml"), lcid,
                          false);
}
// English: what the pages' texts are checked against.
inline void LoadEnglish() { LoadLanguage("1033"); }

// A text of the language table loaded.
inline std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }
// What a page's status field shows for a key: a long sentence's short form.
inline std::string StatusText(const char* key) { return pages::StatusFieldText(key); }

// The view indexes of the multi-test page and the pages it runs.
enum TestView : int { kMultiTestView = 17, kRampTestView = 18, kStepTestView = 20, kHdrlView = 22, kPstView = 24 };

// A 200 request for these variables, as it goes to the device.
inline Bytes Read200(std::initializer_list<int> ids) {
  Bytes frame = {200, static_cast<std::uint8_t>(2 * ids.size())};
  for (int id : ids) {
    frame.push_back(static_cast<std::uint8_t>(id >> 8));
    frame.push_back(static_cast<std::uint8_t>(id & 0xFF));
  }
  return frame;
}


// The status and mask image as before any read: the mask guard holds.
inline void ForgetStatusImage() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_abyStatus = {};
  comm.m_abyStatusMask = {};
  comm.m_abyStatusMaskDevice = {};
  comm.m_bStatusMaskValid = false;
}

// A pilot relay record whose limit words are told apart by their bytes
// (01 02 03 04, 05 06 07 08, 0A 0B 0C 0D, 11 12 13 14).
inline void SetPilotRecord(sim::DeviceState& s) {
  s.travel.pilot.limit1A = 0x01020304;
  s.travel.pilot.limit1B = 0x05060708;
  s.travel.pilot.limit2A = 0x0A0B0C0D;
  s.travel.pilot.limit2B = 0x11121314;
  s.travel.pilot.count1 = 900;
  s.travel.pilot.count2 = 800;
}

class HostWindow : public CWnd {
 public:
  HostWindow() { Make(); }
  // Again after DestroyWindow, for a second session in one test.
  void Make() { Create(nullptr, "pages", 0, CRect(0, 0, 1000, 600), nullptr, 0); }
};

class SimulatedPage : public testing::Test {
 public:  // tables of cases arrange the device through the fixture
  void SetUp() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::RegisterServer();
    sim::ForgetPositioners();
    sim::InstallAsOpcDevices();
    device = sim::PositionerFor("HART/Net/Tarnix1");
    CWexletCoreCommunication& comm = theApp().m_comm;
    theApp().m_testEngine.Forget();
    ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", "localhost"));
    ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
    ASSERT_EQ(comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame"), 1);
    comm.m_nFailCount = 0;
    comm.m_bLinkOK = 1;
  }
  void TearDown() override {
    host.DestroyWindow();
    ResetOpcConnection();
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
    sim::ForgetPositioners();
  }
  void ModifyState(const std::function<void(sim::DeviceState&)>& change) {
    sim::DeviceState state = device->State();
    change(state);
    device->SetState(state);
  }

  // Declared first: the clock outlives the windows that use it.
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  plat::ScriptedPerson person{[](const std::string& what) { ADD_FAILURE() << what; }};
  testsupport::LogCapture log;
  std::shared_ptr<sim::Positioner> device;
  HostWindow host;
};

}  // namespace testpages
