#pragma once
// The rows of the annunciator pages: which status bit lights a row's lamp
// and in which colour, which mask bit its check box stands for, the keys
// that name it and where its report flags go. The three annunciators
// differ only in these tables; the rules below apply to every row.
#include <array>
#include <span>

#include "comm/status_rules.h"

namespace alarms {

using Block = std::array<BYTE, 32>;

enum class RowKind : BYTE {
  Single,      // one status bit, one mask bit
  Pair,        // warning bit and the alarm bit above it, masked together
  LocalPanel,  // lit by device variable 179 equal to 1; no mask
};

enum class Lamp : BYTE { Round, Arrow };

struct AlarmRow {
  int group;               // the group box the row stands in
  int label;               // the mask check box; a static text on an unmasked row
  const char* captionKey;  // of the label (of the selector when there is one)
  int selector = 0;        // a radio button carrying the caption; 0: none
  int placeholder;         // where the lamp goes
  UINT ledId;
  const char* toolTipKey;  // of the lamp
  RowKind kind;
  BYTE byte;
  BYTE bit;  // a pair's warning bit
  COLORREF colour;  // while the bit is set; a pair follows its rule
  int report = -1;         // report index of the bit (a pair's alarm bit); -1: none
  int reportWarning = -1;  // a pair's warning bit; -1: none
  Lamp lamp = Lamp::Round;
};

struct AlarmGroup {
  int box;
  const char* captionKey;
  int column;  // of the page's layout
  int extraLines = 0;  // under the rows, for the page's own controls
};

using status::kActive;
using status::kAlarm;
using status::kAlert;
using enum RowKind;

// The alarm annunciator, group by group.
inline constexpr AlarmGroup kAnnunciatorGroups[] = {
    {1061, "IDC_GB_CYCTRAV", 0},  {1096, "IDC_GB_ACTSTAT", 0},     {1110, "IDC_GB_FBACKSTAT", 0},
    {1123, "IDG_MODESTAT", 0},    {1134, "IDC_GB_MBOARDSTAT", 1},  {1153, "BE_FLAG_ENABLE_6", 1},
    {1154, "IDC_GB_POSNSTAT", 2}, {1163, "IDC_GB_VALSTABILITYSTAT", 2},
};

inline constexpr AlarmRow kAnnunciatorRows[] = {
    {.group = 1061, .label = 1070, .captionKey = "IDC_GB_VALCYC", .placeholder = 1062, .ledId = 200,
     .toolTipKey = "104", .kind = Single, .byte = 13, .bit = 0, .colour = kAlert, .report = 0},
    {.group = 1061, .label = 1071, .captionKey = "IDC_GB_VALTRAV", .placeholder = 1063, .ledId = 201,
     .toolTipKey = "105", .kind = Single, .byte = 13, .bit = 1, .colour = kAlert, .report = 1},
    {.group = 1061, .label = 1076, .captionKey = "IDC_GB_PILOTCYC", .placeholder = 1068, .ledId = 206,
     .toolTipKey = "110", .kind = Single, .byte = 13, .bit = 6, .colour = kAlert, .report = 6},
    {.group = 1061, .label = 1077, .captionKey = "IDC_GB_PILOTTRAV", .placeholder = 1069, .ledId = 207,
     .toolTipKey = "111", .kind = Single, .byte = 13, .bit = 7, .colour = kAlert, .report = 7},
    {.group = 1096, .label = 1192, .captionKey = "IDC_CHECKANNSUPPLOW", .placeholder = 1097, .ledId = 217,
     .toolTipKey = "121", .kind = Single, .byte = 15, .bit = 2, .colour = kAlarm, .report = 17},
    {.group = 1110, .label = 1112, .captionKey = "EDT_ALM_POS1", .placeholder = 1111, .ledId = 223, .toolTipKey = "88",
     .kind = Single, .byte = 11, .bit = 0, .colour = kAlarm, .report = 24},
    {.group = 1110, .label = 1114, .captionKey = "IDC_CHECKANNPOSSENFAILLBL", .placeholder = 1113, .ledId = 224,
     .toolTipKey = "89", .kind = Single, .byte = 11, .bit = 1, .colour = kAlarm, .report = 25},
    {.group = 1110, .label = 1116, .captionKey = "IDC_CHECKANNCLSFARLBL", .placeholder = 1115, .ledId = 225,
     .toolTipKey = "91", .kind = Single, .byte = 11, .bit = 3, .colour = kAlert, .report = 26},
    {.group = 1110, .label = 1117, .captionKey = "IDC_CHECKANNOPNFARLBL", .placeholder = 1118, .ledId = 226,
     .toolTipKey = "90", .kind = Single, .byte = 11, .bit = 2, .colour = kAlert, .report = 27},
    {.group = 1110, .label = 1122, .captionKey = "IDC_CHECKANNPSTFAILLBL", .placeholder = 1119, .ledId = 227,
     .toolTipKey = "94", .kind = Single, .byte = 11, .bit = 6, .colour = kAlert, .report = 28},
    {.group = 1123, .label = 1125, .captionKey = "IDC_CHECKANNFACRESET", .placeholder = 1124, .ledId = 229,
     .toolTipKey = "80", .kind = Single, .byte = 10, .bit = 0, .colour = kAlarm, .report = 30},
    {.group = 1123, .label = 1127, .captionKey = "IDC_CHECKANNCALPROGLBL", .placeholder = 1126, .ledId = 230,
     .toolTipKey = "81", .kind = Single, .byte = 10, .bit = 1, .colour = kActive, .report = 31},
    {.group = 1123, .label = 1129, .captionKey = "IDC_CHECKANNPST", .placeholder = 1128, .ledId = 231,
     .toolTipKey = "82", .kind = Single, .byte = 10, .bit = 2, .colour = kActive, .report = 32},
    {.group = 1123, .label = 1135, .captionKey = "IDC_CHECKJOG", .placeholder = 1130, .ledId = 232, .toolTipKey = "83",
     .kind = Single, .byte = 10, .bit = 3, .colour = kActive, .report = 33},
    {.group = 1134, .label = 1194, .captionKey = "IDC_CHECKANNMAINFAIL", .placeholder = 1136, .ledId = 235,
     .toolTipKey = "152", .kind = Single, .byte = 19, .bit = 0, .colour = kAlarm, .report = 36},
    {.group = 1134, .label = 1138, .captionKey = "IDC_CHECKANNSOFTERR", .placeholder = 1137, .ledId = 236,
     .toolTipKey = "153", .kind = Single, .byte = 19, .bit = 1, .colour = kAlert, .report = 37},
    {.group = 1134, .label = 1140, .captionKey = "IDC_CHECKANNMEMERR", .placeholder = 1139, .ledId = 237,
     .toolTipKey = "154", .kind = Single, .byte = 19, .bit = 2, .colour = kAlert, .report = 38},
    {.group = 1134, .label = 1142, .captionKey = "IDC_CHECKANNTEMPHI", .placeholder = 1141, .ledId = 238,
     .toolTipKey = "156", .kind = Single, .byte = 19, .bit = 4, .colour = kAlert, .report = 39},
    {.group = 1134, .label = 1144, .captionKey = "IDC_CHECKANNTEMPLO", .placeholder = 1143, .ledId = 239,
     .toolTipKey = "157", .kind = Single, .byte = 19, .bit = 5, .colour = kAlert, .report = 40},
    {.group = 1153, .label = 1152, .captionKey = "IDC_CHECKANNPILOTRESP", .placeholder = 1145, .ledId = 240,
     .toolTipKey = "144", .kind = Pair, .byte = 18, .bit = 0, .colour = kAlarm, .report = 41, .reportWarning = 42},
    {.group = 1153, .label = 1151, .captionKey = "IDC_CHECKANNPZOHI", .placeholder = 1146, .ledId = 241,
     .toolTipKey = "146", .kind = Pair, .byte = 18, .bit = 2, .colour = kAlarm, .report = 43, .reportWarning = 44},
    {.group = 1153, .label = 1150, .captionKey = "IDC_CHECKANNPZOLO", .placeholder = 1147, .ledId = 242,
     .toolTipKey = "148", .kind = Pair, .byte = 18, .bit = 4, .colour = kAlarm, .report = 45, .reportWarning = 46},
    {.group = 1153, .label = 1149, .captionKey = "IDC_CHECKANNDRVRMOD", .placeholder = 1148, .ledId = 243,
     .toolTipKey = "150", .kind = Single, .byte = 18, .bit = 6, .colour = kAlarm, .report = 47},
    {.group = 1154, .label = 1156, .captionKey = "IDC_CHECKANNSOFTHILBL", .placeholder = 1155, .ledId = 244,
     .toolTipKey = "11", .kind = Single, .byte = 1, .bit = 3, .colour = kActive, .report = 48},
    {.group = 1154, .label = 1160, .captionKey = "IDC_CHECKANNSOFTLOLBL", .placeholder = 1157, .ledId = 245,
     .toolTipKey = "12", .kind = Single, .byte = 1, .bit = 4, .colour = kActive, .report = 49},
    {.group = 1154, .label = 1161, .captionKey = "IDC_CHECKANNPOSNHI", .placeholder = 1158, .ledId = 246,
     .toolTipKey = "96", .kind = Single, .byte = 12, .bit = 0, .colour = kAlert, .report = 50},
    {.group = 1154, .label = 1162, .captionKey = "IDC_CHECKANNPOSNLO", .placeholder = 1159, .ledId = 247,
     .toolTipKey = "97", .kind = Single, .byte = 12, .bit = 1, .colour = kAlert, .report = 51},
    {.group = 1154, .label = 1484, .captionKey = "IDC_CHECKFBACKLINK", .placeholder = 1722, .ledId = 942,
     .toolTipKey = "98", .kind = Single, .byte = 12, .bit = 2, .colour = kAlarm, .report = 52},
    {.group = 1163, .label = 1170, .captionKey = "IDC_CHECKANNCANTOPENLBL", .placeholder = 1166, .ledId = 250,
     .toolTipKey = "134", .kind = Single, .byte = 16, .bit = 6, .colour = kAlarm, .report = 57},
    {.group = 1163, .label = 1171, .captionKey = "IDC_CHECKANNCANTSHUTLBL", .placeholder = 1167, .ledId = 251,
     .toolTipKey = "135", .kind = Single, .byte = 16, .bit = 7, .colour = kAlarm, .report = 58},
};

// The management annunciator: 38 active flags, then 38 masked flags.
inline constexpr int kMgmtFlagRun = 38;

inline constexpr AlarmGroup kManagementGroups[] = {
    {1534, "IDG_STARTUP", 0},
    {1551, "IDG_ECSTAT", 0},
    {1554, "IDG_MODESTAT", 1},
};

inline constexpr AlarmRow kManagementRows[] = {
    {.group = 1534, .label = 1187, .captionKey = "IDC_CHECKMGTINIT", .placeholder = 1222, .ledId = 261,
     .toolTipKey = "1", .kind = Single, .byte = 0, .bit = 1, .colour = kActive, .report = 0},
    {.group = 1534, .label = 1188, .captionKey = "IDC_CHECKMGTSTRKREQ", .placeholder = 1223, .ledId = 262,
     .toolTipKey = "2", .kind = Single, .byte = 0, .bit = 2, .colour = kAlarm, .report = 1},
    {.group = 1551, .label = 1195, .captionKey = "IDC_CHECKMGTLCD", .placeholder = 1230, .ledId = 297,
     .toolTipKey = "51", .kind = Single, .byte = 6, .bit = 3, .colour = kActive, .report = 37, .lamp = Lamp::Arrow},
    {.group = 1554, .label = 1214, .captionKey = "IDC_CHECKMGTDIGCMD", .placeholder = 1249, .ledId = 265,
     .toolTipKey = "8", .kind = Single, .byte = 1, .bit = 0, .colour = kActive, .report = 4, .lamp = Lamp::Arrow},
    {.group = 1554, .label = 1215, .captionKey = "IDC_CHECKMGTTIGHTSHUT", .placeholder = 1250, .ledId = 266,
     .toolTipKey = "9", .kind = Single, .byte = 1, .bit = 1, .colour = kActive, .report = 5, .lamp = Lamp::Arrow},
    {.group = 1554, .label = 1216, .captionKey = "IDC_LBLVALSTABILITYLOCK", .placeholder = 1251, .ledId = 267,
     .toolTipKey = "10", .kind = Single, .byte = 1, .bit = 2, .colour = kActive, .report = 6, .lamp = Lamp::Arrow},
    {.group = 1554, .label = 1191, .captionKey = "IDC_CHECKMGTSQWK", .placeholder = 1260, .ledId = 273,
     .toolTipKey = "21", .kind = Single, .byte = 2, .bit = 5, .colour = kActive, .report = 13, .lamp = Lamp::Arrow},
    {.group = 1554, .label = 1737, .captionKey = "IDC_STATIC_TAMPER_LOCK_GRP", .placeholder = 1259, .ledId = 272,
     .toolTipKey = "20", .kind = LocalPanel, .byte = 0, .bit = 0, .colour = kActive, .report = 12, .lamp = Lamp::Arrow},
};

// The technician annunciator: the positioner's own faults, every one an
// alarm whatever its mask.
inline constexpr AlarmGroup kTechnicianGroups[] = {
    {1580, "IDC_GB_ALMDETAIL", 0},
    {1584, "IDC_GB_CALDETAIL", 0},
};

inline constexpr AlarmRow kTechnicianRows[] = {
    {.group = 1580, .label = 1304, .captionKey = "IDC_STATICOSC", .selector = 7012, .placeholder = 1305, .ledId = 950,
     .toolTipKey = "201", .kind = Single, .byte = 25, .bit = 1, .colour = kAlarm},
    {.group = 1580, .label = 1306, .captionKey = "IDC_STATICPSNSENS", .selector = 620, .placeholder = 1307,
     .ledId = 951, .toolTipKey = "202", .kind = Single, .byte = 25, .bit = 2, .colour = kAlarm},
    {.group = 1580, .label = 1308, .captionKey = "IDC_STATICSUPVOLTS", .selector = 7013, .placeholder = 1309,
     .ledId = 952, .toolTipKey = "203", .kind = Single, .byte = 25, .bit = 3, .colour = kAlarm},
    {.group = 1580, .label = 1310, .captionKey = "IDC_STATICREFVOLTS", .selector = 7014, .placeholder = 1311,
     .ledId = 953, .toolTipKey = "204", .kind = Single, .byte = 25, .bit = 4, .colour = kAlarm},
    {.group = 1580, .label = 1312, .captionKey = "IDC_STATICSHNTVOLTS", .selector = 7015, .placeholder = 1313,
     .ledId = 954, .toolTipKey = "205", .kind = Single, .byte = 25, .bit = 5, .colour = kAlarm},
    {.group = 1580, .label = 1316, .captionKey = "IDC_STATICPILNOOPEN", .selector = 7017, .placeholder = 1317,
     .ledId = 955, .toolTipKey = "208", .kind = Single, .byte = 26, .bit = 0, .colour = kAlarm},
    {.group = 1580, .label = 1318, .captionKey = "IDC_STATICPILNOSHUT", .selector = 7018, .placeholder = 1319,
     .ledId = 956, .toolTipKey = "209", .kind = Single, .byte = 26, .bit = 1, .colour = kAlarm},
    {.group = 1580, .label = 1320, .captionKey = "IDC_STATICHALLSENS", .selector = 627, .placeholder = 1321,
     .ledId = 957, .toolTipKey = "210", .kind = Single, .byte = 26, .bit = 2, .colour = kAlarm},
    {.group = 1580, .label = 1330, .captionKey = "IDC_STATICNVMEM", .selector = 7019, .placeholder = 1331, .ledId = 958,
     .toolTipKey = "216", .kind = Single, .byte = 27, .bit = 0, .colour = kAlarm},
    {.group = 1580, .label = 1328, .captionKey = "IDC_STATICRAMERR", .selector = 7020, .placeholder = 1329,
     .ledId = 959, .toolTipKey = "217", .kind = Single, .byte = 27, .bit = 1, .colour = kAlarm},
    {.group = 1580, .label = 1326, .captionKey = "IDC_STATICRAMCRC", .selector = 7021, .placeholder = 1327,
     .ledId = 960, .toolTipKey = "218", .kind = Single, .byte = 27, .bit = 2, .colour = kAlarm},
    {.group = 1580, .label = 1324, .captionKey = "IDC_STATICFLASH", .selector = 629, .placeholder = 1325, .ledId = 961,
     .toolTipKey = "219", .kind = Single, .byte = 27, .bit = 3, .colour = kAlarm},
    {.group = 1580, .label = 1322, .captionKey = "IDC_STATICWDTO", .selector = 628, .placeholder = 1323, .ledId = 962,
     .toolTipKey = "220", .kind = Single, .byte = 27, .bit = 4, .colour = kAlarm},
    {.group = 1580, .label = 1332, .captionKey = "IDC_STATICSTACK", .selector = 633, .placeholder = 1333, .ledId = 963,
     .toolTipKey = "221", .kind = Single, .byte = 27, .bit = 5, .colour = kAlarm},
    {.group = 1580, .label = 1334, .captionKey = "IDC_STATICCPU", .selector = 634, .placeholder = 1335, .ledId = 964,
     .toolTipKey = "222", .kind = Single, .byte = 27, .bit = 6, .colour = kAlarm},
    {.group = 1580, .label = 1336, .captionKey = "IDC_STATICFIRMW", .selector = 7022, .placeholder = 1337, .ledId = 965,
     .toolTipKey = "223", .kind = Single, .byte = 27, .bit = 7, .colour = kAlarm},
    {.group = 1584, .label = 1359, .captionKey = "IDC_STATICILOOUT", .selector = 646, .placeholder = 1360, .ledId = 966,
     .toolTipKey = "211", .kind = Single, .byte = 26, .bit = 3, .colour = kAlarm},
};

// The lamp's colour from the status bytes (and variable 179).
COLORREF LampColour(const AlarmRow& row, const Block& status, BYTE localPanel);
// The check box from the mask bytes: 1 masked, 0 reported, 2 a pair
// whose bits differ. A row without a mask gives 0.
int CheckFromMask(const AlarmRow& row, const Block& mask);
// Only "checked" masks the row (both bits of a pair); anything else
// reports it. A row without a mask changes nothing.
void MaskFromCheck(const AlarmRow& row, int check, Block& mask);
// The report flags of the row's bits: active from the status bytes,
// masked from the mask bytes. Flags null: nothing to write.
void SetActiveFlags(const AlarmRow& row, const Block& status, BYTE localPanel, BYTE* flags);
void SetMaskedFlags(const AlarmRow& row, const Block& mask, BYTE* flags);

}  // namespace alarms
