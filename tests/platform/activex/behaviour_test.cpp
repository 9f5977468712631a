// What the pages rely on at run time: events only from the user, with the
// control id; the user's actions on the widgets; the spin edit's and the
// grid's behaviour.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QToolButton>
#include <utility>

#include "sequences.h"
#include "support/log_capture.h"

namespace {

using namespace axtest;

struct Event {
  UINT id;
  int number;
  std::vector<_variant_t> args;
};

class RecordingSink : public IControlEventSink {
 public:
  void OnControlEvent(UINT controlId, int eventNumber, const std::vector<_variant_t>& args) override {
    events.push_back({controlId, eventNumber, args});
    if (throwing) throw _com_error(E_FAIL);
  }
  std::vector<Event> events;
  bool throwing = false;
};

QWidget* Show(IUnknown* control, QWidget* host, QRect rect) {
  QWidget* w = As<IWidgetControl>(control)->CreateWidget(host, rect);
  host->show();
  return w;
}

void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
void Click(QWidget* w, QPointF at) {
  Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// The centre of the pixels of one colour in the widget's picture.
QPointF Find(QWidget* w, QColor color) {
  const QImage image = w->grab().toImage();
  double x = 0, y = 0;
  int n = 0;
  for (int j = 0; j < image.height(); ++j)
    for (int i = 0; i < image.width(); ++i)
      if (image.pixelColor(i, j) == color) {
        x += i;
        y += j;
        ++n;
      }
  return n ? QPointF(x / n, y / n) : QPointF(-1, -1);
}

struct EventCase {
  const char* name;
  const char* progId;
  int event;
  std::vector<_variant_t> args;
  std::vector<Step> programPuts;  // none of these may fire
};

class Events : public ::testing::TestWithParam<EventCase> {};

TEST_P(Events, FireOnlyForTheUserAndCarryTheControlId) {
  const EventCase& c = GetParam();
  IUnknownPtr control = Create(c.progId);
  RecordingSink sink;
  ASSERT_EQ(As<IControl>(control)->Advise(&sink, 801), S_OK);
  QWidget host;
  Show(control, &host, QRect(0, 0, 120, 200));

  ASSERT_EQ(Apply(control, c.programPuts), S_OK);
  EXPECT_TRUE(sink.events.empty());

  As<IControlTest>(control)->UserEvent(c.event, c.args);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].id, 801u);
  EXPECT_EQ(sink.events[0].number, c.event);
  ASSERT_EQ(sink.events[0].args.size(), c.args.size());
  for (size_t i = 0; i < c.args.size(); ++i) EXPECT_EQ(sink.events[0].args[i].lVal, c.args[i].lVal);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Events,
    ::testing::Values(
        EventCase{"GaugeMarker",
                  kLinearGaugeProgId,
                  19,
                  {_variant_t(2)},
                  Concat({SetupDeviationGauge(),
                          {Set(kValue, 0.4), Element(1, kElementPosition, _variant_t(0.5)),
                           Element(2, kElementPosition, _variant_t(-0.5)), Set(Row(28), 1.1), Set(Row(29), -1.1)}})},
        EventCase{"SliderSwitch", kSwitchSliderProgId, 12, {}, {Set(kPosition, 1), Set(kPosition, 0)}},
        EventCase{"ToggleSwitch", kSwitchToggleProgId, 2, {}, {Set(kActive, true)}},
        EventCase{"SpinEdit",
                  kSpinEditProgId,
                  202,
                  {_variant_t(30)},
                  {Set(kMin, 1.0), Set(kMax, 60.0), Set(kValue, 30.0), Set(kIntValue, 30), Set(kIncrement, 0.1)}},
        EventCase{"Label", kLabelProgId, 1, {}, {Set(kCaption, "Settings"), Set(LabelRow(6), 1)}},
        EventCase{"Grid",
                  kGridProgId,
                  -600,
                  {},
                  Concat({SetupAlarmHistoryGrid("a", "b", "c"),
                          {GridCall([](IGridX* g) { return g->Select(1, 0); }),
                           GridCall([](IGridX* g) { return g->ShowCell(1, 0); })}})}),
    [](const ::testing::TestParamInfo<EventCase>& info) { return std::string(info.param.name); });

TEST(EventDispatch, WhatTheHandlerThrowsIsLoggedAndStopsThere) {
  testsupport::LogCapture log;
  IUnknownPtr control = Create(kLabelProgId);
  RecordingSink sink;
  sink.throwing = true;
  As<IControl>(control)->Advise(&sink, 505);
  EXPECT_NO_THROW(As<IControlTest>(control)->UserEvent(1, {}));
  EXPECT_EQ(sink.events.size(), 1u);
  ASSERT_EQ(log.Texts().size(), 1u);
  EXPECT_NE(log.Texts()[0].find("505"), std::string::npos) << log.Texts()[0];
}

TEST(UserActions, AClickMovesTheSliderAndTellsThePageOnce) {
  IUnknownPtr control = Create(kSwitchSliderProgId);
  RecordingSink sink;
  As<IControl>(control)->Advise(&sink, 144);
  QWidget host;
  QWidget* w = Show(control, &host, QRect(10, 10, 200, 80));
  ASSERT_EQ(Apply(control, CreateSwitchSlider(200, 80, "Analog,Digital Only")), S_OK);
  EXPECT_EQ(w->size(), QSize(108, 42));

  Click(w, QPointF(80, 20));
  LONG position = -1;
  As<IiSwitchSliderX>(control)->get_Position(&position);
  EXPECT_EQ(position, 1);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].number, 12);
}

TEST(UserActions, ALabelClicksOnlyWhileItIsALiveLink) {
  IUnknownPtr control = Create(kLabelProgId);
  RecordingSink sink;
  As<IControl>(control)->Advise(&sink, 393);
  QWidget host;
  QWidget* w = Show(control, &host, QRect(0, 0, 120, 20));
  ASSERT_EQ(Apply(control, SetupLabelFont(0)), S_OK);
  Click(w, QPointF(10, 10));
  As<IControlTest>(control)->UserEvent(1, {});
  EXPECT_TRUE(sink.events.empty());

  ASSERT_EQ(Apply(control, SetupLabelFont(1)), S_OK);
  Click(w, QPointF(10, 10));
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].number, 1);

  ASSERT_EQ(As<IiLabelX>(control)->put_Enabled(FALSE), S_OK);
  Click(w, QPointF(10, 10));
  EXPECT_EQ(sink.events.size(), 1u);
}

TEST(UserActions, DraggingAMovableMarkerReportsItsIndexAndMovesIt) {
  IUnknownPtr control = Create(kLinearGaugeProgId);
  RecordingSink sink;
  As<IControl>(control)->Advise(&sink, 810);
  QWidget host;
  QWidget* w = Show(control, &host, QRect(0, 0, 90, 260));
  // A fixed marker in one colour, a movable one in another.
  ASSERT_EQ(Apply(control, Concat({CreateLinearGauge2(90, 260),
                                   {Set(Row(28), 110.0), Set(Row(29), -10.0)},
                                   Marker(1, 20.0, 0xFF00FF, 0),
                                   Marker(2, 80.0, 0xFFFF00, 1)})),
            S_OK);
  EXPECT_TRUE(sink.events.empty());

  const QPointF fixed = Find(w, QColor(0xFF, 0x00, 0xFF));
  const QPointF movable = Find(w, QColor(0x00, 0xFF, 0xFF));
  ASSERT_GE(fixed.x(), 0);
  ASSERT_GE(movable.x(), 0);

  // The fixed marker does not move.
  Mouse(w, QEvent::MouseButtonPress, fixed, Qt::LeftButton);
  Mouse(w, QEvent::MouseMove, fixed + QPointF(0, -40), Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, fixed + QPointF(0, -40), Qt::NoButton);
  EXPECT_TRUE(sink.events.empty());

  // The movable one goes down the scale, and no further than its end.
  Mouse(w, QEvent::MouseButtonPress, movable, Qt::LeftButton);
  Mouse(w, QEvent::MouseMove, movable + QPointF(0, 60), Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, movable + QPointF(0, 1000), Qt::NoButton);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].number, 19);
  EXPECT_EQ(sink.events[0].args.at(0).lVal, 2);
  double moved = 0, kept = 0;
  As<IiLinearGaugeX>(control)->get_ElementPosition(2, &moved);
  As<IiLinearGaugeX>(control)->get_ElementPosition(1, &kept);
  EXPECT_EQ(moved, -10.0);
  EXPECT_EQ(kept, 20.0);
}

// Before a page knows its scale the gauge may have no span at all, or an
// inverted one: it still draws, and a drag moves nothing.
TEST(UserActions, AGaugeWithoutAScaleSpanDrawsAndADragMovesNothing) {
  for (const auto& [min, max] : {std::pair{0.0, 0.0}, std::pair{50.0, -50.0}}) {
    SCOPED_TRACE(min);
    IUnknownPtr control = Create(kLinearGaugeProgId);
    RecordingSink sink;
    As<IControl>(control)->Advise(&sink, 337);
    QWidget host;
    QWidget* w = Show(control, &host, QRect(0, 0, 260, 70));
    ASSERT_EQ(Apply(control, Concat({CreateLinearGauge2(260, 70),
                                     {Set(Row(28), max), Set(Row(29), min), Set(kValue, 5.0)},
                                     Marker(1, 3.0, 0xFFFF00, 1)})),
              S_OK);
    const QPointF marker = Find(w, QColor(0x00, 0xFF, 0xFF));
    ASSERT_GE(marker.x(), 0);
    Mouse(w, QEvent::MouseButtonPress, marker, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, marker + QPointF(60, 0), Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, marker + QPointF(90, 0), Qt::NoButton);
    double position = 0, value = 0;
    As<IiLinearGaugeX>(control)->get_ElementPosition(1, &position);
    As<IiLinearGaugeX>(control)->get_Value(&value);
    EXPECT_EQ(position, 3.0);
    EXPECT_EQ(value, 5.0);
  }
}

class SpinEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    As<IControl>(control)->Advise(&sink, 804);
    widget = Show(control, &host, QRect(0, 0, 80, 22));
    ASSERT_EQ(Apply(control, Concat({CreateSpinEdit(),
                                     {Set(kIncrement, 0.1), Set(kMax, 1.0), Set(kMin, 0.0), Set(kValue, 0.9)}})),
              S_OK);
    for (QToolButton* b : widget->findChildren<QToolButton*>()) (b->arrowType() == Qt::UpArrow ? up : down) = b;
    line = widget->findChild<QLineEdit*>();
    ASSERT_TRUE(up && down && line);
  }
  double Value() {
    double v = 0;
    spin->get_Value(&v);
    return v;
  }
  void Type(const QString& text) {
    line->setFocus();
    line->selectAll();
    line->insert(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(line, &enter);
  }

  IUnknownPtr control = Create(kSpinEditProgId);
  ISpinEditXPtr spin = As<ISpinEditX>(control);
  RecordingSink sink;
  QWidget host;
  QWidget* widget = nullptr;
  QToolButton* up = nullptr;
  QToolButton* down = nullptr;
  QLineEdit* line = nullptr;
};

TEST_F(SpinEdit, ShowsTheCreatorsTwoDecimals) { EXPECT_EQ(line->text(), "0.90"); }

TEST_F(SpinEdit, ArrowsStepInsideTheBoundsAndTellThePageTwice) {
  up->click();
  EXPECT_DOUBLE_EQ(Value(), 1.0);
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].number, 202);
  EXPECT_EQ(sink.events[0].args.at(0).vt, VT_I4);
  EXPECT_EQ(sink.events[1].number, 203);
  EXPECT_TRUE(sink.events[1].args.empty());

  up->click();  // at the maximum: no change, no event
  EXPECT_DOUBLE_EQ(Value(), 1.0);
  EXPECT_EQ(sink.events.size(), 2u);
  down->click();
  EXPECT_DOUBLE_EQ(Value(), 0.9);
}

TEST_F(SpinEdit, KeepsATypedValueOutsideItsBounds) {
  Type("150");
  EXPECT_EQ(Value(), 150.0);
  EXPECT_EQ(sink.events.size(), 2u);
  Type("-5");
  EXPECT_EQ(Value(), -5.0);
  Type("abc");  // not a number: the value stays and shows again
  EXPECT_EQ(Value(), -5.0);
  EXPECT_EQ(line->text(), "-5.00");
  EXPECT_EQ(sink.events.size(), 4u);
}

TEST_F(SpinEdit, ADisabledSpinEditTakesNoStepAndFiresNothing) {
  ASSERT_EQ(spin->put_Enabled(FALSE), S_OK);
  up->click();
  As<IControlTest>(control)->UserEvent(202, {_variant_t(1)});
  EXPECT_EQ(Value(), 0.9);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(SpinEdit, IntegerValueAndValueAreOne) {
  ASSERT_EQ(spin->put_IntValue(30), S_OK);
  EXPECT_EQ(Value(), 30.0);
  ASSERT_EQ(spin->put_Value(42.6), S_OK);
  LONG i = 0;
  spin->get_IntValue(&i);
  EXPECT_EQ(i, 43);
  EXPECT_TRUE(sink.events.empty());
}

TEST(Grid, ServesTheEventHistoryPage) {
  IUnknownPtr control = Create(kGridProgId);
  IGridXPtr grid = As<IGridX>(control);
  RecordingSink sink;
  As<IControl>(control)->Advise(&sink, 299);
  QWidget host;
  host.resize(400, 300);
  auto* table = static_cast<QTableWidget*>(Show(control, &host, QRect(0, 0, 400, 300)));
  ASSERT_EQ(Apply(control, SetupAlarmHistoryGrid("State", "Alarm #", "Indication")), S_OK);
  LONG width = 0;
  grid->get_ColWidth(0, &width);
  EXPECT_EQ(width, 1548);
  EXPECT_EQ(table->columnWidth(0), 1548 / 15);

  // Records arrive one by one; the grid grows to the record count + 8.
  for (LONG row = 1; row <= 10; ++row) {
    ASSERT_EQ(grid->put_Rows(row + 8), S_OK);
    ASSERT_EQ(grid->put_TextMatrix(row, 1, std::to_string(200 + row).c_str()), S_OK);
  }
  LONG rows = 0;
  grid->get_Rows(&rows);
  EXPECT_EQ(rows, 18);

  // Reading as the report does: select a cell, read the current text.
  _bstr_t text;
  ASSERT_EQ(grid->Select(10, 1), S_OK);
  grid->get_Text(&text);
  EXPECT_EQ(text.str(), "210");

  // A click makes the clicked cell current.
  table->scrollToTop();
  const QRect cell = table->visualItemRect(table->item(3, 2));
  Click(table->viewport(), cell.center());
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].number, -600);
  LONG current = 0;
  grid->get_Row(&current);
  EXPECT_EQ(current, 3);

  // Clearing empties the records and keeps the titles and the row count.
  ASSERT_EQ(grid->ClearData(), S_OK);
  grid->get_TextMatrix(0, 1, &text);
  EXPECT_EQ(text.str(), "Alarm #");
  grid->get_TextMatrix(5, 1, &text);
  EXPECT_EQ(text.str(), "");
  EXPECT_EQ(table->item(5, 1)->text(), "");
  grid->get_Rows(&rows);
  EXPECT_EQ(rows, 18);

  EXPECT_EQ(grid->put_TextMatrix(18, 0, "x"), E_INVALIDARG);
  EXPECT_EQ(grid->Select(0, 3), E_INVALIDARG);
}

}  // namespace
