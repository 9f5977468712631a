#pragma once
// A page on the annunciator frame (the annunciators and the health alert
// pages) under test: made, shown and ticked on the simulated positioner,
// with the device image's status and masks as at program start.
#include <array>
#include <cstdint>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "shell/annunciator_page.h"

namespace testpages {

using Mask = std::array<std::uint8_t, 32>;

inline const Bytes kReadStatus = {174};
inline const Bytes kReadMasks = {176};

inline Mask Filled(std::uint8_t value) {
  Mask m;
  m.fill(value);
  return m;
}

class AnnunciatorPageTest : public SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    ForgetStatusImage();
    theApp().m_comm.m_byLocalPanel = 0;
  }

  void Open(int viewIndex) {
    page = static_cast<CAnnunciatorPage*>(CreatePage(viewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  void Tick(int n = 1) { clock.Advance(5000 * n); }
  // Runs one tick and hands back what it sent.
  std::vector<Bytes> Sent() {
    device->ClearRequests();
    Tick();
    return device->Requests();
  }
  void SetDevice(const Mask& masks, int statusByte = 0, std::uint8_t status = 0) {
    sim::DeviceState state = device->State();
    state.status.masks = masks;
    state.status.bytes[statusByte] = status;
    device->SetState(state);
  }
  Mask DeviceMasks() const { return device->State().status.masks; }
  int Check(int id) const { return static_cast<int>(page->IsDlgButtonChecked(id)); }
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Text(int id) const { return page->GetDlgItemText(id); }

  CAnnunciatorPage* page = nullptr;
};

}  // namespace testpages
