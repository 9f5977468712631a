// Every text that the test and calibration pages show in their one-line
// status field, in every language of the language file, measured with the
// field's own font against the room the field gives its text at the page's
// normal size. A sentence too long for the field shows a short form, and
// the field's tip gives the whole sentence while it shows.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "page_fixture.h"
#include "support/language_table.h"
#include "views/config/sensor_calibration.h"

namespace {

// The languages of the language file, by the locale id start-up loads.
struct Language {
  const char* code;
  const char* lcid;
};
constexpr Language kLanguages[] = {{"en", "1033"}, {"de", "1031"}, {"es", "3082"}, {"fr", "1036"},
                                   {"it", "1040"}, {"pt", "1046"}, {"tr", "1055"}};

// What the run that the ramp, step and partial stroke pages share says.
const std::vector<const char*> kRecordedTestKeys = {
    "IDC_CHECKMGTINIT",        "VeskPSTAcquiringDataPoint", "EDT_ALM_COM6",
    "VeskTEST_COMPLETE",       "TESTDATA_INCOMPLETE",       "TEST_LINK_LOST",
    "STATUSABORTED",           "STATUSABORTED_UNCONFIRMED", "TEST_START_UNCONFIRMED",
    "TESTNOTSTARTED",          "TEST_DOWNLOAD_STOPPED",     "TEST_START_CANCELLED",
    "TEST_RETRIEVAL_STOPPED",  "IDC_OFF_LINE_DATA",         "IDC_LABEL_BASELINE_DATA",
};

// The stroke calibration's state field: the device's calibration states,
// the page's own waiting text and the results.
std::vector<const char*> SensorCalibrationKeys() {
  std::vector<const char*> keys = {"STROKECAL_END_UNREAD", "SUCCESSCAL", "CALERRMSG"};
  for (int state = 0; state <= 0xFF; ++state)
    if (const char* key = CWexletCoreCommunication::CalibStateTextKey(static_cast<BYTE>(state))) keys.push_back(key);
  return keys;
}

// A page with its status setter in reach.
template <class View>
class Probe : public View {
 public:
  void Show(const char* key) { this->SetStatus(key); }
};
class SensorProbe : public CCalibration_SensorCalibView {
 public:
  void Show(const char* key) { ShowStatus(kStateTextId, key); }
};

struct PageCase {
  const char* name;
  std::function<CStepPage*()> make;
  int field;
  std::vector<const char*> keys;
  std::function<void(CStepPage&, const char*)> show;
};

template <class P>
PageCase Page(const char* name, int field, std::vector<const char*> keys) {
  return {name, [] { return new P; }, field, std::move(keys),
          [](CStepPage& page, const char* key) { static_cast<P&>(page).Show(key); }};
}

const std::vector<PageCase>& Pages() {
  static const std::vector<PageCase> pages = {
      Page<Probe<CDiagnostics_RampTestView>>("ramp", CDiagnostics_RampTestView::kStatusId, kRecordedTestKeys),
      Page<Probe<CDiagnostics_StepTestView>>("step", CDiagnostics_StepTestView::kStatusId, kRecordedTestKeys),
      Page<Probe<CDiagnostics_PSTView>>("partial stroke", CDiagnostics_PSTView::kStatusId, kRecordedTestKeys),
      Page<SensorProbe>("sensor calibration", CCalibration_SensorCalibView::kStateTextId, SensorCalibrationKeys()),
  };
  return pages;
}

// The width a one-line edit gives its text, laid out as QLineEdit paints.
int TextRoom(const QLineEdit& edit) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.rect = edit.contentsRect();
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  if (edit.isReadOnly()) option.state |= QStyle::State_ReadOnly;
  option.features = QStyleOptionFrame::None;
  const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
  constexpr int kInnerMargin = 2;  // QLineEdit's own, either side
  const QMargins margins = edit.textMargins();
  return contents.width() - margins.left() - margins.right() - 2 * kInnerMargin;
}

class StatusFit : public testpages::SimulatedPage {
 public:
  void TearDown() override {
    testpages::LoadEnglish();
    SimulatedPage::TearDown();
  }
  CStepPage* Build(const PageCase& c) {
    CStepPage* page = c.make();
    if (!page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 0)) return nullptr;
    page->SendInitialUpdate();
    return page;
  }
  std::string Tip(CStepPage& page, int field) { return page.GetToolTips().GetToolText(page.GetDlgItem(field)); }
};

TEST_F(StatusFit, EveryStatusFitsItsFieldInEveryLanguage) {
  for (const PageCase& c : Pages()) {
    CStepPage* page = Build(c);
    ASSERT_NE(page, nullptr) << c.name;
    const auto* edit = qobject_cast<const QLineEdit*>(page->GetDlgItem(c.field)->GetSafeWidget());
    ASSERT_NE(edit, nullptr) << c.name;
    const int room = TextRoom(*edit);
    for (const Language& language : kLanguages) {
      testpages::LoadLanguage(language.lcid);
      for (const char* key : c.keys) {
        c.show(*page, key);
        const std::string whole = TheLanguageTable().Lookup(key).str();
        const QString shown = edit->text();
        const int width = edit->fontMetrics().horizontalAdvance(shown);
        EXPECT_LE(width, room) << c.name << " page, " << key << " in " << language.code << ": \""
                               << shown.toStdString() << "\" is " << width << " px wide, the field has " << room;
        if (shown.toStdString() != whole) {
          EXPECT_EQ(Tip(*page, c.field), whole) << c.name << " page, " << key << " in " << language.code;
        }
      }
    }
  }
}

// The sentence's tip goes as soon as the field shows anything else, also
// what a page sets in the field itself: the field's own tip comes back.
TEST_F(StatusFit, TheWholeSentenceIsTheTipOnlyWhileItsShortFormShows) {
  testpages::LoadEnglish();
  for (const PageCase& c : Pages()) {
    SCOPED_TRACE(c.name);
    CStepPage* page = Build(c);
    ASSERT_NE(page, nullptr);
    const std::string own = Tip(*page, c.field);
    const char* cut = nullptr;
    const char* whole = nullptr;
    for (const char* key : c.keys) {
      c.show(*page, key);
      (page->GetDlgItemText(c.field) == testpages::Text(key) ? whole : cut) = key;
    }
    ASSERT_TRUE(cut && whole);
    const std::string sentence = testpages::Text(cut);
    struct Step {
      const char* key;  // null: the page empties the field itself
      const std::string& tip;
    } steps[] = {{cut, sentence}, {whole, own}, {cut, sentence}, {nullptr, own}, {cut, sentence}, {cut, sentence}};
    for (const Step& step : steps) {
      if (step.key)
        c.show(*page, step.key);
      else
        page->SetDlgItemText(c.field, "");
      EXPECT_EQ(Tip(*page, c.field), step.tip) << (step.key ? step.key : "emptied");
    }
  }
}

}  // namespace
