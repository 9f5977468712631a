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
// A value field and the page's text it shows.
template <class Texts>
struct Value {
  const char* field;
  _bstr_t Texts::*text;
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
constexpr Value<StrokeCalTexts> kStrokeValues[] = {
    {"StrkCalState", &StrokeCalTexts::result},  {"NewCalBy", &StrokeCalTexts::by},
    {"LastCalDate", &StrokeCalTexts::date},     {"StrkCalILO", &StrokeCalTexts::ilo},
    {"StrkCalLoADVal", &StrokeCalTexts::lowAD}, {"StrkCalHiADVal", &StrokeCalTexts::highAD},
    {"StrkCalADRange", &StrokeCalTexts::adRange},
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
constexpr Value<CommandCalTexts> kCommandValues[] = {
    {"CmdCalState", &CommandCalTexts::result}, {"CmdCalBy", &CommandCalTexts::by},
    {"LastCalDate", &CommandCalTexts::date},   {"Cmd4mAValue", &CommandCalTexts::at4mA},
    {"Cmd0Value", &CommandCalTexts::at0},      {"Cmd100Value", &CommandCalTexts::at100},
    {"CmdADRangeValue", &CommandCalTexts::adRange},
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

template <class Texts>
void SetTexts(reports::ReportFrame& frame, std::span<const Label> labels, std::span<const Value<Texts>> values,
              const Texts& texts) {
  for (const Label& l : labels) frame.SetText(l.field, T(l.key));
  for (const Value<Texts>& v : values) frame.SetText(v.field, texts.*v.text);
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
    SetTexts<StrokeCalTexts>(frame, kStrokeLabels, kStrokeValues, m_strStrokeCal);
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
    SetTexts<CommandCalTexts>(frame, kCommandLabels, kCommandValues, m_strCommandCal);
    for (size_t i = 0; i < std::size(kCommandAlerts); ++i)
      SetAlert(frame, kCommandAlerts[i].row, m_bCommandCalActive[i], m_bMgmtFlags.at(kCommandAlerts[i].maskByte));
    frame.SaveAndAskToPrint();
  });
}
