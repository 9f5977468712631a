#pragma once
// The HART identity and service data: message, descriptor and date read
// and written, temperatures, hours in service and revisions read.
#include <string>

#include "platform/win/resources.h"
#include "shell/configuration_page.h"

class CConfiguration_PosHartInformationView : public CConfigurationPage {
 public:
  enum : int {
    kApplyId = 432,
    kRetrieveId = 433,
    kTodayButtonId = 434,
    kDeviceTypeEdit = 359,
    kMessageEdit = 390,
    kDescriptorEdit = 391,
    kYearEdit = 388,
    kMonthEdit = 389,
    kDayEdit = 893,
    kTodayEdit = 1687,
    kHoursEdit = 1690,
    kHighTempEdit = 1691,
    kLowTempEdit = 1692,
    kFirmwareEdit = 1693,
    kHardwareEdit = 1695,
  };

  CConfiguration_PosHartInformationView();
  void OnInitialUpdate() override;

  int GetPollCountdown() const { return m_pollCountdown.Left(); }

 protected:
  void OnShown() override;

 private:
  // The device image's identity as it stood before Apply's writes.
  struct Identity {
    std::string message, descriptor;
    BYTE day = 0, month = 0, year = 0;
  };

  // Checks the edits and, when they can be written, puts them into the
  // device image; otherwise tells the user and writes nothing.
  void PrepareApply();
  void ShowDescriptorAndDate();
  void ShowServiceData();
  void ShowRevisions();
  void CopyTodaysDate();

  CBitmap m_bmpToday;
  bool m_bIdentityRead = false;  // this visit's tag read was answered
  Identity m_before;
  // A write without reply: the image keeps what the device last reported.
  bool m_bMessageLost = false;
  bool m_bIdentityLost = false;
};
