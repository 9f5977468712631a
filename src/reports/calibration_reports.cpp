// The stroke and command calibration reports.
#include "common/common_functions.h"
#include "reports/report_frame.h"
#include "shell/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kStrokeCal{"SensCalRept",
                                       "PageLine",
                                       "Detail",
                                       "ActStrkFricCalTitleLbl",
                                       "EDT_ALM_CAL1",
                                       "_StrokeCalibrationReport_",
                                       "Save Stroke Calibration ReportAs"};

const reports::ReportMember kCommandCal{"CmdInCalRept",      "PageLine",
                                        "Detail",            "TitleLbl",
                                        "AICALREPORTTITLE",  "_CommandCalReport_",
                                        "Save Command Calibration ReportAs"};

struct AlertRow {
  const char* labelField;
  const char* labelKey;
  const char* activeField;
  const char* maskField;
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

// Where the command alerts' masked states sit among the management flags.
constexpr size_t kCmdLessMaskByte = 60;
constexpr size_t kCmdGreaterMaskByte = 61;
constexpr size_t kCmdSmallMaskByte = 59;

}  // namespace

void CCommonFunctions::GenerateStrokeCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                               CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kStrokeCal);
    frame.LoadWithHeader(definitionPath);
    const auto& v = m_strStrokeCal;
    frame.SetText("StrokeCalResultsLbl", T("StrokeCalResultsLbl"));
    frame.SetText("StrkCalStateLbl", T("VeskCalibrationState"));
    frame.SetText("StrkCalState", v[0]);
    frame.SetText("StrkCalPosnLbl", T("IDC_STATICLASTQCALDATE"));
    frame.SetText("NewCalByLbl", T("IDC_STATICLASTBY"));
    frame.SetText("NewCalBy", v[1]);
    frame.SetText("LastCalDateLbl", T("IDC_STATICLASTDATE"));
    frame.SetText("LastCalDate", v[2]);
    frame.SetText("StrkCalILOLbl", T("StrkCalILOLbl"));
    frame.SetText("StrkCalILO", v[3]);
    frame.SetText("StrkLowADLbl", T("StrkLowADLbl"));
    frame.SetText("StrkCalLoADVal", v[4]);
    frame.SetText("StrkHiADLbl", T("StrkHiADLbl"));
    frame.SetText("StrkCalHiADVal", v[5]);
    frame.SetText("StrkCalADRangeLbl", T("StrkCalADRangeLbl"));
    frame.SetText("StrkCalADRange", v[6]);
    frame.SetText("StrCalFlgLbl", T("IDC_GB_STRCALFLAGS"));
    frame.SetText("StrCalFlgActiveLbl", T("IDC_LBLACTIVE2"));
    frame.SetText("StrCalFlgMaskLbl", T("IDC_LBLMASKED2"));
    for (size_t i = 0; i < std::size(kStrokeAlerts); ++i) {
      const AlertRow& row = kStrokeAlerts[i];
      frame.SetText(row.labelField, T(row.labelKey));
      frame.SetText(row.activeField, reports::FlagMark(m_bStrokeCalFlags[i]));
      frame.SetText(row.maskField, reports::FlagMark(m_bStrokeCalFlags[std::size(kStrokeAlerts) + i]));
    }
    frame.SaveAndAskToPrint();
  });
}

void CCommonFunctions::GenerateCommandCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                                CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kCommandCal);
    frame.LoadWithHeader(definitionPath);
    const auto& v = m_strCommandCal;
    frame.SetText("CalInfoLbl", T("StrokeCalInfoLbl"));
    frame.SetText("CmdCalStateLbl", T("IDC_STATICCALSTATE"));
    frame.SetText("CmdCalState", v[0]);
    frame.SetText("CalResultsLbl", T("StrokeCalResultsLbl"));
    frame.SetText("CmdCalByLbl", T("IDC_STATICLASTBY"));
    frame.SetText("CmdCalBy", v[2]);
    frame.SetText("LastCalDateLbl", T("IDC_STATICLASTDATE"));
    frame.SetText("LastCalDate", v[3]);
    frame.SetText("Cmd4mALbl", T("ADAT4MA"));
    frame.SetText("Cmd4mAValue", v[4]);
    frame.SetText("Cmd0Lbl", T("ADAT0"));
    frame.SetText("Cmd0Value", v[5]);
    frame.SetText("Cmd100Lbl", T("ADAT100"));
    frame.SetText("Cmd100Value", v[6]);
    frame.SetText("CmdADRangeLbl", T("StrkCalADRangeLbl"));
    frame.SetText("CmdADRangeValue", v[7]);
    frame.SetText("CmdCalFlagsLbl", T("IDC_GB_ANAINCALFLAGS"));
    frame.SetText("CmdCalFlgActiveLbl", T("IDC_LBLACTIVE2"));
    frame.SetText("CmdCalFlgMaskLbl", T("IDC_LBLMASKED2"));
    frame.SetText("CmdLessLbl", T("IDC_CHECKMGTAILESS"));
    frame.SetText("CmdGrtLbl", T("IDC_CHECKMGTAIGREAT"));
    frame.SetText("CmdSmallLbl", T("IDC_CHECKMGTAISMALL"));
    frame.SetText("CmdSmallActive", reports::FlagMark(m_bCommandCalActive[2]));
    frame.SetText("CmdLessActive", reports::FlagMark(m_bCommandCalActive[0]));
    frame.SetText("CmdGrtActive", reports::FlagMark(m_bCommandCalActive[1]));
    frame.SetText("CmdLessMask", reports::FlagMark(m_bMgmtFlags[kCmdLessMaskByte]));
    frame.SetText("CmdGrtMask", reports::FlagMark(m_bMgmtFlags[kCmdGreaterMaskByte]));
    frame.SetText("CmdSmallMask", reports::FlagMark(m_bMgmtFlags[kCmdSmallMaskByte]));
    frame.SaveAndAskToPrint();
  });
}
