#pragma once
// What the calibration pages share: the initials of the person who
// calibrates, the device's calibration history record, the result texts,
// the look of their link labels, and what they need to judge an end on
// what the device kept.
#include <array>
#include <optional>
#include <string>

#include "comm/communication.h"
#include "reports/common_functions.h"
#include "platform/sys/time_source.h"
#include "platform/win/cwnd.h"
#include "platform/win/tooltip.h"

namespace calib {

// The record kinds of the device's calibration history.
inline constexpr BYTE kStrokeHistory = 1;
inline constexpr BYTE kCommandHistory = 5;
inline constexpr size_t kHistoryChars = 24;

// "MM/DD/YYYY hh:mm:ss" (19 characters), a blank and the initials, padded
// with blanks to the record's full length so that no byte of the record is
// left to chance.
std::string HistoryRecord(const plat::LocalTime& t, const std::string& initials);

// A record as shown: the date and who calibrated.
struct HistoryEntry {
  std::string date;
  std::string by;
};
HistoryEntry SplitHistory(const std::string& record);

// Command 184 for the kind; true when the device answered it.
bool ReadHistory(CWexletCoreCommunication& comm, BYTE kind);
// Command 187: the record for the kind; true when the device answered it.
bool WriteHistory(CWexletCoreCommunication& comm, BYTE kind, const std::string& record);

// The result of a calibration as the pages and the reports show it.
std::string ResultText(bool success);

// The link label colours: a link, a greyed one while a calibration runs,
// the errors link after a failed calibration.
inline constexpr COLORREF kLinkBlue = 0xFF0000, kLinkGrey = 0x696969, kLinkRed = 0x0A0AFF;
void ShowLink(const IiLabelXPtr& label, COLORREF colour);

// Readings of what the device did that go unanswered before a page gives
// up, as on the test pages.
class Tries {
 public:
  static constexpr int kMost = 5;
  // After a try that went unanswered: true while another is due. Once they
  // are spent, the count starts over for the next time.
  bool Again() {
    if (++m_nTries < kMost) return true;
    m_nTries = 0;
    return false;
  }
  void Reset() { m_nTries = 0; }

 private:
  int m_nTries = 0;
};

// The points a calibration stores, as they stood when the device took the
// start: read back different after the end, they prove that the device
// kept new ones, whatever the page asked for and whatever the answers.
// Unknown when they could not be read: then nothing is proved.
template <size_t N>
class PointsBefore {
 public:
  using Points = std::array<WORD, N>;
  void Forget() { m_points.reset(); }
  void Keep(const Points& points) { m_points = points; }
  bool Known() const { return m_points.has_value(); }
  bool Changed(const Points& now) const { return m_points && now != *m_points; }

 private:
  std::optional<Points> m_points;
};

// The initials field of a calibration page and the icon beside it: exactly
// three characters, checked as typed and again at Start.
class InitialsField {
 public:
  static constexpr UINT kValidIcon = 153, kInvalidIcon = 152;
  InitialsField(CWnd& page, CToolTipCtrl& toolTips, int editId, int iconId)
      : m_page(page), m_toolTips(toolTips), m_editId(editId), m_iconId(iconId) {}

  static bool Valid(const std::string& text) { return text.size() == 3; }
  // The next change shows the valid icon unchecked: setting the text when
  // the page is shown is no typing to complain about.
  void SkipNextCheck() { m_bSkipNextCheck = true; }
  // Empties the field for the next person, unchecked.
  void Clear();
  void OnChange();
  // Marks the field; the initials are kept for the history only when valid,
  // so that the record names who was checked at Start.
  bool CheckForStart();
  const std::string& Initials() const { return m_initials; }

 private:
  bool Check();

  CWnd& m_page;
  CToolTipCtrl& m_toolTips;
  int m_editId;
  int m_iconId;
  bool m_bSkipNextCheck = true;
  std::string m_initials;
};

}  // namespace calib
