// The stroke and command calibration reports.
#include <span>

#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kStrokeCal{"SensCalRept",
                                       "PageLine",
                                       "Detail",
                                       "ActStrkFricCalTitleLbl",
                                       "EDT_ALM_CAL1",
                                       "_StrokeCalibrationReport_",
                                       "Save Stroke Calibration ReportAs"};

const reports::ReportMember kCommandCal{"CmdInCalRept",
                                        "PageLine",
                                        "Detail",
                                        "TitleLbl",
                                        "AICALREPORTTITLE",
                                        "_CommandCalReport_",
                                        "Save Command Calibration ReportAs"};

// A label field and the key of its text.
struct Label {
  const char* field;
  const char* key;
};
// A value field and its element of the builder's texts.
struct Value {
  const char* field;
  size_t element;
};
struct AlertRow {
  const char* labelField;
  const char* labelKey;
  const char* activeField;
  const char* maskField;
};

constexpr Label kStrokeLabels[] = {
    {"StrokeCalResultsLbl", "StrokeCalResultsLbl"},
    {"StrkCalStateLbl", "VeskCalibrationState"},
    {"StrkCalPosnLbl", "IDC_STATICLASTQCALDATE"},
    {"NewCalByLbl", "IDC_STATICLASTBY"},
    {"LastCalDateLbl", "IDC_STATICLASTDATE"},
    {"StrkCalILOLbl", "StrkCalILOLbl"},
    {"StrkLowADLbl", "StrkLowADLbl"},
    {"StrkHiADLbl", "StrkHiADLbl"},
    {"StrkCalADRangeLbl", "StrkCalADRangeLbl"},
    {"StrCalFlgLbl", "IDC_GB_STRCALFLAGS"},
    {"StrCalFlgActiveLbl", "IDC_LBLACTIVE2"},
    {"StrCalFlgMaskLbl", "IDC_LBLMASKED2"},
};
constexpr Value kStrokeValues[] = {
    {"StrkCalState", 0},   {"NewCalBy", 1},       {"LastCalDate", 2},    {"StrkCalILO", 3},
    {"StrkCalLoADVal", 4}, {"StrkCalHiADVal", 5}, {"StrkCalADRange", 6},
};
// In the order of the flag bytes: active at [i], masked at [7 + i].
constexpr AlertRow kStrokeAlerts[] = {
    {"PositionRangeSmallLbl", "IDC_CHECKMGTPOSSMALL", "PsnRangeSmActive", "PsnRangeSmMask"},
    {"PositionLessThanLbl", "IDC_CHECKADCPOSLESS", "PosLessRangeActive", "PosLessRangeMask"},
    {"PositionGrtrThanLbl", "IDC_CHECKPOSGREAT", "PosGrtrRangeActive", "PosGrtrRangeMask"},
    {"NoMoTimOutLbl", "IDC_CHECKMGTNOMOTO", "NoMoTimOutActive", "NoMoTimOutMask"},
    {"SetTimOutLbl", "IDC_CHECKMGTSETTO", "SetTimOutActive", "SetTimOutMask"},
    {"ILOTimOutLbl", "IDC_CHECKMGTILOTO", "ILOTimOutActive", "ILOTimOutMask"},
    {"StrCalReqLbl", "VeskPRESSCALLREQ", "StrCalReqActive", "StrCalReqMask"},
};

constexpr Label kCommandLabels[] = {
    {"CalInfoLbl", "StrokeCalInfoLbl"},
    {"CmdCalStateLbl", "IDC_STATICCALSTATE"},
    {"CalResultsLbl", "StrokeCalResultsLbl"},
    {"CmdCalByLbl", "IDC_STATICLASTBY"},
    {"LastCalDateLbl", "IDC_STATICLASTDATE"},
    {"Cmd4mALbl", "ADAT4MA"},
    {"Cmd0Lbl", "ADAT0"},
    {"Cmd100Lbl", "ADAT100"},
    {"CmdADRangeLbl", "StrkCalADRangeLbl"},
    {"CmdCalFlagsLbl", "IDC_GB_ANAINCALFLAGS"},
    {"CmdCalFlgActiveLbl", "IDC_LBLACTIVE2"},
    {"CmdCalFlgMaskLbl", "IDC_LBLMASKED2"},
};
// Element 1 of the command texts is not printed.
constexpr Value kCommandValues[] = {
    {"CmdCalState", 0}, {"CmdCalBy", 2},    {"LastCalDate", 3},     {"Cmd4mAValue", 4},
    {"Cmd0Value", 5},   {"Cmd100Value", 6}, {"CmdADRangeValue", 7},
};
// Active at [i] of the command flags; masked at the management flag byte.
struct CommandAlert {
  AlertRow row;
  size_t maskByte;
};
constexpr CommandAlert kCommandAlerts[] = {
    {{"CmdLessLbl", "IDC_CHECKMGTAILESS", "CmdLessActive", "CmdLessMask"}, 60},
    {{"CmdGrtLbl", "IDC_CHECKMGTAIGREAT", "CmdGrtActive", "CmdGrtMask"}, 61},
    {{"CmdSmallLbl", "IDC_CHECKMGTAISMALL", "CmdSmallActive", "CmdSmallMask"}, 59},
};

void SetTexts(reports::ReportFrame& frame, std::span<const Label> labels, std::span<const Value> values,
              std::span<const _bstr_t> texts) {
  for (const Label& l : labels) frame.SetText(l.field, T(l.key));
  for (const Value& v : values) frame.SetText(v.field, texts[v.element]);
}

void SetAlert(reports::ReportFrame& frame, const AlertRow& row, BYTE active, BYTE masked) {
  frame.SetText(row.labelField, T(row.labelKey));
  frame.SetText(row.activeField, reports::FlagMark(active));
  frame.SetText(row.maskField, reports::FlagMark(masked));
}

}  // namespace

void CCommonFunctions::GenerateStrokeCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                               CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kStrokeCal);
    frame.LoadWithHeader(definitionPath);
    SetTexts(frame, kStrokeLabels, kStrokeValues, m_strStrokeCal);
    constexpr size_t kRows = std::size(kStrokeAlerts);
    for (size_t i = 0; i < kRows; ++i)
      SetAlert(frame, kStrokeAlerts[i], m_bStrokeCalFlags[i], m_bStrokeCalFlags[kRows + i]);
    frame.SaveAndAskToPrint();
  });
}

void CCommonFunctions::GenerateCommandCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                                CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kCommandCal);
    frame.LoadWithHeader(definitionPath);
    SetTexts(frame, kCommandLabels, kCommandValues, m_strCommandCal);
    for (size_t i = 0; i < std::size(kCommandAlerts); ++i)
      SetAlert(frame, kCommandAlerts[i].row, m_bCommandCalActive[i], m_bMgmtFlags.at(kCommandAlerts[i].maskByte));
    frame.SaveAndAskToPrint();
  });
}
