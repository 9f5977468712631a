#pragma once
// The navigation tree: every item carries an item code; selecting a page's
// item switches the page area to it and starts its monitoring, selecting a
// group moves on to the group's first page.
#include <array>

#include "platform/com/bstr.h"
#include "platform/win/tree.h"

class CTarnixPage;

// The item codes of the pages, named for the page each shows.
namespace treeitem {
enum : int {
  kDashboard = 1,
  kAlarmAnnunciator = 21,
  kManagementAnnunciator = 22,
  kEventHistory = 23,
  kTechAnnunciator = 24,
  kValveHealth = 31,
  kCyclesAndTravel = 312,
  kPositionerHealth = 32,
  kTemperatureAndHumidity = 321,
  kPilotRelay = 322,
  kPiezoVoltage = 323,
  kActuatorHealth = 33,
  kControlHealth = 34,
  kDeviation = 341,
  kPositionAlerts = 342,
  kDataMonitor = 41,
  kTechSensors = 44,
  kMultiTest = 5,
  kRampTest = 51,
  kRampCompare = 511,
  kStepTest = 52,
  kStepCompare = 521,
  kHdrlTest = 53,
  kHdrlCompare = 531,
  kPartialStrokeTest = 54,
  kPartialStrokeCompare = 541,
  kSensorCalibration = 61,
  kCommandCalibration = 62,
  kCalibrationErrors = 63,
  kPressureControl = 72,
  kStrokeCharacterisation = 73,
  kCustomCharacterisation = 731,
  kHartInformation = 77,
};
}  // namespace treeitem

class CTarnixWexletView : public CTreeView {
 public:
  struct Item {
    int slot;
    int code;
    int parentCode;  // -1: top level
    const char* captionKey;  // null: the fixed text "Tarnix"
    int viewIndex;   // 0: a group
    bool start;      // StartMonitoring after the switch
    int redirect;    // for a group: the item code selected instead
  };
  // The items, in display order.
  static const std::array<Item, 39>& Items();
  static const Item* ItemByCode(int code);
  // The page that the item of that code shows; null for a group or an
  // unknown code.
  static CTarnixPage* PageByCode(int code);
  // As a user's click on the item of that code: pages lead to each other so.
  static void SelectItemByCode(int code);
  // The item of that code is the one selected: selecting it again shows
  // nothing anew.
  static bool IsItemSelected(int code);

  CTarnixWexletView();
  void OnInitialUpdate() override;
  void OnSelchanged(NMHDR* header, LRESULT* result) override;

  void LoadCaptions();
  // Stops every page that polls, in one fixed order.
  static void StopAllViewTimers();

 private:
  std::array<_bstr_t, 64> m_strCaptions;
};
