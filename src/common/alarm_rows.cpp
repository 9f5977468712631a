#include "common/alarm_rows.h"

namespace alarms {

namespace {

bool Bit(const Block& block, int byte, int bit) { return (block[byte] >> bit) & 1; }

void Put(Block& block, int byte, int bit, bool set) {
  const BYTE m = static_cast<BYTE>(1u << bit);
  block[byte] = static_cast<BYTE>(set ? block[byte] | m : block[byte] & ~m);
}

}  // namespace

COLORREF LampColour(const AlarmRow& row, const Block& status, BYTE localPanel) {
  switch (row.kind) {
    case LocalPanel:
      return localPanel == 1 ? row.colour : status::kHealthy;
    case Pair:
      // The warning wins over the alarm.
      if (Bit(status, row.byte, row.bit)) return kAlert;
      return Bit(status, row.byte, row.bit + 1) ? kAlarm : status::kHealthy;
    case Single:
      break;
  }
  return Bit(status, row.byte, row.bit) ? row.colour : status::kHealthy;
}

int CheckFromMask(const AlarmRow& row, const Block& mask) {
  switch (row.kind) {
    case LocalPanel:
      return 0;
    case Pair: {
      const bool warning = Bit(mask, row.byte, row.bit);
      const bool alarm = Bit(mask, row.byte, row.bit + 1);
      if (warning != alarm) return 2;
      return warning ? 0 : 1;
    }
    case Single:
      break;
  }
  return Bit(mask, row.byte, row.bit) ? 0 : 1;
}

void MaskFromCheck(const AlarmRow& row, int check, Block& mask) {
  if (row.kind == LocalPanel) return;
  const bool reported = check != 1;
  Put(mask, row.byte, row.bit, reported);
  if (row.kind == Pair) Put(mask, row.byte, row.bit + 1, reported);
}

void SetActiveFlags(const AlarmRow& row, const Block& status, BYTE localPanel, BYTE* flags) {
  if (!flags || row.report < 0) return;
  switch (row.kind) {
    case LocalPanel:
      flags[row.report] = localPanel == 1;
      return;
    case Pair:
      flags[row.report] = Bit(status, row.byte, row.bit + 1);
      flags[row.reportWarning] = Bit(status, row.byte, row.bit);
      return;
    case Single:
      flags[row.report] = Bit(status, row.byte, row.bit);
      return;
  }
}

void SetMaskedFlags(const AlarmRow& row, const Block& mask, BYTE* flags) {
  if (!flags || row.report < 0 || row.kind == LocalPanel) return;
  if (row.kind == Pair) {
    flags[row.report] = !Bit(mask, row.byte, row.bit + 1);
    flags[row.reportWarning] = !Bit(mask, row.byte, row.bit);
    return;
  }
  flags[row.report] = !Bit(mask, row.byte, row.bit);
}

}  // namespace alarms
