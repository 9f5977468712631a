#pragma once
// A page with every control kind, laid out like a test page of the program.
#include "platform/win/dialog_template.h"

namespace testsupport {

enum SampleIds : UINT {
  kSampleTemplate = 9001,
  kStartLabel = 1001,
  kStartEdit = 1031,
  kStopEdit = 1032,
  kYearEdit = 1033,  // digits only
  kStatusText = 1021,  // read-only
  kNotesEdit = 1283,  // multi-line, read-only
  kApply = 1055,
  kBidirectional = 1037,  // auto check box
  kMasked = 1189,  // manual check box
  kRadioRamp = 1101,  // group 1
  kRadioStep = 1102,
  kRadioAbsolute = 1111,  // group 2
  kRadioRelative = 1112,
  kSpeedCombo = 423,
  kHistoryList = 1300,
  kProgress = 1047,
  kPlaceholder = 1060,  // hidden group box
  kValidIcon = 1727,
  kPicture = 1009,
};

inline void RegisterSampleTemplate() {
  plat::RegisterDialogTemplate(DialogTemplate{kSampleTemplate, 420, 200, {
      {-1, DlgKind::GroupBox, "Ramp test settings", 4, 4, 196, 96},
      {kStartLabel, DlgKind::Static, "Start position (%):", 12, 18, 70, 9},
      {kStartEdit, DlgKind::Edit, "0.0", 86, 16, 44, 12, DS_RIGHT},
      {kValidIcon, DlgKind::Picture, "", 134, 17, 10, 10, DS_ICON, 153},
      {-1, DlgKind::Static, "Stop position (%):", 12, 34, 70, 9},
      {kStopEdit, DlgKind::Edit, "100.0", 86, 32, 44, 12, DS_RIGHT},
      {-1, DlgKind::Static, "Year:", 12, 50, 70, 9},
      {kYearEdit, DlgKind::Edit, "2026", 86, 48, 44, 12, DS_NUMBER},
      {kBidirectional, DlgKind::CheckBox, "Bi-directional", 12, 66, 80, 10, DS_GROUP},
      {kMasked, DlgKind::CheckBox, "Masked", 12, 80, 80, 10, DS_MANUAL},
      {kRadioRamp, DlgKind::RadioButton, "Ramp", 110, 66, 40, 10, DS_GROUP},
      {kRadioStep, DlgKind::RadioButton, "Step", 110, 80, 40, 10},
      {-1, DlgKind::GroupBox, "Output", 208, 4, 206, 96, DS_GROUP},
      {kRadioAbsolute, DlgKind::RadioButton, "Absolute", 216, 18, 60, 10, DS_GROUP},
      {kRadioRelative, DlgKind::RadioButton, "Relative", 216, 32, 60, 10},
      {-1, DlgKind::Static, "Speed:", 286, 18, 30, 9},
      {kSpeedCombo, DlgKind::ComboBox, "", 318, 16, 88, 80},
      {kHistoryList, DlgKind::ListBox, "", 286, 34, 120, 58, DS_VSCROLL},
      {-1, DlgKind::Static, "Status:", 8, 108, 40, 9},
      {kStatusText, DlgKind::Edit, "Idle", 50, 106, 150, 12, DS_READONLY},
      {kNotesEdit, DlgKind::Edit, "", 8, 124, 192, 40, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {kPlaceholder, DlgKind::GroupBox, "", 208, 106, 61, 40, DS_HIDDEN},
      {kPicture, DlgKind::Picture, "", 280, 108, 16, 16, 0, 169},
      {kProgress, DlgKind::Progress, "", 8, 172, 192, 10},
      {kApply, DlgKind::PushButton, "Start", 300, 172, 50, 14, DS_DEFAULT},
      {1056, DlgKind::PushButton, "Stop", 356, 172, 50, 14, DS_DISABLED},
  }});
}

}  // namespace testsupport
