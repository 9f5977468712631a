// The report and printer engines as the report builders use them: by
// ProgID, through their interfaces, writing real PDF files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <optional>
#include <tuple>

#include "platform/activex/controls.h"
#include "platform/report/render.h"
#include "support/scoped_env.h"

namespace {

using namespace activex;

const std::string kFixture = TARNIX_REPORT_FIXTURE;

template <class I>
_com_ptr_t<I> Make(const char* progId) {
  IUnknownPtr control;
  EXPECT_EQ(control.CreateInstance(progId), S_OK) << progId;
  return _com_ptr_t<I>(control);
}

IReportXPtr Loaded(const char* name = "Sample") {
  IReportXPtr report = Make<IReportX>(kReportProgId);
  EXPECT_EQ(report->LoadDefinition(kFixture.c_str(), name), S_OK);
  return report;
}

HRESULT FindField(const IReportXPtr& report, const char* section, const char* field, IReportFieldPtr& out) {
  IReportSectionsPtr sections;
  IReportSectionPtr s;
  IReportFieldsPtr fields;
  HRESULT hr = report->get_Sections(&sections);
  if (SUCCEEDED(hr)) hr = sections->Item(section, &s);
  if (SUCCEEDED(hr)) hr = s->get_Fields(&fields);
  if (SUCCEEDED(hr)) hr = fields->Item(field, &out);
  return hr;
}

IReportFieldPtr F(const IReportXPtr& report, const char* section, const char* field) {
  IReportFieldPtr out;
  EXPECT_EQ(FindField(report, section, field, out), S_OK) << section << "." << field;
  return out;
}

IReportFieldsPtr FieldsOf(const IReportXPtr& report, const char* section) {
  IReportSectionsPtr sections;
  IReportSectionPtr s;
  IReportFieldsPtr fields;
  EXPECT_EQ(report->get_Sections(&sections), S_OK);
  EXPECT_EQ(sections->Item(section, &s), S_OK);
  EXPECT_EQ(s->get_Fields(&fields), S_OK);
  return fields;
}

std::vector<BYTE> PngBytes() {
  QImage image(600, 240, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x1F, 0x3A, 0x5F), 4));
  for (int x = 0; x < 600; x += 20) p.drawLine(x, 200 - x / 4, x + 20, 200 - (x + 20) / 4);
  p.setPen(QPen(Qt::red, 3));
  p.drawLine(0, 120, 600, 120);
  p.end();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  const QByteArray data = buffer.data();
  return std::vector<BYTE>(data.begin(), data.end());
}

std::string PdfText(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", path, "-"});
  EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) must be installed";
  return p.readAllStandardOutput().toStdString();
}

QStringList Entries(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot); }

// Fills the sample as a builder would, with enough run-time rows for two
// pages.
void Fill(const IReportXPtr& report) {
  ASSERT_EQ(F(report, "Page Footer", "PageLine")->put_Text(R"("Page " & [Page] & "/" & [Pages])"), S_OK);
  ASSERT_EQ(F(report, "Header", "TitleLbl")->put_Text("STEP TEST REPORT"), S_OK);
  ASSERT_EQ(F(report, "Header", "DeviceLine")->put_Text("Device tag: PV-101"), S_OK);
  ASSERT_EQ(F(report, "Header", "ActInfoLine")
                ->put_Text("Actuator --> Size: 70, Manufacturer: Acme & Sons, Type: Linear, Spring: Fail closed, "
                           "Fail position: Closed"),
            S_OK);
  ASSERT_EQ(F(report, "Detail", "SettingsLbl")->put_Text("Test settings"), S_OK);
  ASSERT_EQ(F(report, "Detail", "StartPosLbl")->put_Text("Start position"), S_OK);
  ASSERT_EQ(F(report, "Detail", "StartPosn")->put_Text("  42.50"), S_OK);
  const std::vector<BYTE> png = PngBytes();
  ASSERT_EQ(F(report, "Detail", "Graph")->put_Picture(_variant_t::FromBytes(png.data(), png.size())), S_OK);
  IReportFieldsPtr detail = FieldsOf(report, "Detail");
  for (int r = 1; r <= 40; ++r) {
    for (auto [left, width, text] : {std::tuple{150.0, 1305.0, std::string(r % 2 ? "ON" : "OFF")},
                                     std::tuple{1550.0, 1305.0, std::to_string(100 + r)},
                                     std::tuple{2950.0, 5670.0, "Event " + std::to_string(r)}}) {
      IReportFieldPtr added;
      ASSERT_EQ(detail->Add("", text.c_str(), left, 4600 + 300.0 * (r - 1), width, 285, &added), S_OK);
      ASSERT_EQ(added->put_DisplayStyle(6), S_OK);
    }
  }
}

TEST(ReportEngine, LoadsAReportByNameAndAFailedLoadLeavesNoneLoaded) {
  QTemporaryDir dir;
  const QString broken = dir.filePath("broken.xml");
  QFile f(broken);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<report-definitions><report name='Sample'>");
  f.close();
  struct Case {
    std::string path;
    const char* name;
    HRESULT hr;
    bool planned = false;  // the load fails as planned
  };
  const Case cases[] = {
      {kFixture, "Sample", S_OK},
      {kFixture, "Other", S_OK},
      {dir.filePath("missing.xml").toStdString(), "Sample", kReportFileNotFound},
      {kFixture, "New Report", DISP_E_BADINDEX},
      {kFixture, "sample", DISP_E_BADINDEX},
      {broken.toStdString(), "Sample", kReportBadDefinition},
      {kFixture, "Sample", E_FAIL, true},
  };
  IReportXPtr report = Make<IReportX>(kReportProgId);
  for (const Case& c : cases) {
    ASSERT_EQ(report->LoadDefinition(kFixture.c_str(), "Other"), S_OK);
    if (c.planned) IControlTestPtr(report)->FailPut("load", c.hr);
    EXPECT_EQ(report->LoadDefinition(c.path.c_str(), c.name), c.hr) << c.path << " " << c.name;
    IReportSectionsPtr sections;
    _bstr_t name;
    ASSERT_EQ(report->get_ReportName(&name), S_OK);
    if (SUCCEEDED(c.hr)) {
      EXPECT_EQ(report->get_Sections(&sections), S_OK);
      EXPECT_EQ(name.str(), c.name);
    } else {
      EXPECT_EQ(report->get_Sections(&sections), E_UNEXPECTED) << c.name;
      EXPECT_TRUE(name.is_null());
    }
  }
  ASSERT_EQ(report->Reset(), S_OK);
  IReportSectionsPtr sections;
  EXPECT_EQ(report->get_Sections(&sections), E_UNEXPECTED);
}

TEST(ReportEngine, FindsSectionsAndFieldsByTheirExactNames) {
  IReportXPtr report = Loaded();
  struct Case {
    const char* section;
    const char* field;
    HRESULT hr;
  };
  const Case cases[] = {
      {"Detail", "StartPosn", S_OK},
      {"Header", "TitleLbl", S_OK},
      {"Page Footer", "PageLine", S_OK},
      {"Page Header", "Company", S_OK},
      {"detail", "StartPosn", DISP_E_BADINDEX},
      {"Detail", "startposn", DISP_E_BADINDEX},
      {"Detail", "TitleLbl", DISP_E_BADINDEX},
      {"Page Footer", "PageLine1", DISP_E_BADINDEX},
  };
  for (const Case& c : cases) {
    IReportFieldPtr field;
    EXPECT_EQ(FindField(report, c.section, c.field, field), c.hr) << c.section << "." << c.field;
    if (c.hr == S_OK) {
      _bstr_t name;
      ASSERT_EQ(field->get_Name(&name), S_OK);
      EXPECT_EQ(name.str(), c.field);
    }
  }
}

TEST(ReportEngine, KeepsTextsAndPicturesAsSetAndJournalsThem) {
  QTemporaryDir dir;
  const std::vector<BYTE> png = PngBytes();
  const QString pngFile = dir.filePath("graph.png");
  const QString junkFile = dir.filePath("junk.png");
  {
    QFile out(pngFile);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<qint64>(png.size()));
    QFile junk(junkFile);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an image");
  }
  IReportXPtr report = Loaded();
  IControlTestPtr test(report);
  test->ClearJournal();
  IReportFieldPtr posn = F(report, "Detail", "StartPosn"), graph = F(report, "Detail", "Graph");

  ASSERT_EQ(posn->put_Text("  42.50"), S_OK);
  _bstr_t text;
  ASSERT_EQ(posn->get_Text(&text), S_OK);
  EXPECT_EQ(text.str(), "  42.50");
  ASSERT_EQ(graph->put_Picture(_variant_t::FromBytes(png.data(), png.size())), S_OK);
  _variant_t back;
  ASSERT_EQ(graph->get_Picture(&back), S_OK);
  EXPECT_EQ(back.Bytes(), png);
  ASSERT_EQ(graph->put_Picture(_variant_t(_bstr_t(pngFile.toStdString()))), S_OK);
  ASSERT_EQ(graph->get_Picture(&back), S_OK);
  EXPECT_EQ(back.Bytes(), png);

  struct Refusal {
    const char* what;
    std::function<HRESULT()> call;
    HRESULT hr;
  };
  const std::vector<BYTE> notImage = {1, 2, 3};
  const Refusal refusals[] = {
      {"text into a picture", [&] { return graph->put_Text("x"); }, DISP_E_TYPEMISMATCH},
      {"picture into a text", [&] { return posn->put_Picture(_variant_t::FromBytes(png.data(), png.size())); },
       DISP_E_TYPEMISMATCH},
      {"missing file", [&] { return graph->put_Picture(_variant_t(dir.filePath("none.png").toStdString().c_str())); },
       kReportFileNotFound},
      {"file not an image", [&] { return graph->put_Picture(_variant_t(junkFile.toStdString().c_str())); },
       E_INVALIDARG},
      {"bytes not an image", [&] { return graph->put_Picture(_variant_t::FromBytes(notImage.data(), 3)); },
       E_INVALIDARG},
      {"a number", [&] { return graph->put_Picture(_variant_t(LONG{7})); }, DISP_E_TYPEMISMATCH},
  };
  for (const Refusal& r : refusals) EXPECT_EQ(r.call(), r.hr) << r.what;
  test->FailPut("text[Detail.StartPosn]", E_FAIL);
  EXPECT_EQ(posn->put_Text("99"), E_FAIL);
  ASSERT_EQ(posn->get_Text(&text), S_OK);
  EXPECT_EQ(text.str(), "  42.50");
  ASSERT_EQ(graph->get_Picture(&back), S_OK);
  EXPECT_EQ(back.Bytes(), png);

  const std::vector<std::string> journal = test->Journal();
  ASSERT_EQ(journal.size(), 10u);
  EXPECT_EQ(journal[0], "text[Detail.StartPosn]=  42.50");
  EXPECT_EQ(journal[1], "picture[Detail.Graph]=" + std::to_string(png.size()) + " bytes");
  EXPECT_EQ(journal[2], "picture[Detail.Graph]=" + pngFile.toStdString());
  EXPECT_EQ(journal[3], "text[Detail.Graph]=x failed 0x80020005");
  EXPECT_EQ(journal[9], "text[Detail.StartPosn]=99 failed 0x80004005");
}

TEST(ReportEngine, FieldsAddedAtRunTimeGoWithTheNextLoad) {
  IReportXPtr report = Loaded();
  IReportFieldsPtr detail = FieldsOf(report, "Detail");
  LONG before = 0, after = 0;
  ASSERT_EQ(detail->get_Count(&before), S_OK);
  IReportFieldPtr added;
  ASSERT_EQ(detail->Add("", "ON", 150, 4500, 1305, 285, &added), S_OK);
  ASSERT_EQ(added->put_DisplayStyle(6), S_OK);
  double box[4] = {};
  ASSERT_EQ(added->GetBox(&box[0], &box[1], &box[2], &box[3]), S_OK);
  EXPECT_EQ(std::vector<double>(box, box + 4), (std::vector<double>{150, 4500, 1305, 285}));
  LONG style = 0;
  ASSERT_EQ(added->get_DisplayStyle(&style), S_OK);
  EXPECT_EQ(style, 6);
  ASSERT_EQ(detail->get_Count(&after), S_OK);
  EXPECT_EQ(after, before + 1);
  IReportFieldPtr refused;
  EXPECT_EQ(detail->Add("", "", 0, 0, -1, 285, &refused), E_INVALIDARG);
  EXPECT_EQ(IControlTestPtr(report)->Journal().back(), "add[Detail]=,,0,0,-1,285 failed 0x80070057");

  ASSERT_EQ(report->LoadDefinition(kFixture.c_str(), "Sample"), S_OK);
  ASSERT_EQ(FieldsOf(report, "Detail")->get_Count(&after), S_OK);
  EXPECT_EQ(after, before);
  EXPECT_EQ(added->put_Text("still safe"), S_OK);  // fills the dropped report only
}

TEST(ReportPdf, WritesTheWholeReportWithPageNumbersToTheFullPath) {
  QTemporaryDir dir;
  IReportXPtr report = Loaded();
  Fill(report);
  LONG pages = 0;
  ASSERT_EQ(report->get_PageCount(&pages), S_OK);
  EXPECT_EQ(pages, 2);
  const QString pdf = dir.filePath("PV-101_StepTestReport_2026_12_8_7h_5m.pdf");
  ASSERT_EQ(report->RenderToFile(pdf.toStdString().c_str(), kReportFormatPdf), S_OK);
  EXPECT_EQ(Entries(dir.path()), QStringList{QFileInfo(pdf).fileName()});  // no temporary left
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5).startsWith("%PDF-"));

  const std::string text = PdfText(pdf);
  for (const char* shown : {"Page 1/2", "Page 2/2", "STEP TEST REPORT", "Device tag: PV-101", "Acme & Sons", "42.50",
                            "Tarnix positioner", "Event 1", "Event 40", "%"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " not in:\n" << text;
  EXPECT_LT(text.find("Event 1\n"), text.find("Page 1/2"));
  EXPECT_LT(text.find("Page 1/2"), text.find("Event 40"));

  const QString screens = QStringLiteral(TARNIX_BUILD_DIR "/screens/reports");
  ASSERT_TRUE(QDir().mkpath(screens));
  QProcess ppm;
  ppm.start("pdftoppm", {"-png", "-r", "80", pdf, screens + "/sample"});
  ASSERT_TRUE(ppm.waitForFinished(30000));
  EXPECT_EQ(ppm.exitCode(), 0);
  EXPECT_TRUE(QFile::exists(screens + "/sample-1.png"));
  EXPECT_TRUE(QFile::exists(screens + "/sample-2.png"));
}

TEST(ReportPdf, PagesHaveTheDefinitionsPaperAndOrientation) {
  QTemporaryDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"Sample", "Page size:       612 x 792 pts (letter)"},
      {"Other", "Page size:       842 x 595 pts (A4)"},
  };
  for (const auto& [name, size] : cases) {
    const QString pdf = dir.filePath(QString(name) + ".pdf");
    ASSERT_EQ(Loaded(name)->RenderToFile(pdf.toStdString().c_str(), kReportFormatPdf), S_OK);
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const std::string text = info.readAllStandardOutput().toStdString();
    EXPECT_NE(text.find(size), std::string::npos) << name << ":\n" << text;
  }
}

// What painting would cut: a text longer than its line, more lines than a
// wrapping box holds, or a word wider than the box.
TEST(ReportPdf, ATextFitsOnItsLineOrInTheLinesOfAWrappingBox) {
  const struct {
    const char* text;
    double width, height;
    bool wrap, fits;
  } cases[] = {
      {"Result:", 2300, 300, false, true},
      {"", 10, 10, false, true},
      {"Failed: target not reached within the time limit", 2300, 300, false, false},
      {"Failed: target not reached within the time limit", 2300, 900, true, true},
      {"Failed: target not reached within the time limit", 2300, 300, true, false},
      {"Positionssensorverbindungsfehler", 1500, 2000, true, false},
  };
  for (const auto& c : cases) {
    report::Field f;
    f.font.name = "DejaVu Sans";
    f.text = c.text;
    f.width = c.width;
    f.height = c.height;
    f.wrap = c.wrap;
    EXPECT_EQ(report::TextFits(f), c.fits) << c.text << " in " << c.width << " x " << c.height;
  }
}

TEST(ReportPdf, AFailedRenderLeavesNothingBehind) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath("a-file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  struct Case {
    const char* what;
    QString target;
    LONG format;
    const char* planned;  // a planned failure of this journal label
    HRESULT hr;
  };
  const Case cases[] = {
      {"folder missing", dir.filePath("no/such/folder/r.pdf"), kReportFormatPdf, nullptr, E_ACCESSDENIED},
      {"folder is a file", dir.filePath("a-file/r.pdf"), kReportFormatPdf, nullptr, E_ACCESSDENIED},
      {"not PDF", dir.filePath("r.pdf"), 3, nullptr, E_INVALIDARG},
      {"render fails", dir.filePath("r.pdf"), kReportFormatPdf, "render", E_FAIL},
  };
  IReportXPtr report = Loaded();
  Fill(report);
  for (const Case& c : cases) {
    if (c.planned) IControlTestPtr(report)->FailPut(c.planned, E_FAIL);
    EXPECT_EQ(report->RenderToFile(c.target.toStdString().c_str(), c.format), c.hr) << c.what;
    EXPECT_FALSE(QFile::exists(c.target)) << c.what;
    EXPECT_EQ(Entries(dir.path()), QStringList{"a-file"}) << c.what;
  }
  IReportXPtr empty = Make<IReportX>(kReportProgId);
  EXPECT_EQ(empty->RenderToFile(dir.filePath("r.pdf").toStdString().c_str(), kReportFormatPdf), E_UNEXPECTED);

  // A file already there stays as it was.
  QFile old(dir.filePath("r.pdf"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  IControlTestPtr(report)->FailPut("render", E_FAIL);
  EXPECT_EQ(report->RenderToFile(old.fileName().toStdString().c_str(), kReportFormatPdf), E_FAIL);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old"));
  EXPECT_EQ(Entries(dir.path()), (QStringList{"a-file", "r.pdf"}));
}

using testsupport::ScopedEnv;

TEST(PrintEngine, PrintsIntoTheSinkFolderAsPdf) {
  QTemporaryDir dir;
  const QString set = dir.filePath("set"), fromEnv = dir.filePath("env");
  ScopedEnv env("TARNIX_PRINT_SINK", fromEnv.toStdString());
  IReportXPtr report = Loaded();
  Fill(report);
  IPrinterXPtr printer = Make<IPrinterX>(kPrinterProgId);
  ASSERT_EQ(report->RenderToPrinter(printer), S_OK);
  LONG pages = 0;
  ASSERT_EQ(printer->get_PageCount(&pages), S_OK);
  EXPECT_EQ(pages, 2);

  // The environment's folder, then a folder set on the control.
  ASSERT_EQ(printer->PrintDoc(), S_OK);
  ASSERT_EQ(printer->put_PrintSink(set.toStdString().c_str()), S_OK);
  ASSERT_EQ(printer->PrintDoc(), S_OK);
  ASSERT_EQ(printer->PrintDoc(), S_OK);
  EXPECT_EQ(Entries(fromEnv), QStringList{"print-1.pdf"});
  EXPECT_EQ(Entries(set), (QStringList{"print-1.pdf", "print-2.pdf"}));
  _bstr_t last;
  ASSERT_EQ(printer->get_LastPrintFile(&last), S_OK);
  EXPECT_EQ(last.str(), (set + "/print-2.pdf").toStdString());
  const std::string text = PdfText(set + "/print-2.pdf");
  EXPECT_NE(text.find("Page 2/2"), std::string::npos) << text;
  EXPECT_NE(text.find("STEP TEST REPORT"), std::string::npos) << text;

  // A new load does not change what the printer holds.
  ASSERT_EQ(report->LoadDefinition(kFixture.c_str(), "Other"), S_OK);
  ASSERT_EQ(printer->get_PageCount(&pages), S_OK);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(IControlTestPtr(printer)->Journal(),
            (std::vector<std::string>{"print", "sink=" + set.toStdString(), "print", "print"}));
  EXPECT_EQ(IControlTestPtr(report)->Journal().back(), "load=" + kFixture + ",Other");
}

TEST(PrintEngine, RefusesWhatCannotBePrinted) {
  ScopedEnv env("TARNIX_PRINT_SINK", std::nullopt);
  IReportXPtr report = Loaded(), notLoaded = Make<IReportX>(kReportProgId);
  IPrinterXPtr printer = Make<IPrinterX>(kPrinterProgId);
  EXPECT_EQ(printer->PrintDoc(), E_UNEXPECTED);  // nothing rendered into it
  EXPECT_EQ(report->RenderToPrinter(nullptr), E_POINTER);
  EXPECT_EQ(report->RenderToPrinter(notLoaded), E_NOINTERFACE);
  EXPECT_EQ(notLoaded->RenderToPrinter(printer), E_UNEXPECTED);
  ASSERT_EQ(report->RenderToPrinter(printer), S_OK);
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  EXPECT_EQ(printer->PrintDoc(), kPrinterNotFound);
  EXPECT_EQ(IControlTestPtr(printer)->Journal(),
            (std::vector<std::string>{"print failed 0x8000FFFF", "print failed 0x80070709"}));
}

}  // namespace
