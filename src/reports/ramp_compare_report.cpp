// The ramp comparison report: both files' identification and settings side
// by side, and two pictures of the compare plot, the ramp view and the
// signature view.
#include "reports/common_functions.h"
#include "platform/win/person.h"
#include "reports/report_frame.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kRampCompare{"RampCmpRep",         "PageLine1",           "Detail",
                                         "TitleLbl",           "RAMPCMPREPORTTITLE",  "_RampCompareReport_",
                                         "Save Ramp Compare Report As"};

// Fixed texts, not translated; a file 2 not read shows nothing.
_bstr_t BidirectionalText(BYTE flag) {
  if (flag == CCommonFields::kCompareNotLoaded) return "";
  return flag == 1 ? "Yes" : "No";
}

}  // namespace

void CCommonFunctions::GenerateRampCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                                 _bstr_t definitionPath, CWnd* page) {
  const auto& t = m_strRampCompare;
  // The proposed PDF name begins with file 1's tag, not the device's.
  CIdentityTexts ids;
  ids.m_strDeviceTag = t[0];
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, ids, kRampCompare);
    frame.Load(definitionPath);
    const reports::TemporaryPicture ramp("RampTestCmp.bmp");
    const reports::TemporaryPicture signature("RampTestCmp3.bmp");
    reports::ShowToolBar(plot, false);
    // A failure from here on leaves the report as far as it got, and the
    // user may still save and print it.
    try {
      SetupRampCompareGraph(plot);
      reports::SavePicture(plot, ramp);
      SetupSignatureCompareGraph(plot);
      reports::SavePicture(plot, signature);
      reports::ShowToolBar(plot, true);

      frame.SetComparisonHeader();
      const std::pair<const char*, _bstr_t> fields[] = {
          {"Tag1Value", t[0]},
          {"TestDate1Value", t[2]},
          {"FileName1Value", t[4]},
          {"File2TagLbl", T("IDC_STATICBODTAG")},
          {"Tag2Value", t[1]},
          {"File2DateLbl", T("IDC_STATICDATE")},
          {"TestDate2Value", t[3]},
          {"File2NameLbl", T("IDC_STATICFILE")},
          {"FileName2Value", t[5]},
          {"RampSetLbl", T("IDC_STATICRAMPSET")},
          {"StartPos1Lbl", T("IDC_STATICSTARTPOS")},
          {"StartPosn", t[6]},
          {"StopPos1Lbl", T("IDC_STATICSTOPPOS")},
          {"StopPosn", t[8]},
          {"HoldTime1Lbl", T("IDC_STATICHOLDTIME")},
          {"HoldTime", t[10]},
          {"TestDur1Lbl", T("IDC_STATICTESTDUR")},
          {"TestDuration", t[12]},
          {"StartPosn2", t[7]},
          {"StopPosn2", t[9]},
          {"HoldTime2", t[11]},
          {"TestDuration2", t[13]},
          {"BiDir1Lbl", T("IDC_CHECKBIDIR")},
          {"BiDir1Value", BidirectionalText(m_bCompareBidirectional[0])},
          {"BiDir2Value", BidirectionalText(m_bCompareBidirectional[1])},
          {"SLenLabel1", T("IDC_STATICSTRLEN")},
          {"SLenValue1", t[14]},
          {"SLenValue2", t[18]},
          {"SLenUnit", t[17]},
          {"ActSizeLbl1", T("IDC_ILABELXACTSIZE")},
          {"ActSizeValue1", t[15]},
          {"ActSizeValue2", t[19]},
          {"ActSizeUnit2", t[16]},
      };
      for (const auto& [field, text] : fields) frame.SetText(field, text);
      frame.SetPicture("Detail", "RampGrph", ramp.Path());
      frame.SetPicture("Detail", "RampGrph3", signature.Path());
    } catch (const std::exception& e) {
      WriteLog(std::string("Ramp comparison report incomplete: ") + e.what());
      try {
        reports::ShowToolBar(plot, true);
      } catch (const std::exception&) {
      }
      ::MessageBox(nullptr, "Report may not be generated due to some error.", "", MB_OK);
    }
    frame.SaveAndAskToPrint();
  });
}
