#pragma once
// What both characterisation pages share: the names of the settings, the
// plot's captions and the refit after a redraw.
#include "common/common_controls.h"

namespace charcurve {

inline constexpr const char* kChannel = "CharCurve";
inline constexpr int kPoints = 21;  // at the inputs 0, 5, ..., 100 percent

// The settings in the order of the stroke characterisation list: linear,
// then the curves 0 to 6 of device variable 167.
inline constexpr const char* kSettingKeys[] = {"IDC_STATICLINEAR", "KestarLin", "KestarEqPct", "OndrelLin",
                                               "OndrelEqPct",      "LumoLin",   "LumoEqPct",   "CharCustom"};
inline constexpr int kSettings = 8;
inline constexpr BYTE kLinearBit = 0x08;  // of variables 55 (dip switch) and 56 (software)

// The list entry of a device setting: 0 when bit 3 of the software
// configuration says linear, else the curve number + 1 (past the list for
// a number above 6).
inline int SettingIndex(BYTE softConfig, BYTE curve) { return softConfig & kLinearBit ? 0 : curve + 1; }
// Its language key; null past the list.
inline const char* SettingKey(BYTE softConfig, BYTE curve) {
  const int index = SettingIndex(softConfig, curve);
  return index < kSettings ? kSettingKeys[index] : nullptr;
}

// Title by key, the axis titles by axis name, the tool bar's hints.
void SetPlotCaptions(IiPlotXPtr& plot, const char* titleKey);
// The first Y and X axes refitted to the data after a redraw.
void FitAxes(IiPlotXPtr& plot);

}  // namespace charcurve
