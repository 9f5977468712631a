#include "report_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/report/definition.h"
#include "platform/report/render.h"
#include "support/language_table.h"
#include "support/report_probe.h"

namespace {

const QString kSource = TARNIX_SOURCE_DIR;
const QString kBuild = TARNIX_BUILD_DIR;

}  // namespace

void ReportTest::SetUp() {
  ASSERT_TRUE(m_dir.isValid());
  m_time = std::make_unique<plat::ScopedTimeSource>(m_clock);
  m_person = std::make_unique<plat::ScriptedPerson>([](const std::string& what) { ADD_FAILURE() << what; });
  for (const char* file :
       {"ActStrokeFricCalRept.xml", "AnaInputCalRept.xml", "StepTestRept.xml", "RampTestRept.xml", "PSTestRept.xml",
        "HDRLTestRept.xml", "DataMonReport.xml", "AlarmReport2.xml", "AlarmMGMTReport2.xml", "AlarmStatReport.xml",
        "AllTestReport.xml", "HDRLTestCmpRept.xml"})
    ASSERT_TRUE(QFile::copy(kSource + "/resources/Dependencies/" + file, m_dir.filePath(file))) << file;
  IUnknownPtr report, printer;
  ASSERT_EQ(report.CreateInstance(activex::kReportProgId), S_OK);
  ASSERT_EQ(printer.CreateInstance(activex::kPrinterProgId), S_OK);
  m_report = IReportXPtr(report);
  m_printer = IPrinterXPtr(printer);
  QDir(m_dir.path()).mkdir("printed");
  ASSERT_EQ(m_printer->put_PrintSink(m_dir.filePath("printed").toStdString().c_str()), S_OK);
  if (InEnglish()) {
    UseEnglish();
  } else {
    QFile file(kSource + "/resources/Dependencies/Language.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch id =
        QRegularExpression(QString("<language lcid=\"([0-9]+)\" code=\"%1\"").arg(PicturedLanguage().c_str()))
            .match(QString::fromUtf8(file.readAll()));
    ASSERT_TRUE(id.hasMatch()) << "no language " << PicturedLanguage();
    TheLanguageTable().Load(file.fileName().toStdString(), id.captured(1).toStdString(), false);
  }
}

void ReportTest::TearDown() {
  m_person.reset();  // leftover answers fail the test here
  m_time.reset();
}

void ReportTest::UseEnglish() {
  TheLanguageTable().Load((kSource + "/resources/Dependencies/Language.xml").toStdString(), "1033", false);
}

std::string ReportTest::PicturedLanguage() {
  const char* code = std::getenv("TARNIX_REPORTS_LANGUAGE");
  return code && *code ? code : "en";
}

void ReportTest::UseNoTexts() { UseTexts({}); }

void ReportTest::UseTexts(const std::vector<std::pair<std::string, std::string>>& texts) {
  QString body;
  for (const auto& [key, text] : texts)
    body += QString("<text key=\"%1\"><locale code=\"en\">%2</locale></text>")
                .arg(QString::fromStdString(key).toHtmlEscaped(), QString::fromStdString(text).toHtmlEscaped());
  // A new name each time: the table skips a file it has loaded already.
  const QString path = m_dir.filePath(QString("Texts%1.xml").arg(++m_textFiles));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<languagefile><languages>"
      "<language lcid=\"1033\" code=\"en\" name=\"English\"/></languages>"
      "<text key=\"Unused\"><locale code=\"en\">unused</locale></text>");
  file.write(body.toUtf8());
  file.write("</languagefile>\n");
  file.close();
  TheLanguageTable().Load(path.toStdString(), "1033", false);
}

std::string ReportTest::Definition(const char* file) const { return m_dir.filePath(file).toStdString(); }

void ReportTest::EditDefinition(const char* name, const std::string& from, const std::string& to) const {
  QFile file(m_dir.filePath(name));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray text = file.readAll();
  file.close();
  ASSERT_TRUE(text.contains(from.c_str())) << from;
  text.replace(from.c_str(), to.c_str());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

std::string ReportTest::FieldText(const char* section, const char* field) const {
  return ReportFieldText(m_report, section, field);
}

void ReportTest::ExpectFields(const Expected& expected, const char* section) const {
  for (const auto& [field, text] : expected) EXPECT_EQ(FieldText(section, field), text) << field;
}

_variant_t ReportTest::Picture(const char* field) const {
  activex::IReportSectionsPtr sections;
  activex::IReportSectionPtr detail;
  activex::IReportFieldsPtr fields;
  activex::IReportFieldPtr f;
  _variant_t picture;
  if (SUCCEEDED(m_report->get_Sections(&sections)) && SUCCEEDED(sections->Item("Detail", &detail)) &&
      SUCCEEDED(detail->get_Fields(&fields)) && SUCCEEDED(fields->Item(field, &f)))
    f->get_Picture(&picture);
  return picture;
}

int ReportTest::Printed() const {
  return static_cast<int>(QDir(m_dir.filePath("printed")).entryList(QDir::Files).size());
}

IiXYPlotXPtr ReportTest::StepPlot() const {
  IUnknownPtr unknown;
  EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
  IiXYPlotXPtr plot(unknown);
  EXPECT_EQ(plot->RemoveAllChannels(), S_OK);
  IiPlotAxisPtr axis;
  EXPECT_EQ(plot->GetXAxis(0, &axis), S_OK);
  axis->SetName("StepX");
  axis->SetMin(0);
  axis->SetSpan(20);
  axis->SetVisible(0);
  EXPECT_EQ(plot->GetYAxis(0, &axis), S_OK);
  axis->SetName("StepPerc");
  axis->SetMin(-5);
  axis->SetSpan(110);
  axis->SetVisible(0);
  const char* names[] = {"Position", "Command", "ILCmd", "ILPos"};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(plot->AddChannel(nullptr), S_OK);
    IDispatchPtr d;
    EXPECT_EQ(plot->GetChannel(c, &d), S_OK);
    IiXYPlotChannelPtr channel(d);
    channel->SetName(names[c]);
    channel->SetTitle(names[c]);
    channel->SetVisible(0);
    channel->SetXAxisName("StepX");
    channel->SetYAxisName("StepPerc");
    for (int i = 0; i <= 200; ++i) {
      const double t = i * 0.1;
      const double command = t < 10 ? 25 : 75;
      const double lag = 1 - std::exp(-(t < 10 ? t : t - 10) * (1.5 + c * 0.4));
      const double from = t < 10 ? 20 : 25;
      channel->AddXY(t, c == 1 ? command : from + (command - from) * lag - c, nullptr);
    }
  }
  return plot;
}

IiXYPlotXPtr ReportTest::RampPlot(bool bidirectional) {
  IUnknownPtr unknown;
  EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
  IiXYPlotXPtr plot(unknown);
  m_common.SetupRampPlot(plot);
  m_common.SetupRampTestChannels(plot);
  auto channel = [&](const char* name) { return m_common.GetXYPlotChannelByName(plot, name); };
  // Hold, ramp for a minute, hold, and the ramp back; sampled four times a second.
  constexpr double kHold = 5, kRamp = 60, kStep = 0.25;
  const double end = bidirectional ? 2 * (kHold + kRamp) : kHold + kRamp + kHold;
  double position = 0, relayCommand = 50, relayPosition = 50;
  for (double t = 0; t <= end + 1e-9; t += kStep) {
    const double up = std::clamp((t - kHold) / kRamp, 0.0, 1.0);
    const double down = std::clamp((t - 2 * kHold - kRamp) / kRamp, 0.0, 1.0);
    const double command = 100 * (up - down);
    // The pilot relay drives the actuator; the valve follows with friction.
    relayCommand = std::clamp(50 + 4 * (command - position), 0.0, 100.0);
    relayPosition += (relayCommand - relayPosition) * kStep / 0.4;
    const double pull = (relayPosition - 50) / 50;
    if (std::fabs(pull) > 0.03) position = std::clamp(position + 12 * pull * kStep, 0.0, 100.0);
    channel("Command")->AddXY(t, command, nullptr);
    channel("Position")->AddXY(t, position, nullptr);
    channel("ILCmd")->AddXY(t, relayCommand, nullptr);
    channel("ILPos")->AddXY(t, relayPosition, nullptr);
    const bool opening = t >= kHold && t <= kHold + kRamp;
    const bool closing = t >= 2 * kHold + kRamp;
    if (opening || closing) {
      channel(opening ? "PosnvCmdOpen" : "PosnvCmdClose")->AddXY(command, position, nullptr);
      channel(opening ? "ILCmdvCmdOpen" : "ILCmdvCmdClose")->AddXY(command, relayCommand, nullptr);
      channel(opening ? "ILPosnvCmdOpen" : "ILPosnvCmdClose")->AddXY(command, relayPosition, nullptr);
    }
  }
  IiPlotAxisPtr axis;
  EXPECT_EQ(plot->GetXAxisByName("RampX", &axis), S_OK);
  axis->SetSpan(end);
  return plot;
}

IiPlotXPtr ReportTest::PSTPlot() {
  IUnknownPtr unknown;
  EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iPlotX"), S_OK);
  IiPlotXPtr plot(unknown);
  m_common.SetupPSTPlot(plot);
  m_common.SetupPSTChannels(plot);
  auto channel = [&](const char* name) { return m_common.GetPlotChannelByName(plot, name); };
  // Hold 1 s, ramp 2 s down to 80 %, hold 2 s, ramp back; every 50 ms.
  constexpr double kStep = 50;
  double position = 100, relayPosition = 50;
  for (double t = 0; t <= 8000; t += kStep) {
    const double down = std::clamp((t - 1000) / 2000, 0.0, 1.0);
    const double up = std::clamp((t - 5000) / 2000, 0.0, 1.0);
    const double command = 100 - 20 * (down - up);
    const double relayCommand = std::clamp(50 + 5 * (command - position), 0.0, 100.0);
    relayPosition += (relayCommand - relayPosition) * kStep / 300;
    const double pull = (relayPosition - 50) / 50;
    // Friction holds the valve until the relay pulls hard enough.
    if (std::fabs(pull) > 0.15) position = std::clamp(position + 0.9 * pull * kStep / 100, 0.0, 100.0);
    channel("Command")->AddXY(t, command, nullptr);
    channel("Position")->AddXY(t, position, nullptr);
    channel("ILCmd")->AddXY(t, relayCommand, nullptr);
    channel("ILPos")->AddXY(t, relayPosition, nullptr);
  }
  return plot;
}

IiPlotXPtr ReportTest::DataMonitorPlot() {
  IUnknownPtr unknown;
  EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iPlotX"), S_OK);
  IiPlotXPtr plot(unknown);
  m_common.SetupDataLoggerPlot(plot);
  m_common.SetupDataLoggerChannels(plot);
  auto channel = [&](const char* name) { return m_common.GetPlotChannelByName(plot, name); };
  double position = 50;
  for (double t = 10; t <= 600; t += 10) {
    const double input = 50 + 25 * std::sin(2 * 3.14159265358979 * t / 300);
    position += (input - position) * 0.8;
    channel("Command")->AddXY(t, input, nullptr);
    channel("Position")->AddXY(t, position, nullptr);
    channel("AnalogCommand")->AddXY(t, input, nullptr);
    channel("Temperature")->AddXY(t, 35 + 4 * std::sin(2 * 3.14159265358979 * t / 300), nullptr);
    channel("Spool_CMD")->AddXY(t, 50 + 4 * (input - position), nullptr);
    channel("Spool_Pos")->AddXY(t, 50 + 3.5 * (input - position), nullptr);
  }
  IiPlotAxisPtr time;
  plot->GetXAxisByName("TAxis", &time);
  time->SetSpan(600);
  return plot;
}

IiXYPlotXPtr ReportTest::HDRLPlot() {
  IUnknownPtr unknown;
  EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
  IiXYPlotXPtr plot(unknown);
  m_common.SetupHDRLPlots(plot);
  m_common.SetupHDRLChannels(plot);
  auto channel = [&](const char* name) { return m_common.GetXYPlotChannelByName(plot, name); };
  constexpr double kStairs[25] = {0,  10, 30, 50, 70, 90,  100, 90, 70, 50, 30, 10, 0,
                                  10, 30, 50, 70, 90, 100, 90,  70, 50, 30, 10, 0};
  constexpr double kSettle = 3, kDeadBand = 0.6;
  const char* branches[4] = {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"};
  double sum[5] = {};
  for (int k = 0; k < 25; ++k) {
    const double command = kStairs[k];
    const bool rising = k == 0 || kStairs[k] > kStairs[k - 1];
    // Behind the command by half the dead band, a little bow, and the second cycle a shade off the first.
    const double bow = 0.4 * std::sin(command / 100 * 3.14159265);
    const double error = (rising ? -kDeadBand : kDeadBand) / 2 + bow + (k > 12 ? 0.05 : 0);
    const double position = std::clamp(command + error, 0.0, 100.0);
    for (const double t : {k * kSettle, (k + 1) * kSettle}) {
      channel("Command")->AddXY(t, command, nullptr);
      channel("Position")->AddXY(t, position, nullptr);
    }
    if (command > 0 && command < 100) {
      const int branch = (k < 12 ? 0 : 2) + (rising ? 0 : 1);
      channel(branches[branch])->AddXY(command, position - command, nullptr);
      sum[static_cast<int>(command) / 20] += (position - command) / 4;
    }
  }
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (int i = 0; i < 5; ++i) {
    const double x = 10 + 20 * i;
    channel("AverageError")->AddXY(x, sum[i], nullptr);
    sx += x, sy += sum[i], sxx += x * x, sxy += x * sum[i];
  }
  const double a = (5 * sxy - sx * sy) / (5 * sxx - sx * sx), b = (sy - a * sx) / 5;
  for (int i = 0; i < 5; ++i) channel("LeastSquareLine")->AddXY(10 + 20 * i, a * (10 + 20 * i) + b, nullptr);
  IiPlotAxisPtr axis;
  EXPECT_EQ(plot->GetXAxisByName("Time", &axis), S_OK);
  axis->SetSpan(25 * kSettle);
  EXPECT_EQ(plot->GetYAxisByName("PositionError", &axis), S_OK);
  axis->SetMin(-1);
  axis->SetSpan(2);
  return plot;
}

std::string ReportTest::Title(IPlotBase* plot) {
  _bstr_t title;
  EXPECT_EQ(plot->GetTitle(&title), S_OK);
  return title.str();
}

bool ReportTest::Shown(IiXYPlotX* plot, const char* channel) {
  IDispatchPtr d;
  VARIANT_BOOL visible = 0;
  if (plot->GetChannelByName(channel, &d) == S_OK) IiXYPlotChannelPtr(d)->GetVisible(&visible);
  return visible != 0;
}

bool ReportTest::ToolBarShown(IPlotBase* plot) {
  IiPlotToolBarPtr toolBar;
  VARIANT_BOOL shown = 0;
  if (plot->GetToolBar(0, &toolBar) == S_OK) toolBar->GetVisible(&shown);
  return shown != 0;
}

std::vector<std::string> ReportTest::CutTexts() const {
  _bstr_t name;
  if (FAILED(m_report->get_ReportName(&name))) return {"no report loaded"};
  for (const QString& file : QDir(m_dir.path()).entryList({"*.xml"}, QDir::Files)) {
    const report::LoadResult loaded = report::LoadDefinition(m_dir.filePath(file).toStdString(), name.str());
    if (!loaded.report) continue;
    std::vector<std::string> cut;
    for (const report::Section& section : loaded.report->sections)
      for (report::Field f : section.fields) {
        if (f.type != report::FieldType::Text) continue;
        if (!f.name.empty()) f.text = FieldText(section.name.c_str(), f.name.c_str());
        if (!report::TextFits(f)) cut.push_back(section.name + "." + f.name + ": " + f.text);
      }
    return cut;
  }
  return {"no definition of " + name.str()};
}

std::string ReportTest::PdfText(const std::string& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", QString::fromStdString(path), "-"});
  EXPECT_TRUE(p.waitForFinished(30000));
  return p.readAllStandardOutput().toStdString();
}

void ReportTest::ExpectShown(const std::string& text, const std::vector<std::string>& lines) {
  if (!InEnglish()) return;
  for (const std::string& line : lines) EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

void ReportTest::Screens(const std::string& pdf, const std::string& stem) const {
  EXPECT_EQ(PdfText(pdf).find("##"), std::string::npos) << stem;
  EXPECT_EQ(CutTexts(), std::vector<std::string>{}) << stem;
  QString folder = kBuild + "/screens/reports";
  if (!InEnglish()) folder += "/" + QString::fromStdString(PicturedLanguage());
  QDir().mkpath(folder);
  QProcess p;
  p.start("pdftoppm", {"-png", "-r", "80", QString::fromStdString(pdf), folder + "/" + QString::fromStdString(stem)});
  EXPECT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0);
}
