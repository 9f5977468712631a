// The rules every annunciator row follows, and the tables they run on.
#include "common/alarm_rows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace alarms;

const AlarmRow& kValveCycles = kAnnunciatorRows[0];   // S13.0, alert
const AlarmRow& kPilotResponse = kAnnunciatorRows[19];  // S18.0 warning, S18.1 alarm
const AlarmRow& kTamperLock = kManagementRows[7];

Block With(int byte, BYTE value, BYTE rest = 0) {
  Block b;
  b.fill(rest);
  b[byte] = value;
  return b;
}

struct LampCase {
  const AlarmRow* row;
  Block status;
  BYTE localPanel;
  COLORREF colour;
};

TEST(AlarmRows, LampColours) {
  const LampCase cases[] = {
      {&kValveCycles, With(13, 0x01), 0, 0x00FFFF},
      {&kValveCycles, With(13, 0xFE, 0xFF), 0, 0x006400},
      {&kPilotResponse, With(18, 0x01), 0, 0x00FFFF},
      {&kPilotResponse, With(18, 0x02), 0, 0x0A0AFF},
      {&kPilotResponse, With(18, 0x03), 0, 0x00FFFF},  // the warning wins
      {&kPilotResponse, With(18, 0xFC, 0xFF), 0, 0x006400},
      {&kTamperLock, With(0, 0), 1, 0x00FF00},
      {&kTamperLock, With(0, 0xFF, 0xFF), 2, 0x006400},
      {&kTamperLock, With(0, 0), 0, 0x006400},
  };
  for (const LampCase& c : cases) EXPECT_EQ(LampColour(*c.row, c.status, c.localPanel), c.colour) << c.row->toolTipKey;
}

struct MaskCase {
  const AlarmRow* row;
  BYTE maskByte;
  int check;
};

TEST(AlarmRows, CheckBoxFromMask) {
  const MaskCase cases[] = {
      {&kValveCycles, 0xFE, 1}, {&kValveCycles, 0x01, 0},
      {&kPilotResponse, 0xFC, 1}, {&kPilotResponse, 0x03, 0},
      {&kPilotResponse, 0x01, 2}, {&kPilotResponse, 0x02, 2},
  };
  for (const MaskCase& c : cases) EXPECT_EQ(CheckFromMask(*c.row, With(c.row->byte, c.maskByte)), c.check);
  EXPECT_EQ(CheckFromMask(kTamperLock, Block{}), 0);
}

struct CollectCase {
  const AlarmRow* row;
  int check;
  BYTE before, after;
};

TEST(AlarmRows, MaskFromCheckBoxChangesOnlyTheRowsBits) {
  const CollectCase cases[] = {
      {&kValveCycles, 1, 0xFF, 0xFE}, {&kValveCycles, 0, 0x00, 0x01},
      {&kPilotResponse, 1, 0xFF, 0xFC}, {&kPilotResponse, 0, 0xA4, 0xA7},
      {&kPilotResponse, 2, 0x01, 0x03},  // not checked: reported
  };
  for (const CollectCase& c : cases) {
    Block mask = With(c.row->byte, c.before, 0x5A);
    MaskFromCheck(*c.row, c.check, mask);
    EXPECT_EQ(mask, With(c.row->byte, c.after, 0x5A));
  }
  Block mask = With(0, 0x00, 0x5A);
  MaskFromCheck(kTamperLock, 0, mask);
  EXPECT_EQ(mask, With(0, 0x00, 0x5A));
}

TEST(AlarmRows, ReportFlagsOfAPairGoToBothIndices) {
  std::array<BYTE, 67> active{}, masked{};
  SetActiveFlags(kPilotResponse, With(18, 0x02), 0, active.data());
  SetMaskedFlags(kPilotResponse, With(18, 0x02), masked.data());
  EXPECT_EQ(active[41], 1);  // alarm bit
  EXPECT_EQ(active[42], 0);  // warning bit
  EXPECT_EQ(masked[41], 0);
  EXPECT_EQ(masked[42], 1);
  std::array<BYTE, 76> mgmt{};
  SetActiveFlags(kTamperLock, Block{}, 1, mgmt.data());
  SetMaskedFlags(kTamperLock, Block{}, mgmt.data() + kMgmtFlagRun);
  EXPECT_EQ(mgmt[12], 1);
  EXPECT_EQ(mgmt[kMgmtFlagRun + 12], 0);  // the row has no mask
}

// Every lamp names its event: 8 x byte + bit, but for the supply pressure
// row; no bit or report index is claimed twice.
template <size_t N>
void CheckTable(const AlarmRow (&rows)[N], int reportSize) {
  std::set<int> bits, reports;
  for (const AlarmRow& r : rows) {
    SCOPED_TRACE(r.captionKey);
    if (r.kind == LocalPanel) continue;
    const int code = 8 * r.byte + r.bit;
    if (std::string(r.toolTipKey) != "121") {
      EXPECT_EQ(std::to_string(code), r.toolTipKey);
    }
    EXPECT_TRUE(bits.insert(code).second);
    if (r.kind == Pair) {
      EXPECT_EQ(r.bit % 2, 0);
      EXPECT_TRUE(bits.insert(code + 1).second);
    }
    for (int index : {r.report, r.reportWarning}) {
      if (index < 0) continue;
      EXPECT_LT(index, reportSize);
      EXPECT_TRUE(reports.insert(index).second);
    }
  }
}

TEST(AlarmRows, TablesAreConsistent) {
  CheckTable(kAnnunciatorRows, 67);
  CheckTable(kManagementRows, kMgmtFlagRun);
  CheckTable(kTechnicianRows, 0);
  EXPECT_EQ(std::size(kAnnunciatorRows), 30u);
  EXPECT_EQ(kAnnunciatorRows[4].byte * 8 + kAnnunciatorRows[4].bit, 122);  // "121" on the supply pressure row
}

}  // namespace
