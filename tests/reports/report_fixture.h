#pragma once
// What every report test needs: the engines, a scripted person, a fixed
// clock, a language table, and the shipped definitions in a folder of the
// test's own (the step report writes its picture beside its definition).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "reports/common_functions.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"

// Fields of the loaded report and the text each should hold.
using Expected = std::vector<std::pair<const char*, std::string>>;

class ReportTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The real language file, or one that holds no text at all, so that every
  // label reads "##" + its key, or one with only the texts given.
  void UseEnglish();
  // The language every test starts in and the pictures are taken in: the
  // one whose code TARNIX_REPORTS_LANGUAGE names ("de"), English without it.
  static std::string PicturedLanguage();
  static bool InEnglish() { return PicturedLanguage() == "en"; }
  void UseNoTexts();
  void UseTexts(const std::vector<std::pair<std::string, std::string>>& texts);

  std::string Definition(const char* file) const;  // full path in the test folder
  // Rewrites a definition in the test folder: `from` becomes `to`.
  void EditDefinition(const char* file, const std::string& from, const std::string& to) const;

  std::string FieldText(const char* section, const char* field) const;
  void ExpectFields(const Expected& expected, const char* section = "Detail") const;
  // The picture a Detail field holds: PNG bytes read in when it was set.
  _variant_t Picture(const char* field) const;
  // Files the print sink received.
  int Printed() const;
  std::string Folder() const { return m_dir.path().toStdString(); }

  // A step plot with the four traces and a little data.
  IiXYPlotXPtr StepPlot() const;
  // The ramp test plot as the page lays it out, holding a ramp from 0 to
  // 100 % (and back when bi-directional) followed by a lagging valve.
  IiXYPlotXPtr RampPlot(bool bidirectional);
  // The partial stroke plot as the page lays it out, holding a stroke from
  // 100 % to 80 % and back by a valve that breaks away late.
  IiPlotXPtr PSTPlot();
  // The HDRL plot as the page lays it out, holding a run of the 25 stairs
  // of a valve with dead band and a slight bow, settled after 3 s each.
  IiXYPlotXPtr HDRLPlot();
  // The data monitor plot as the page lays it out, holding ten minutes at
  // 10 s of a valve following a slow sine, the temperature in °C.
  IiPlotXPtr DataMonitorPlot();

  static std::string Title(IPlotBase* plot);
  static bool Shown(IiXYPlotX* plot, const char* channel);
  static bool ToolBarShown(IPlotBase* plot);

  // The fields of the loaded report whose text painting cuts, as
  // "section.field: text"; the texts as set, the boxes as defined.
  std::vector<std::string> CutTexts() const;

  static std::string PdfText(const std::string& path);
  // Each line somewhere in a PDF's text; looked for only in English, the
  // language the lines are written in.
  static void ExpectShown(const std::string& text, const std::vector<std::string>& lines);
  // PNGs of the PDF's pages in build/screens/reports/<stem>-<n>.png, or in
  // reports/<language>/ for another language. The PDF shows no "##", and
  // no text of the loaded report is cut.
  void Screens(const std::string& pdf, const std::string& stem) const;

  QTemporaryDir m_dir;
  int m_textFiles = 0;
  plat::ManualClock m_clock{{2026, 3, 5, 7, 4, 30, 0}};
  std::unique_ptr<plat::ScopedTimeSource> m_time;
  std::unique_ptr<plat::ScriptedPerson> m_person;
  IReportXPtr m_report;
  IPrinterXPtr m_printer;
  CCommonFunctions m_common;
};
