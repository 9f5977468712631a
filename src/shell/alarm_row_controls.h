#pragma once
// The controls of a table of alarm rows on a page: a lamp at each row's
// placeholder, the row's mask check box and its selector. Every page that
// shows such rows (the annunciators, the health pages, the calibration
// errors) holds one and calls it from its steps.
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "common/alarm_rows.h"
#include "reports/common_functions.h"

class CAlarmRowControls {
 public:
  explicit CAlarmRowControls(std::span<const alarms::AlarmRow> rows) : m_rows(rows) {}

  std::span<const alarms::AlarmRow> Rows() const { return m_rows; }

  // The rows' lamps at their placeholders in the page.
  void Create(CWnd& page, CCommonFunctions& common);
  // A lamp of the page's legend, in one colour for the whole run.
  void CreateLegendLamp(CWnd& page, CCommonFunctions& common, alarms::Lamp lamp, int placeholder, UINT id,
                        COLORREF colour);
  // A window for a further hosted control of the page.
  CWnd* NewHost();

  // Every lamp grey; the check boxes and selectors enabled or not.
  void Reset(CWnd& page, bool enable);
  // The check boxes and selectors enabled or not; the lamps keep their colours.
  // A check box stays off while the masks are unknown.
  void Enable(CWnd& page, bool enable);
  // The lamps from the status bytes; the report flags too when given.
  void ShowStatus(CWnd& page, const alarms::Block& status, BYTE localPanel, BYTE* activeFlags = nullptr);
  // Null: the masks are unknown; the check boxes go off and empty, and the
  // flags stay as they are, so that no tick stands for a mask nobody read.
  void ShowMasks(CWnd& page, const alarms::Block* mask, BYTE* maskedFlags = nullptr);
  // The check boxes into the rows' mask bits; a pair shown indeterminate
  // keeps both its bits when keepMixedPairs.
  void Collect(const CWnd& page, alarms::Block& mask, bool keepMixedPairs = false) const;

  // The row's lamp colour; 0xFFFFFFFF without a lamp.
  COLORREF GetLampColour(size_t row) const;

 private:
  struct Lamp {
    IiLedRoundXPtr round;
    IiLedArrowXPtr arrow;
  };
  Lamp MakeLamp(CWnd& page, CCommonFunctions& common, alarms::Lamp kind, int placeholder, UINT id);
  void PutLamp(CWnd& page, Lamp& lamp, COLORREF colour);
  void EnableRows(CWnd& page);

  std::span<const alarms::AlarmRow> m_rows;
  std::vector<Lamp> m_lamps;
  std::vector<Lamp> m_legend;
  std::vector<std::unique_ptr<CWnd>> m_hosts;
  std::set<std::string> m_loggedFailures;
  bool m_bRowsOn = false;
  bool m_bMasksUnknown = false;
};
