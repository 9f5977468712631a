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
  int selector;            // a radio button carrying the caption; 0: none
  int placeholder;         // where the lamp goes
  UINT ledId;
  const char* toolTipKey;  // of the lamp
  RowKind kind;
  BYTE byte;
  BYTE bit;  // a pair's warning bit
  COLORREF colour;  // while the bit is set; a pair follows its rule
  int report;         // report index of the bit (a pair's alarm bit); -1: none
  int reportWarning;  // a pair's warning bit; -1: none
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
    {1061, 1070, "IDC_GB_VALCYC", 0, 1062, 200, "104", Single, 13, 0, kAlert, 0, -1},
    {1061, 1071, "IDC_GB_VALTRAV", 0, 1063, 201, "105", Single, 13, 1, kAlert, 1, -1},
    {1061, 1076, "IDC_GB_PILOTCYC", 0, 1068, 206, "110", Single, 13, 6, kAlert, 6, -1},
    {1061, 1077, "IDC_GB_PILOTTRAV", 0, 1069, 207, "111", Single, 13, 7, kAlert, 7, -1},
    {1096, 1192, "IDC_CHECKANNSUPPLOW", 0, 1097, 217, "121", Single, 15, 2, kAlarm, 17, -1},
    {1110, 1112, "EDT_ALM_POS1", 0, 1111, 223, "88", Single, 11, 0, kAlarm, 24, -1},
    {1110, 1114, "IDC_CHECKANNPOSSENFAILLBL", 0, 1113, 224, "89", Single, 11, 1, kAlarm, 25, -1},
    {1110, 1116, "IDC_CHECKANNCLSFARLBL", 0, 1115, 225, "91", Single, 11, 3, kAlert, 26, -1},
    {1110, 1117, "IDC_CHECKANNOPNFARLBL", 0, 1118, 226, "90", Single, 11, 2, kAlert, 27, -1},
    {1110, 1122, "IDC_CHECKANNPSTFAILLBL", 0, 1119, 227, "94", Single, 11, 6, kAlert, 28, -1},
    {1123, 1125, "IDC_CHECKANNFACRESET", 0, 1124, 229, "80", Single, 10, 0, kAlarm, 30, -1},
    {1123, 1127, "IDC_CHECKANNCALPROGLBL", 0, 1126, 230, "81", Single, 10, 1, kActive, 31, -1},
    {1123, 1129, "IDC_CHECKANNPST", 0, 1128, 231, "82", Single, 10, 2, kActive, 32, -1},
    {1123, 1135, "IDC_CHECKJOG", 0, 1130, 232, "83", Single, 10, 3, kActive, 33, -1},
    {1134, 1194, "IDC_CHECKANNMAINFAIL", 0, 1136, 235, "152", Single, 19, 0, kAlarm, 36, -1},
    {1134, 1138, "IDC_CHECKANNSOFTERR", 0, 1137, 236, "153", Single, 19, 1, kAlert, 37, -1},
    {1134, 1140, "IDC_CHECKANNMEMERR", 0, 1139, 237, "154", Single, 19, 2, kAlert, 38, -1},
    {1134, 1142, "IDC_CHECKANNTEMPHI", 0, 1141, 238, "156", Single, 19, 4, kAlert, 39, -1},
    {1134, 1144, "IDC_CHECKANNTEMPLO", 0, 1143, 239, "157", Single, 19, 5, kAlert, 40, -1},
    {1153, 1152, "IDC_CHECKANNPILOTRESP", 0, 1145, 240, "144", Pair, 18, 0, kAlarm, 41, 42},
    {1153, 1151, "IDC_CHECKANNPZOHI", 0, 1146, 241, "146", Pair, 18, 2, kAlarm, 43, 44},
    {1153, 1150, "IDC_CHECKANNPZOLO", 0, 1147, 242, "148", Pair, 18, 4, kAlarm, 45, 46},
    {1153, 1149, "IDC_CHECKANNDRVRMOD", 0, 1148, 243, "150", Single, 18, 6, kAlarm, 47, -1},
    {1154, 1156, "IDC_CHECKANNSOFTHILBL", 0, 1155, 244, "11", Single, 1, 3, kActive, 48, -1},
    {1154, 1160, "IDC_CHECKANNSOFTLOLBL", 0, 1157, 245, "12", Single, 1, 4, kActive, 49, -1},
    {1154, 1161, "IDC_CHECKANNPOSNHI", 0, 1158, 246, "96", Single, 12, 0, kAlert, 50, -1},
    {1154, 1162, "IDC_CHECKANNPOSNLO", 0, 1159, 247, "97", Single, 12, 1, kAlert, 51, -1},
    {1154, 1484, "IDC_CHECKFBACKLINK", 0, 1722, 942, "98", Single, 12, 2, kAlarm, 52, -1},
    {1163, 1170, "IDC_CHECKANNCANTOPENLBL", 0, 1166, 250, "134", Single, 16, 6, kAlarm, 57, -1},
    {1163, 1171, "IDC_CHECKANNCANTSHUTLBL", 0, 1167, 251, "135", Single, 16, 7, kAlarm, 58, -1},
};

// The management annunciator: 38 active flags, then 38 masked flags.
inline constexpr int kMgmtFlagRun = 38;

inline constexpr AlarmGroup kManagementGroups[] = {
    {1534, "IDG_STARTUP", 0},
    {1551, "IDG_ECSTAT", 0},
    {1554, "IDG_MODESTAT", 1},
};

inline constexpr AlarmRow kManagementRows[] = {
    {1534, 1187, "IDC_CHECKMGTINIT", 0, 1222, 261, "1", Single, 0, 1, kActive, 0, -1, Lamp::Round},
    {1534, 1188, "IDC_CHECKMGTSTRKREQ", 0, 1223, 262, "2", Single, 0, 2, kAlarm, 1, -1, Lamp::Round},
    {1551, 1195, "IDC_CHECKMGTLCD", 0, 1230, 297, "51", Single, 6, 3, kActive, 37, -1, Lamp::Arrow},
    {1554, 1214, "IDC_CHECKMGTDIGCMD", 0, 1249, 265, "8", Single, 1, 0, kActive, 4, -1, Lamp::Arrow},
    {1554, 1215, "IDC_CHECKMGTTIGHTSHUT", 0, 1250, 266, "9", Single, 1, 1, kActive, 5, -1, Lamp::Arrow},
    {1554, 1216, "IDC_LBLVALSTABILITYLOCK", 0, 1251, 267, "10", Single, 1, 2, kActive, 6, -1, Lamp::Arrow},
    {1554, 1191, "IDC_CHECKMGTSQWK", 0, 1260, 273, "21", Single, 2, 5, kActive, 13, -1, Lamp::Arrow},
    {1554, 1737, "IDC_STATIC_TAMPER_LOCK_GRP", 0, 1259, 272, "20", LocalPanel, 0, 0, kActive, 12, -1, Lamp::Arrow},
};

// The technician annunciator: the positioner's own faults, every one an
// alarm whatever its mask.
inline constexpr AlarmGroup kTechnicianGroups[] = {
    {1580, "IDC_GB_ALMDETAIL", 0},
    {1584, "IDC_GB_CALDETAIL", 0},
};

inline constexpr AlarmRow kTechnicianRows[] = {
    {1580, 1304, "IDC_STATICOSC", 7012, 1305, 950, "201", Single, 25, 1, kAlarm, -1, -1},
    {1580, 1306, "IDC_STATICPSNSENS", 620, 1307, 951, "202", Single, 25, 2, kAlarm, -1, -1},
    {1580, 1308, "IDC_STATICSUPVOLTS", 7013, 1309, 952, "203", Single, 25, 3, kAlarm, -1, -1},
    {1580, 1310, "IDC_STATICREFVOLTS", 7014, 1311, 953, "204", Single, 25, 4, kAlarm, -1, -1},
    {1580, 1312, "IDC_STATICSHNTVOLTS", 7015, 1313, 954, "205", Single, 25, 5, kAlarm, -1, -1},
    {1580, 1316, "IDC_STATICPILNOOPEN", 7017, 1317, 955, "208", Single, 26, 0, kAlarm, -1, -1},
    {1580, 1318, "IDC_STATICPILNOSHUT", 7018, 1319, 956, "209", Single, 26, 1, kAlarm, -1, -1},
    {1580, 1320, "IDC_STATICHALLSENS", 627, 1321, 957, "210", Single, 26, 2, kAlarm, -1, -1},
    {1580, 1330, "IDC_STATICNVMEM", 7019, 1331, 958, "216", Single, 27, 0, kAlarm, -1, -1},
    {1580, 1328, "IDC_STATICRAMERR", 7020, 1329, 959, "217", Single, 27, 1, kAlarm, -1, -1},
    {1580, 1326, "IDC_STATICRAMCRC", 7021, 1327, 960, "218", Single, 27, 2, kAlarm, -1, -1},
    {1580, 1324, "IDC_STATICFLASH", 629, 1325, 961, "219", Single, 27, 3, kAlarm, -1, -1},
    {1580, 1322, "IDC_STATICWDTO", 628, 1323, 962, "220", Single, 27, 4, kAlarm, -1, -1},
    {1580, 1332, "IDC_STATICSTACK", 633, 1333, 963, "221", Single, 27, 5, kAlarm, -1, -1},
    {1580, 1334, "IDC_STATICCPU", 634, 1335, 964, "222", Single, 27, 6, kAlarm, -1, -1},
    {1580, 1336, "IDC_STATICFIRMW", 7022, 1337, 965, "223", Single, 27, 7, kAlarm, -1, -1},
    {1584, 1359, "IDC_STATICILOOUT", 646, 1360, 966, "211", Single, 26, 3, kAlarm, -1, -1},
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
