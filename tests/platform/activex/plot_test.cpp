#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <bit>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/activex/plot.h"
#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"
#include "platform/sys/hostile_paths.h"
#include "platform/sys/safe_file.h"

namespace {

using testing::ElementsAre;

using IWidgetControlPtr = _com_ptr_t<IWidgetControl>;

// The way the program reaches a channel: late-bound "GetChannelByName".
_variant_t LookUp(IUnknown* plot, const _bstr_t& name, HRESULT* hrOut = nullptr) {
  IDispatchPtr disp;
  EXPECT_EQ(plot->QueryInterface(IDispatch::kIID, reinterpret_cast<void**>(&disp)), S_OK);
  OLECHAR method[] = u"GetChannelByName";
  LPOLESTR names[] = {method};
  DISPID id = 0;
  EXPECT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id), S_OK);
  _variant_t arg(name);
  DISPPARAMS params{&arg, nullptr, 1, 0};
  _variant_t result;
  const HRESULT hr = disp->Invoke(id, GUID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                                  nullptr);
  if (hrOut) *hrOut = hr;
  return result;
}

template <class ChannelPtr = IiXYPlotChannelPtr>
ChannelPtr Channel(IUnknown* plot, const _bstr_t& name) {
  const _variant_t v = LookUp(plot, name);
  if (v.vt != VT_DISPATCH) return ChannelPtr();
  return ChannelPtr(IUnknownPtr(v.punkVal));
}

std::string Name(IPlotChannelBase* channel) {
  _bstr_t name;
  EXPECT_EQ(channel->GetName(&name), S_OK);
  return name.str();
}

std::vector<std::pair<double, double>> Points(IPlotChannelBase* channel) {
  LONG n = 0;
  EXPECT_EQ(channel->GetCount(&n), S_OK);
  std::vector<std::pair<double, double>> points;
  for (LONG i = 0; i < n; ++i) {
    double x = 0, y = 0;
    EXPECT_EQ(channel->GetX(i, &x), S_OK);
    EXPECT_EQ(channel->GetY(i, &y), S_OK);
    points.emplace_back(x, y);
  }
  return points;
}

IiPlotAxisPtr Axis(IPlotBase* plot, bool xAxis, LONG index) {
  IiPlotAxisPtr axis;
  EXPECT_EQ(xAxis ? plot->GetXAxis(index, &axis) : plot->GetYAxis(index, &axis), S_OK);
  return axis;
}

std::string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.data(), static_cast<qint64>(text.size()));
  return path.toStdString();
}

std::string ReadFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll().toStdString();
}

class PlotTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(xy.CreateInstance(kXYPlotProgId), S_OK);
    ASSERT_EQ(time.CreateInstance(kPlotProgId), S_OK);
    ASSERT_TRUE(dir.isValid());
  }
  // Gives the plot n channels "Channel 1" ... "Channel n".
  static void Channels(IPlotBase* plot, int n) {
    ASSERT_EQ(plot->RemoveAllChannels(), S_OK);
    for (int i = 0; i < n; ++i) ASSERT_EQ(plot->AddChannel(nullptr), S_OK);
  }

  IiXYPlotXPtr xy;
  IiPlotXPtr time;
  QTemporaryDir dir;
};

// --- look-up by name

TEST_F(PlotTest, LookUpIgnoresCaseAndFindsNothingForEmptyOrUnknownNames) {
  Channels(xy, 2);
  ASSERT_EQ(Channel(xy, "Channel 2")->SetName("ILPos"), S_OK);
  const struct {
    _bstr_t name;
    const char* found;  // null: nothing
  } cases[] = {
      {"ILPos", "ILPos"}, {"ILPOS", "ILPos"}, {"ilpos", "ILPos"}, {"channel 1", "Channel 1"},
      {"ILPo", nullptr},  {"ILPos ", nullptr}, {"", nullptr},     {_bstr_t(), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.is_null() ? "(null)" : c.name.str());
    HRESULT hr = E_FAIL;
    const _variant_t v = LookUp(xy, c.name, &hr);
    EXPECT_EQ(hr, S_OK);
    if (!c.found) {
      EXPECT_EQ(v.vt, VT_EMPTY);
      continue;
    }
    ASSERT_EQ(v.vt, VT_DISPATCH);
    IiXYPlotChannelPtr channel{IUnknownPtr(v.punkVal)};
    ASSERT_TRUE(channel);
    EXPECT_EQ(Name(channel), c.found);
  }
  LONG index = 0;
  EXPECT_EQ(xy->ChannelIndexByName("ilPOS", &index), S_OK);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(xy->ChannelIndexByName("Nope", &index), S_OK);
  EXPECT_EQ(index, -1);
}

TEST_F(PlotTest, ChannelsAnswerOnlyToTheirOwnPlotKind) {
  const _variant_t onXY = LookUp(xy, "Channel 1");
  const _variant_t onTime = LookUp(time, "Channel 1");
  ASSERT_EQ(onXY.vt, VT_DISPATCH);
  ASSERT_EQ(onTime.vt, VT_DISPATCH);
  EXPECT_TRUE(IiXYPlotChannelPtr(IUnknownPtr(onXY.punkVal)));
  EXPECT_FALSE(IiPlotChannelPtr(IUnknownPtr(onXY.punkVal)));
  EXPECT_TRUE(IiPlotChannelPtr(IUnknownPtr(onTime.punkVal)));
  EXPECT_FALSE(IiXYPlotChannelPtr(IUnknownPtr(onTime.punkVal)));
  EXPECT_FALSE(IiXYPlotXPtr(IUnknownPtr(time)));
  EXPECT_FALSE(IiPlotXPtr(IUnknownPtr(xy)));
}

TEST_F(PlotTest, LateBoundCallRefusesWhatIsNotOneText) {
  IDispatchPtr disp(xy);
  OLECHAR other[] = u"RemoveAllChannels";
  LPOLESTR names[] = {other};
  DISPID id = 0;
  EXPECT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);

  OLECHAR lower[] = u"getchannelbyname";
  names[0] = lower;
  ASSERT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id), S_OK);
  _variant_t args[2] = {_variant_t("Channel 1"), _variant_t("Channel 1")};
  _variant_t result;
  DISPPARAMS two{args, nullptr, 2, 0};
  EXPECT_EQ(disp->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &two, &result, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
  _variant_t number(LONG{1});
  DISPPARAMS notText{&number, nullptr, 1, 0};
  UINT argErr = 99;
  EXPECT_EQ(disp->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &notText, &result, nullptr, &argErr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);
  EXPECT_EQ(disp->Invoke(id + 1, GUID_NULL, 0, DISPATCH_METHOD, &notText, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

// --- channels and points

TEST_F(PlotTest, ChannelsAddedAfterRemovalAreNumberedFromOneAndRenamesReplaceTheOldName) {
  LONG count = 0;
  ASSERT_EQ(xy->GetChannelCount(&count), S_OK);
  EXPECT_EQ(count, 1);  // a new plot has "Channel 1"
  EXPECT_TRUE(Channel(xy, "Channel 1"));

  ASSERT_EQ(xy->RemoveAllChannels(), S_OK);
  EXPECT_FALSE(Channel(xy, "Channel 1"));
  std::vector<LONG> indexes;
  for (int i = 0; i < 3; ++i) {
    LONG index = -1;
    ASSERT_EQ(xy->AddChannel(&index), S_OK);
    indexes.push_back(index);
  }
  EXPECT_THAT(indexes, ElementsAre(0, 1, 2));
  for (const char* name : {"Channel 1", "Channel 2", "Channel 3"}) EXPECT_EQ(Name(Channel(xy, name)), name);

  ASSERT_EQ(Channel(xy, "Channel 1")->SetName("Position"), S_OK);
  EXPECT_FALSE(Channel(xy, "Channel 1"));
  LONG index = -1;
  ASSERT_EQ(xy->ChannelIndexByName("POSITION", &index), S_OK);
  EXPECT_EQ(index, 0);
}

TEST_F(PlotTest, PointsKeepTheOrderOfAddingWhateverXDoesAndSurviveHiding) {
  for (IPlotBase* plot : {static_cast<IPlotBase*>(xy), static_cast<IPlotBase*>(time)}) {
    _variant_t v = LookUp(plot, "Channel 1");
    ASSERT_EQ(v.vt, VT_DISPATCH);
    _com_ptr_t<IPlotChannelBase> channel;
    // The shared members, reached through the kind's own interface.
    if (plot == static_cast<IPlotBase*>(xy))
      channel = IiXYPlotChannelPtr(IUnknownPtr(v.punkVal)).GetInterfacePtr();
    else
      channel = IiPlotChannelPtr(IUnknownPtr(v.punkVal)).GetInterfacePtr();
    const double xs[] = {0, 5, 5, 3, -1};
    for (int i = 0; i < 5; ++i) {
      LONG index = -1;
      ASSERT_EQ(channel->AddXY(xs[i], 10.0 * i, &index), S_OK);
      EXPECT_EQ(index, i);
    }
    const std::vector<std::pair<double, double>> expected = {{0, 0}, {5, 10}, {5, 20}, {3, 30}, {-1, 40}};
    EXPECT_EQ(Points(channel), expected);
    ASSERT_EQ(channel->SetVisible(0), S_OK);
    EXPECT_EQ(Points(channel), expected);
    ASSERT_EQ(channel->SetVisible(VARIANT_TRUE), S_OK);
    ASSERT_EQ(channel->SetY(3, -7.5), S_OK);
    EXPECT_EQ(Points(channel)[3], std::make_pair(3.0, -7.5));

    double out = 0;
    EXPECT_EQ(channel->GetX(5, &out), DISP_E_BADINDEX);
    EXPECT_EQ(channel->GetY(-1, &out), DISP_E_BADINDEX);
    EXPECT_EQ(channel->SetY(5, 1.0), DISP_E_BADINDEX);

    ASSERT_EQ(plot->ClearAllData(), S_OK);
    EXPECT_TRUE(Points(channel).empty());
    EXPECT_EQ(Name(channel), "Channel 1");
  }
}

TEST_F(PlotTest, PointMarkersAreFlaggedOnlyWhereSet) {
  IiXYPlotChannelPtr channel = Channel(xy, "Channel 1");
  for (int i = 0; i < 100; ++i) ASSERT_EQ(channel->AddXY(i, i, nullptr), S_OK);
  for (int i = 0; i < 100; i += 20) ASSERT_EQ(channel->SetPointMarkerVisible(i, 1), S_OK);
  std::vector<int> marked;
  for (int i = 0; i < 100; ++i) {
    LONG on = -1;
    ASSERT_EQ(channel->GetPointMarkerVisible(i, &on), S_OK);
    if (on) marked.push_back(i);
  }
  EXPECT_THAT(marked, ElementsAre(0, 20, 40, 60, 80));
  EXPECT_EQ(channel->SetPointMarkerVisible(100, 1), DISP_E_BADINDEX);
  ASSERT_EQ(channel->Clear(), S_OK);
  ASSERT_EQ(channel->AddXY(1, 1, nullptr), S_OK);
  LONG on = -1;
  ASSERT_EQ(channel->GetPointMarkerVisible(0, &on), S_OK);
  EXPECT_EQ(on, 0);
}

TEST_F(PlotTest, ChannelObjectsOutlivingTheirChannelOrPlotStaySafe) {
  IiXYPlotChannelPtr dropped = Channel(xy, "Channel 1");
  ASSERT_EQ(xy->RemoveAllChannels(), S_OK);
  EXPECT_EQ(dropped->AddXY(1, 2, nullptr), E_UNEXPECTED);
  EXPECT_EQ(dropped->SetName("x"), E_UNEXPECTED);

  ASSERT_EQ(xy->AddChannel(nullptr), S_OK);
  IiXYPlotChannelPtr kept = Channel(xy, "Channel 1");
  IiPlotAxisPtr axis = Axis(xy, true, 0);
  xy = nullptr;
  EXPECT_EQ(kept->AddXY(1, 2, nullptr), S_OK);
  EXPECT_EQ(axis->SetMin(5), S_OK);
}

// --- axes

TEST_F(PlotTest, AxesAreFoundByNameAndNotMadeByAskingForThem) {
  LONG n = 0;
  ASSERT_EQ(xy->GetXAxisCount(&n), S_OK);
  EXPECT_EQ(n, 1);
  IiPlotAxisPtr missing;
  EXPECT_EQ(xy->GetXAxis(1, &missing), DISP_E_BADINDEX);
  EXPECT_EQ(xy->GetYAxis(-1, &missing), DISP_E_BADINDEX);

  LONG index = -1;
  ASSERT_EQ(xy->AddXAxis(&index), S_OK);
  EXPECT_EQ(index, 1);
  ASSERT_EQ(Axis(xy, true, 1)->SetName("CmdX"), S_OK);
  ASSERT_EQ(xy->XAxisIndexByName("cmdx", &index), S_OK);
  EXPECT_EQ(index, 1);
  ASSERT_EQ(xy->YAxisIndexByName("CmdX", &index), S_OK);
  EXPECT_EQ(index, -1);  // X and Y axes are apart
  IiPlotAxisPtr axis;
  EXPECT_EQ(xy->GetXAxisByName("CMDX", &axis), S_OK);
  EXPECT_TRUE(axis);
  EXPECT_EQ(xy->GetYAxisByName("CmdX", &axis), S_FALSE);
  EXPECT_FALSE(axis);
}

TEST_F(PlotTest, ZoomToFitTakesTheShownChannelsDrawnAgainstTheAxis) {
  Channels(xy, 3);
  IiXYPlotChannelPtr shown = Channel(xy, "Channel 1");
  const double points[][2] = {{2, 1}, {-3, 4}, {7, 2}};
  for (const auto& p : points) ASSERT_EQ(shown->AddXY(p[0], p[1], nullptr), S_OK);
  ASSERT_EQ(shown->AddXY(NAN, 3.0, nullptr), S_OK);  // no number, no range
  IiXYPlotChannelPtr hidden = Channel(xy, "Channel 2");
  ASSERT_EQ(hidden->AddXY(100, 100, nullptr), S_OK);
  ASSERT_EQ(hidden->SetVisible(0), S_OK);
  IiXYPlotChannelPtr stored = Channel(xy, "Channel 3");
  ASSERT_EQ(stored->AddXY(-50, -50, nullptr), S_OK);
  ASSERT_EQ(stored->SetXAxisName("None"), S_OK);

  IiPlotAxisPtr x = Axis(xy, true, 0);
  IiPlotAxisPtr y = Axis(xy, false, 0);
  ASSERT_EQ(x->ZoomToFit(), S_OK);
  ASSERT_EQ(y->ZoomToFit(), S_OK);
  double min = 0, span = 0;
  x->GetMin(&min);
  x->GetSpan(&span);
  EXPECT_EQ(min, -3.0);
  EXPECT_EQ(span, 10.0);
  y->GetMin(&min);
  y->GetSpan(&span);
  EXPECT_EQ(min, 1.0);
  EXPECT_EQ(span, 3.0);

  // An axis without data keeps its range.
  LONG index = 0;
  ASSERT_EQ(xy->AddYAxis(&index), S_OK);
  IiPlotAxisPtr empty = Axis(xy, false, index);
  ASSERT_EQ(empty->SetMin(-2.5), S_OK);
  ASSERT_EQ(empty->SetSpan(5), S_OK);
  ASSERT_EQ(empty->ZoomToFit(), S_OK);
  empty->GetMin(&min);
  empty->GetSpan(&span);
  EXPECT_EQ(min, -2.5);
  EXPECT_EQ(span, 5.0);
}

// --- journal and planned failures

TEST_F(PlotTest, ALongRunKeepsOnlyTheLatestJournalEntries) {
  IControlTestPtr test(xy);
  IiPlotAxisPtr axis = Axis(xy, true, 0);
  for (int i = 1; i <= 100000; ++i) ASSERT_EQ(axis->SetSpan(i), S_OK);
  const std::vector<std::string> journal = test->Journal();
  ASSERT_EQ(journal.size(), ControlJournal::kLimit);
  EXPECT_EQ(journal.back(), "xaxis[0].span=100000");
}

TEST_F(PlotTest, JournalListsPutsInOrderAndPlannedFailuresLeaveTheValue) {
  IControlTestPtr test(xy);
  ASSERT_TRUE(test);
  test->ClearJournal();
  IiXYPlotChannelPtr c = Channel(xy, "Channel 1");
  ASSERT_EQ(c->SetInitialSetting(0), S_OK);
  ASSERT_EQ(c->SetName("Position"), S_OK);
  ASSERT_EQ(c->SetTitle("Position"), S_OK);
  ASSERT_EQ(c->SetColor(0x0A0AFF), S_OK);
  ASSERT_EQ(c->SetVisible(VARIANT_TRUE), S_OK);
  ASSERT_EQ(c->SetVisibleInLegend(VARIANT_TRUE), S_OK);
  ASSERT_EQ(c->SetLineSetting(2), S_OK);
  ASSERT_EQ(c->SetXAxisName("Time"), S_OK);
  ASSERT_EQ(c->SetYAxisName("Position"), S_OK);
  ASSERT_EQ(c->AddXY(1, 2, nullptr), S_OK);  // points stay out of the journal
  ASSERT_EQ(Axis(xy, true, 0)->SetSpan(75), S_OK);
  EXPECT_THAT(test->Journal(),
              ElementsAre("channel[0].initial=0", "channel[0].name=Position", "channel[0].title=Position",
                          "channel[0].color=0x0A0AFF", "channel[0].visible=-1", "channel[0].legend=-1",
                          "channel[0].line=2", "channel[0].xaxis=Time", "channel[0].yaxis=Position",
                          "xaxis[0].span=75"));

  test->FailPut("channel[0].title", E_FAIL, 1);
  EXPECT_EQ(c->SetTitle("Other"), E_FAIL);
  _bstr_t title;
  c->GetTitle(&title);
  EXPECT_EQ(title.str(), "Position");
  EXPECT_EQ(c->SetTitle("Other"), S_OK);  // once only

  test->FailPut("channel[0].addxy", E_OUTOFMEMORY, -1);
  EXPECT_EQ(c->AddXY(3, 4, nullptr), E_OUTOFMEMORY);
  EXPECT_EQ(c->AddXY(3, 4, nullptr), E_OUTOFMEMORY);
  test->FailPut("channel[0].addxy", S_OK, 0);
  EXPECT_EQ(c->AddXY(3, 4, nullptr), S_OK);
  EXPECT_EQ(Points(c).size(), 2u);
}

// --- data file

TEST_F(PlotTest, DataFileRoundTripsEveryDoubleAndLoadsByPosition) {
  Channels(xy, 2);
  const double awkward[] = {
      1e-300, -0.0, 0.1 + 0.2, 1.7976931348623157e308, 4.9406564584124654e-324, 2.2250738585072009e-308,
      -123.456, 1.0 / 3.0, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  IiXYPlotChannelPtr first = Channel(xy, "Channel 1");
  for (size_t i = 0; i < std::size(awkward); ++i)
    ASSERT_EQ(first->AddXY(awkward[i], awkward[std::size(awkward) - 1 - i], nullptr), S_OK);
  ASSERT_EQ(first->AddXY(NAN, 0.5, nullptr), S_OK);
  ASSERT_EQ(Channel(xy, "Channel 2")->AddXY(7, 8, nullptr), S_OK);
  const std::string path = dir.filePath("run.rmp").toStdString();
  ASSERT_EQ(xy->SaveDataToFile(path.c_str()), S_OK);

  // Another plot, other names: the points go by position, the names stay.
  IiXYPlotXPtr other;
  ASSERT_EQ(other.CreateInstance(kXYPlotProgId), S_OK);
  Channels(other, 2);
  ASSERT_EQ(Channel(other, "Channel 1")->SetName("Position1"), S_OK);
  ASSERT_EQ(Channel(other, "Channel 2")->SetName("Command1"), S_OK);
  ASSERT_EQ(Channel(other, "Command1")->AddXY(99, 99, nullptr), S_OK);
  ASSERT_EQ(other->LoadDataFromFile(path.c_str()), S_OK);

  const auto points = Points(Channel(other, "Position1"));
  ASSERT_EQ(points.size(), std::size(awkward) + 1);
  for (size_t i = 0; i < std::size(awkward); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(points[i].first), std::bit_cast<std::uint64_t>(awkward[i])) << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(points[i].second),
              std::bit_cast<std::uint64_t>(awkward[std::size(awkward) - 1 - i]))
        << i;
  }
  EXPECT_TRUE(std::isnan(points.back().first));
  EXPECT_EQ(points.back().second, 0.5);
  EXPECT_EQ(Points(Channel(other, "Command1")), (std::vector<std::pair<double, double>>{{7, 8}}));
}

TEST_F(PlotTest, DataFileWithMoreOrFewerChannelsFillsWhatFits) {
  // Written by hand in the documented format.
  const std::string path = WriteFile(dir, "three.stp",
                                     "TarnixPlotData 1\r\n"
                                     "kind xy\r\n"
                                     "channels 3\r\n"
                                     "channel 0 2 \"A\"\r\n"
                                     "1 2\r\n"
                                     "3.5 -4e2\r\n"
                                     "channel 1 0 \"B \\\"quoted\\\"\"\r\n"
                                     "channel 2 1 -\r\n"
                                     "5 6\r\n"
                                     "end\r\n");
  // What the file held, told whatever the plot it went into: nothing yet.
  const auto layout = [](IPlotBase* plot) {
    _bstr_t kind("unread");
    LONG count = -1;
    EXPECT_EQ(plot->GetFileLayout(&kind, &count), S_OK);
    std::vector<std::string> names{kind.str()};
    for (LONG i = 0; i < count; ++i) {
      _bstr_t name("unread");
      EXPECT_EQ(plot->GetFileChannelName(i, &name), S_OK);
      names.push_back(name.is_null() ? "(null)" : name.str());
    }
    _bstr_t past;
    EXPECT_EQ(plot->GetFileChannelName(count, &past), DISP_E_BADINDEX);
    EXPECT_EQ(plot->GetFileChannelName(-1, &past), DISP_E_BADINDEX);
    return names;
  };
  const std::vector<std::string> stored = {"xy", "A", "B \"quoted\"", "(null)"};
  EXPECT_EQ(layout(xy), std::vector<std::string>{""});
  Channels(xy, 2);
  ASSERT_EQ(xy->LoadDataFromFile(path.c_str()), S_OK);
  EXPECT_EQ(Points(Channel(xy, "Channel 1")), (std::vector<std::pair<double, double>>{{1, 2}, {3.5, -400}}));
  EXPECT_TRUE(Points(Channel(xy, "Channel 2")).empty());
  EXPECT_EQ(layout(xy), stored);
  EXPECT_EQ(xy->GetFileLayout(nullptr, nullptr), E_POINTER);
  // A load that fails leaves the layout of the last good one.
  EXPECT_EQ(xy->LoadDataFromFile(WriteFile(dir, "bad.stp", "TarnixPlotData 1\nkind xy\n").c_str()), E_FAIL);
  EXPECT_EQ(layout(xy), stored);

  Channels(time, 4);
  ASSERT_EQ(Channel<IiPlotChannelPtr>(time, "Channel 4")->AddXY(1, 1, nullptr), S_OK);
  ASSERT_EQ(time->LoadDataFromFile(path.c_str()), S_OK);  // the kind is not checked
  EXPECT_EQ(Points(Channel<IiPlotChannelPtr>(time, "Channel 3")), (std::vector<std::pair<double, double>>{{5, 6}}));
  EXPECT_TRUE(Points(Channel<IiPlotChannelPtr>(time, "Channel 4")).empty());
  EXPECT_EQ(layout(time), stored);  // but told
}

TEST_F(PlotTest, DamagedDataFileChangesNothingAndFails) {
  const std::string good =
      "TarnixPlotData 1\n"
      "kind xy\n"
      "channels 2\n"
      "channel 0 2 \"Position\"\n"
      "1 2\n"
      "3 4\n"
      "channel 1 1 \"Command\"\n"
      "5 6\n"
      "end\n";
  auto replace = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  const struct {
    const char* what;
    std::string text;
  } damaged[] = {
      {"no end", good.substr(0, good.size() - 4)},
      {"cut in the points", good.substr(0, good.find("3 4"))},
      {"cut in a number", good.substr(0, good.find("3 4") + 1)},
      {"more channels announced", replace("channels 2", "channels 3")},
      {"fewer channels announced", replace("channels 2", "channels 1")},
      {"more points announced", replace("channel 0 2", "channel 0 3")},
      {"fewer points announced", replace("channel 0 2", "channel 0 1")},
      {"not a number", replace("3 4", "3 4x")},
      {"comma decimal", replace("3 4", "3,5 4")},
      {"one number only", replace("3 4", "3")},
      {"blocks out of order", replace("channel 1 1", "channel 2 1")},
      {"other head", replace("TarnixPlotData 1", "TarnixPlotData 2")},
      {"empty file", ""},
  };
  Channels(xy, 2);
  ASSERT_EQ(Channel(xy, "Channel 1")->AddXY(9, 9, nullptr), S_OK);
  ASSERT_EQ(Channel(xy, "Channel 2")->SetName("Kept"), S_OK);
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.what);
    const std::string path = WriteFile(dir, "damaged.rmp", d.text);
    EXPECT_TRUE(FAILED(xy->LoadDataFromFile(path.c_str())));
    EXPECT_EQ(Points(Channel(xy, "Channel 1")), (std::vector<std::pair<double, double>>{{9, 9}}));
    EXPECT_TRUE(Channel(xy, "Kept"));
  }
  EXPECT_EQ(xy->LoadDataFromFile(dir.filePath("missing.rmp").toStdString().c_str()), STG_E_FILENOTFOUND);
  EXPECT_EQ(Points(Channel(xy, "Channel 1")).size(), 1u);
  // The good file itself loads.
  ASSERT_EQ(xy->LoadDataFromFile(WriteFile(dir, "good.rmp", good).c_str()), S_OK);
  EXPECT_EQ(Points(Channel(xy, "Kept")), (std::vector<std::pair<double, double>>{{5, 6}}));
}

TEST_F(PlotTest, FileStampGoesIntoBothFilesAndComesBackFromEither) {
  Channels(xy, 1);
  ASSERT_EQ(Channel(xy, "Channel 1")->AddXY(1, 2, nullptr), S_OK);
  ASSERT_EQ(xy->SetFileStamp("run 7"), S_OK);
  const std::string data = dir.filePath("s.rmp").toStdString();
  const std::string props = dir.filePath("s.prp").toStdString();
  ASSERT_EQ(xy->SaveDataToFile(data.c_str()), S_OK);
  ASSERT_EQ(xy->SavePropertiesToFile(props.c_str()), S_OK);
  EXPECT_EQ(ReadFile(data),
            "TarnixPlotData 1\nkind xy\nstamp \"run 7\"\nchannels 1\nchannel 0 1 \"Channel 1\"\n1 2\nend\n");
  const std::string head = "TarnixPlotProperties 1\nkind xy\nstamp \"run 7\"\ncounts 1 1 1\nplot ";
  EXPECT_EQ(ReadFile(props).substr(0, head.size()), head);

  const struct {
    const char* what;
    std::string text;
    bool loads;
    const char* stamp;  // null: no stamp
  } cases[] = {
      {"stamped", "TarnixPlotData 1\nkind xy\nstamp \"a\"\nchannels 0\nend\n", true, "a"},
      {"without stamp", "TarnixPlotData 1\nkind xy\nchannels 0\nend\n", true, nullptr},
      {"stamp without text", "TarnixPlotData 1\nkind xy\nstamp\nchannels 0\nend\n", false, "kept"},
      {"stamp twice", "TarnixPlotData 1\nkind xy\nstamp \"a\"\nstamp \"b\"\nchannels 0\nend\n", false, "kept"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(xy->SetFileStamp("kept"), S_OK);
    EXPECT_EQ(SUCCEEDED(xy->LoadDataFromFile(WriteFile(dir, "c.rmp", c.text).c_str())), c.loads);
    _bstr_t stamp("unread");
    ASSERT_EQ(xy->GetFileStamp(&stamp), S_OK);
    EXPECT_EQ(stamp.is_null(), c.stamp == nullptr);
    if (c.stamp) {
      EXPECT_EQ(stamp.str(), c.stamp);
    }
  }
  ASSERT_EQ(xy->LoadPropertiesFromFile(props.c_str()), S_OK);
  _bstr_t stamp;
  ASSERT_EQ(xy->GetFileStamp(&stamp), S_OK);
  EXPECT_EQ(stamp.str(), "run 7");
}

TEST_F(PlotTest, FilesAreNeitherReadFromNorWrittenThroughWhatIsNoPlainFile) {
  testsys::HostilePaths hostile(plat::kPlotFileCap);
  Channels(xy, 1);
  for (const testsys::HostilePath& h : hostile.All()) {
    SCOPED_TRACE(h.what);
    EXPECT_EQ(xy->LoadDataFromFile(h.path.c_str()), STG_E_READFAULT);
    EXPECT_EQ(xy->LoadPropertiesFromFile(h.path.c_str()), STG_E_READFAULT);
  }
  const std::string victim = WriteFile(dir, "victim", "precious");
  const std::string link = dir.filePath("link.rmp").toStdString();
  ASSERT_TRUE(QFile::link(QString::fromStdString(victim), QString::fromStdString(link)));
  EXPECT_EQ(xy->SaveDataToFile(link.c_str()), STG_E_WRITEFAULT);
  EXPECT_EQ(xy->SavePropertiesToFile(link.c_str()), STG_E_WRITEFAULT);
  EXPECT_EQ(xy->SaveImage(link.c_str(), 100, 100), STG_E_WRITEFAULT);
  EXPECT_EQ(ReadFile(victim), "precious");
}

// --- properties file

TEST_F(PlotTest, PropertiesRoundTripTheLayoutButNotThePoints) {
  Channels(xy, 2);
  ASSERT_EQ(xy->AddXAxis(nullptr), S_OK);
  ASSERT_EQ(xy->SetTitle("Ramp \"Test\""), S_OK);
  ASSERT_EQ(xy->SetTitleFontColor(0x808080), S_OK);
  IiPlotAxisPtr x1 = Axis(xy, true, 1);
  ASSERT_EQ(x1->SetName("CmdX"), S_OK);
  ASSERT_EQ(x1->SetTitle("Command (%)"), S_OK);
  ASSERT_EQ(x1->SetMin(-0.1), S_OK);
  ASSERT_EQ(x1->SetSpan(110.5), S_OK);
  ASSERT_EQ(x1->SetVisible(0), S_OK);
  ASSERT_EQ(x1->SetLimitHigh(96), S_OK);
  ASSERT_EQ(x1->PutSetting(7, _variant_t(0.1)), S_OK);
  IFontPtr font;
  ASSERT_EQ(x1->GetTitleFont(&font), S_OK);
  ASSERT_EQ(font->put_Bold(TRUE), S_OK);
  ASSERT_EQ(font->put_Size(80000), S_OK);
  ASSERT_EQ(x1->SetTitleFont(font), S_OK);
  IiPlotDataViewPtr view;
  ASSERT_EQ(xy->GetDataView(0, &view), S_OK);
  ASSERT_EQ(view->SetXAxisName("<All>"), S_OK);
  ASSERT_EQ(view->SetGridLineColor(0x00C000), S_OK);
  IiXYPlotChannelPtr c = Channel(xy, "Channel 2");
  ASSERT_EQ(c->SetName("SpringResults"), S_OK);
  ASSERT_EQ(c->SetTitle("Spring\nResults"), S_OK);
  ASSERT_EQ(c->SetColor(0x000080), S_OK);
  ASSERT_EQ(c->SetXAxisName("CmdX"), S_OK);
  ASSERT_EQ(c->SetVisible(2), S_OK);
  ASSERT_EQ(c->SetMarkerStyle(10), S_OK);
  ASSERT_EQ(c->AddXY(1, 1, nullptr), S_OK);
  IControlPtr control(xy);
  ASSERT_EQ(control->PutSetting(3, _variant_t("text")), S_OK);
  const std::string path = dir.filePath("run.prp").toStdString();
  ASSERT_EQ(xy->SavePropertiesToFile(path.c_str()), S_OK);
  const std::string saved = ReadFile(path);

  // Everything changed, then the file brings it back.
  ASSERT_EQ(xy->SetTitle("x"), S_OK);
  ASSERT_EQ(x1->SetName("Other"), S_OK);
  ASSERT_EQ(x1->SetMin(3), S_OK);
  ASSERT_EQ(x1->SetVisible(-1), S_OK);
  ASSERT_EQ(x1->PutSetting(7, _variant_t(LONG{2})), S_OK);
  ASSERT_EQ(font->put_Bold(FALSE), S_OK);
  ASSERT_EQ(x1->SetTitleFont(font), S_OK);
  ASSERT_EQ(view->SetGridLineColor(0), S_OK);
  ASSERT_EQ(c->SetName("Renamed"), S_OK);
  ASSERT_EQ(c->SetColor(0), S_OK);
  ASSERT_EQ(c->SetVisible(0), S_OK);
  ASSERT_EQ(control->PutSetting(3, _variant_t(LONG{4})), S_OK);
  ASSERT_EQ(xy->LoadPropertiesFromFile(path.c_str()), S_OK);

  EXPECT_EQ(ReadFile(path), saved);
  _bstr_t text;
  xy->GetTitle(&text);
  EXPECT_EQ(text.str(), "Ramp \"Test\"");
  x1->GetName(&text);
  EXPECT_EQ(text.str(), "CmdX");
  double d = 0;
  x1->GetMin(&d);
  EXPECT_EQ(d, -0.1);
  x1->GetSpan(&d);
  EXPECT_EQ(d, 110.5);
  VARIANT_BOOL flag = 0;
  x1->GetVisible(&flag);
  EXPECT_EQ(flag, 0);
  _variant_t setting;
  x1->GetSetting(7, &setting);
  ASSERT_EQ(setting.vt, VT_R8);
  EXPECT_EQ(setting.dblVal, 0.1);
  IFontPtr back;
  ASSERT_EQ(x1->GetTitleFont(&back), S_OK);
  BOOL bold = FALSE;
  back->get_Bold(&bold);
  EXPECT_TRUE(bold);
  COLORREF color = 0;
  view->GetGridLineColor(&color);
  EXPECT_EQ(color, 0x00C000u);
  IiXYPlotChannelPtr again = Channel(xy, "springresults");
  ASSERT_TRUE(again);
  again->GetTitle(&text);
  EXPECT_EQ(text.str(), "Spring\nResults");
  again->GetColor(&color);
  EXPECT_EQ(color, 0x000080u);
  again->GetVisible(&flag);
  EXPECT_EQ(flag, 2);
  EXPECT_EQ(Points(again).size(), 1u);  // the points are not the properties'
  control->GetSetting(3, &setting);
  ASSERT_EQ(setting.vt, VT_BSTR);
  EXPECT_EQ(setting.bstrVal.str(), "text");
}

TEST_F(PlotTest, PropertiesOfAnotherLayoutOrDamagedChangeNothingAndFail) {
  Channels(xy, 2);
  const std::string path = dir.filePath("two.prp").toStdString();
  ASSERT_EQ(xy->SavePropertiesToFile(path.c_str()), S_OK);
  const std::string good = ReadFile(path);
  auto replace = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  ASSERT_EQ(xy->AddChannel(nullptr), S_OK);
  ASSERT_TRUE(FAILED(xy->LoadPropertiesFromFile(path.c_str())));  // three channels now, two in the file
  ASSERT_EQ(xy->RemoveAllChannels(), S_OK);
  Channels(xy, 2);
  ASSERT_EQ(Channel(xy, "Channel 1")->SetName("Kept"), S_OK);
  const std::string damaged[] = {
      good.substr(0, good.size() - 4),                   // no end
      replace("kind xy", "kind time"),                   // the other kind
      replace("channel.1 color", "channel.1 colour"),    // unknown key
      replace("xaxis.0 min 0", "xaxis.0 min zero"),      // not a number
      replace("channel.0 name \"Channel 1\"", "channel.0 name \"Channel 1"),  // open quote
      replace("channel.1 name", "channel.2 name"),       // no such channel
  };
  for (const std::string& text : damaged) {
    EXPECT_TRUE(FAILED(xy->LoadPropertiesFromFile(WriteFile(dir, "bad.prp", text).c_str()))) << text;
    EXPECT_TRUE(Channel(xy, "Kept"));
  }
  EXPECT_EQ(xy->LoadPropertiesFromFile(dir.filePath("missing.prp").toStdString().c_str()), STG_E_FILENOTFOUND);
  ASSERT_EQ(xy->LoadPropertiesFromFile(path.c_str()), S_OK);
  EXPECT_TRUE(Channel(xy, "Channel 1"));
}

// --- pictures and widget

int CountPixels(const QImage& image, bool (*match)(QRgb)) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += match(image.pixel(x, y)) ? 1 : 0;
  return n;
}
bool Red(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
bool Blue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }

QImage Picture(IPlotBase* plot, LONG width, LONG height) {
  _variant_t png;
  EXPECT_EQ(plot->CopyToPicture(width, height, &png), S_OK);
  EXPECT_TRUE(png.IsByteArray());
  const std::vector<BYTE> bytes = png.Bytes();
  QImage image;
  EXPECT_TRUE(image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "PNG"));
  return image;
}

TEST_F(PlotTest, PicturesOfAPlotNeverShownHaveTheSizeAskedAndTheShownChannelsOnly) {
  Channels(xy, 2);
  IiXYPlotChannelPtr red = Channel(xy, "Channel 1");
  IiXYPlotChannelPtr blue = Channel(xy, "Channel 2");
  ASSERT_EQ(red->SetColor(0x0000FF), S_OK);  // red is the low byte
  ASSERT_EQ(blue->SetColor(0xFF0000), S_OK);
  for (int i = 0; i <= 10; ++i) {
    ASSERT_EQ(red->AddXY(10 * i, 10 * i, nullptr), S_OK);
    ASSERT_EQ(blue->AddXY(10 * i, 100 - 10 * i, nullptr), S_OK);
  }
  ASSERT_EQ(blue->SetVisible(0), S_OK);

  const QImage hidden = Picture(xy, 640, 400);
  EXPECT_EQ(hidden.size(), QSize(640, 400));
  EXPECT_GT(CountPixels(hidden, Red), 100);
  EXPECT_EQ(CountPixels(hidden, Blue), 0);

  ASSERT_EQ(blue->SetVisible(-1), S_OK);
  EXPECT_GT(CountPixels(Picture(xy, 640, 400), Blue), 100);

  const std::string path = dir.filePath("plot.png").toStdString();
  ASSERT_EQ(xy->SaveImage(path.c_str(), 321, 203), S_OK);
  EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(321, 203));
  _variant_t png;
  EXPECT_EQ(xy->CopyToPicture(0, 100, &png), E_INVALIDARG);
}

TEST_F(PlotTest, PicturesCopeWithPointsThatAreNoNumbersOrInfinite) {
  const double inf = std::numeric_limits<double>::infinity();
  const double points[][2] = {{0, 0}, {NAN, 5}, {10, NAN}, {inf, 20}, {30, -inf}, {1e300, 1e300}, {40, 40}};
  for (IPlotBase* plot : {static_cast<IPlotBase*>(xy), static_cast<IPlotBase*>(time)}) {
    IDispatchPtr channel;
    ASSERT_EQ(plot->GetChannel(0, &channel), S_OK);
    _com_ptr_t<IPlotChannelBase> c;
    if (plot == static_cast<IPlotBase*>(xy))
      c = IiXYPlotChannelPtr(IUnknownPtr(channel)).GetInterfacePtr();
    else
      c = IiPlotChannelPtr(IUnknownPtr(channel)).GetInterfacePtr();
    ASSERT_EQ(c->SetMarkersVisible(1), S_OK);
    for (const auto& p : points) ASSERT_EQ(c->AddXY(p[0], p[1], nullptr), S_OK);
    EXPECT_EQ(Picture(plot, 300, 200).size(), QSize(300, 200));
  }
}

// How much of a blue line one column (or row) of a white picture holds, in
// pixels, and whether some of it is only partly covered (smoothed).
struct Ink {
  double amount = 0.0;
  bool smooth = false;
};
Ink BlueInk(const QImage& image, bool column, int at) {
  Ink ink;
  const int length = column ? image.height() : image.width();
  for (int i = 0; i < length; ++i) {
    const QRgb p = column ? image.pixel(at, i) : image.pixel(i, at);
    const int cover = qBlue(p) - qRed(p);  // grey axes and text have none
    if (cover <= 8) continue;
    ink.amount += cover / 255.0;
    ink.smooth = ink.smooth || cover < 230;
  }
  return ink;
}

TEST_F(PlotTest, CurvesAreSmoothUpToTwentyThousandPointsAndOneAndAHalfPixelsWideInPictures) {
  // A blue line across a plot without grid. Its ink across the line is its
  // width over the cosine of its slope: 1.5 flat and 2.1 at 45 degrees for
  // the smoothed 1.5 pixel line of pictures, a little less where it is
  // drawn as a pair of one-pixel lines. On the screen, which redraws
  // often, the smoothed line is one pixel wide: it inks 1.0 at any slope.
  const struct {
    bool xy;
    double rise;  // y change over the whole x range
    long points;
    bool shown;   // the widget rather than a picture
    double least, most;  // ink of a smoothed line
    bool smooth;
  } cases[] = {
      {true, 0, 1000, false, 1.3, 1.7, true},   {true, 100, 1000, false, 1.6, 2.3, true},
      {false, 0, 20000, false, 1.3, 1.7, true}, {false, 100, 1000, false, 1.6, 2.3, true},
      {true, 0, 1000, true, 0.7, 1.3, true},    {false, 100, 1000, true, 0.7, 1.3, true},
      {true, 0, 20001, false, 0, 0, false},      {false, 100, 30000, false, 0, 0, false},
      {true, 100, 30000, true, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.xy ? "xy" : "time") << " rise " << c.rise << ", " << c.points
                                    << (c.shown ? " points, shown" : " points"));
    IiXYPlotXPtr xyPlot;
    IiPlotXPtr timePlot;
    ASSERT_EQ(c.xy ? xyPlot.CreateInstance(kXYPlotProgId) : timePlot.CreateInstance(kPlotProgId), S_OK);
    IPlotBase* plot = c.xy ? static_cast<IPlotBase*>(xyPlot) : static_cast<IPlotBase*>(timePlot);
    IiPlotDataViewPtr view;
    ASSERT_EQ(plot->GetDataView(0, &view), S_OK);
    ASSERT_EQ(view->SetGridLinesVisible(0), S_OK);
    IDispatchPtr dispatch;
    ASSERT_EQ(plot->GetChannel(0, &dispatch), S_OK);
    _com_ptr_t<IPlotChannelBase> line;
    if (c.xy)
      line = IiXYPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
    else
      line = IiPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
    ASSERT_EQ(line->SetColor(0xFF0000), S_OK);
    ASSERT_EQ(line->SetVisibleInLegend(0), S_OK);
    // Square plotting area, so that a rise of 100 runs at 45 degrees.
    Axis(plot, true, 0)->SetMin(-25);
    Axis(plot, true, 0)->SetSpan(150);
    Axis(plot, false, 0)->SetMin(-25);
    Axis(plot, false, 0)->SetSpan(150);
    plot->BeginUpdate();
    for (long i = 0; i < c.points; ++i) {
      const double t = 100.0 * static_cast<double>(i) / static_cast<double>(c.points - 1);
      ASSERT_EQ(line->AddXY(t, 30.0 + c.rise * t / 100.0, nullptr), S_OK);
    }
    QImage image;
    QWidget page;
    if (c.shown) {
      page.resize(500, 500);
      IWidgetControlPtr(IUnknownPtr(plot))->CreateWidget(&page, QRect(0, 0, 500, 500));
      page.show();
      plot->EndUpdate();
      image = page.grab().toImage();
    } else {
      plot->EndUpdate();
      image = Picture(plot, 500, 500);
    }
    ASSERT_FALSE(image.isNull());
    // Columns near the middle, so that no single pixel position decides.
    for (int at : {image.width() / 2 - 3, image.width() / 2, image.width() / 2 + 7}) {
      const Ink ink = BlueInk(image, true, at);
      EXPECT_EQ(ink.smooth, c.smooth) << "column " << at;
      if (!c.smooth) continue;
      EXPECT_GE(ink.amount, c.least) << "column " << at;
      EXPECT_LE(ink.amount, c.most) << "column " << at;
    }
  }
}

// A marker on every point while the points can be told apart; a line that
// grows past twenty thousand points as it records drops them (they would
// merge into a band and cost most of each redraw) and its smoothing.
TEST_F(PlotTest, ALineGrowingPastTwentyThousandPointsDropsItsMarkersOnScreen) {
  IiPlotXPtr plot;
  ASSERT_EQ(plot.CreateInstance(kPlotProgId), S_OK);
  IiPlotDataViewPtr view;
  ASSERT_EQ(plot->GetDataView(0, &view), S_OK);
  ASSERT_EQ(view->SetGridLinesVisible(0), S_OK);
  IDispatchPtr dispatch;
  ASSERT_EQ(plot->GetChannel(0, &dispatch), S_OK);
  IiPlotChannelPtr line{IUnknownPtr(dispatch)};
  ASSERT_EQ(line->SetColor(0xFF0000), S_OK);
  ASSERT_EQ(line->SetVisibleInLegend(0), S_OK);
  ASSERT_EQ(line->SetMarkersVisible(1), S_OK);
  Axis(plot, true, 0)->SetMin(-25);
  Axis(plot, true, 0)->SetSpan(150);
  QWidget page;
  page.resize(500, 500);
  IWidgetControlPtr(IUnknownPtr(plot))->CreateWidget(&page, QRect(0, 0, 500, 500));
  page.show();
  const auto add = [&](long n) {
    for (long i = 0; i < n; ++i) ASSERT_EQ(line->AddXY(100.0 * static_cast<double>(i) / (n - 1), 30, nullptr), S_OK);
    QCoreApplication::processEvents();  // the redraw the plot queued
  };
  add(1000);
  const QImage marked = page.grab().toImage();
  add(29000);
  const QImage dense = page.grab().toImage();
  for (int at : {marked.width() / 2 - 3, marked.width() / 2, marked.width() / 2 + 7}) {
    EXPECT_GT(BlueInk(marked, true, at).amount, 3.0) << "column " << at;
    const Ink ink = BlueInk(dense, true, at);
    EXPECT_LE(ink.amount, 1.3) << "column " << at;
    EXPECT_FALSE(ink.smooth) << "column " << at;
  }
}

// Pictures of a ramp signature to look at: build/screens/plots/.
TEST_F(PlotTest, RampSignaturePictures) {
  const QString folder = QStringLiteral(TARNIX_BUILD_DIR "/screens/plots");
  ASSERT_TRUE(QDir().mkpath(folder));
  for (long points : {1000L, 100000L}) {
    for (IPlotBase* plot : {static_cast<IPlotBase*>(xy), static_cast<IPlotBase*>(time)}) {
      const bool isXY = plot == static_cast<IPlotBase*>(xy);
      ASSERT_EQ(plot->SetTitle("Ramp Signature"), S_OK);
      Channels(plot, 3);
      Axis(plot, true, 0)->SetTitle(isXY ? "Travel (%)" : "Time (s)");
      Axis(plot, false, 0)->SetTitle("Pressure (psi)");
      plot->BeginUpdate();
      for (int c = 0; c < 3; ++c) {
        IDispatchPtr dispatch;
        ASSERT_EQ(plot->GetChannel(c, &dispatch), S_OK);
        _com_ptr_t<IPlotChannelBase> channel;
        if (isXY)
          channel = IiXYPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
        else
          channel = IiPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
        channel->SetTitle(_bstr_t("Pressure " + std::to_string(c + 1)));
        for (long i = 0; i < points; ++i) {
          const double t = static_cast<double>(i) / static_cast<double>(points);
          const bool rising = t < 0.5;
          const double travel = rising ? 200.0 * t : 200.0 * (1.0 - t);
          const double band = (rising ? 1.0 : -1.0) * (3.0 + 2.0 * c);
          const double noise = 0.4 * std::sin(7919.0 * i + c);
          channel->AddXY(isXY ? travel : 100.0 * t, 10.0 + 15.0 * c + 0.5 * travel + band + noise, nullptr);
        }
      }
      plot->EndUpdate();
      const QString name = QStringLiteral("/ramp_signature_%1_%2.png").arg(isXY ? "xy" : "time").arg(points);
      EXPECT_TRUE(Picture(plot, 1000, 442).save(folder + name));
    }
  }
}

TEST_F(PlotTest, WidgetIsMadeOnceAndItsLossDoesNotStopPictures) {
  IWidgetControlPtr widget(time);
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->Widget(), nullptr);
  auto page = std::make_unique<QWidget>();
  QWidget* w = widget->CreateWidget(page.get(), QRect(10, 20, 400, 300));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->parentWidget(), page.get());
  EXPECT_EQ(w->geometry(), QRect(10, 20, 400, 300));
  EXPECT_EQ(widget->CreateWidget(page.get(), QRect(0, 0, 10, 10)), w);
  EXPECT_EQ(widget->Widget(), w);
  page.reset();
  EXPECT_EQ(widget->Widget(), nullptr);
  EXPECT_EQ(Picture(time, 200, 100).size(), QSize(200, 100));
}

TEST_F(PlotTest, RegistrationCanBeTakenAwayAndGivenBack) {
  ASSERT_TRUE(plat::UnregisterClass(kPlotProgId));
  IiPlotXPtr p;
  EXPECT_EQ(p.CreateInstance(kPlotProgId), REGDB_E_CLASSNOTREG);
  plat::RegisterPlotClasses();
  EXPECT_EQ(p.CreateInstance(kPlotProgId), S_OK);
  IiXYPlotXPtr wrongKind;
  EXPECT_EQ(wrongKind.CreateInstance(kPlotProgId), E_NOINTERFACE);
}

// A picture of both kinds to look at.
TEST_F(PlotTest, Gallery) {
  // XY: a ramp signature, position against command, up and back down.
  ASSERT_EQ(xy->SetTitle("Ramp Test - Signature"), S_OK);
  Channels(xy, 3);
  IiPlotAxisPtr x = Axis(xy, true, 0);
  IiPlotAxisPtr y = Axis(xy, false, 0);
  x->SetTitle("Command (%)");
  x->SetMin(0);
  x->SetSpan(100);
  y->SetTitle("Position (%)");
  y->SetMin(-10);
  y->SetSpan(120);
  IiPlotDataViewPtr view;
  xy->GetDataView(0, &view);
  view->SetGridLineColor(0x00C000);
  struct Look {
    const char* name;
    COLORREF color;
    LONG markers;
  };
  const Look looks[] = {{"Opening", 0x0A0AFF, 0}, {"Closing", 0xC00000, 1}, {"Stored", 0xCC00CC, 0}};
  for (int i = 0; i < 3; ++i) {
    IiXYPlotChannelPtr c = Channel(xy, _bstr_t("Channel " + std::to_string(i + 1)));
    c->SetName(looks[i].name);
    c->SetTitle(looks[i].name);
    c->SetColor(looks[i].color);
    c->SetMarkersVisible(looks[i].markers);
    c->SetMarkerStyle(1);
  }
  IiXYPlotChannelPtr up = Channel(xy, "Opening");
  IiXYPlotChannelPtr down = Channel(xy, "Closing");
  for (int i = 0; i <= 100; i += 2) up->AddXY(i, std::max(0.0, i - 4 + 3 * std::sin(i / 9.0)), nullptr);
  for (int i = 100; i >= 0; i -= 2) down->AddXY(i, std::min(100.0, i + 4 + 3 * std::sin(i / 7.0)), nullptr);
  for (int i = 0; i <= 100; i += 10) down->SetPointMarkerVisible(50 - i / 2, 1);
  Channel(xy, "Stored")->SetXAxisName("None");

  // Time: a data monitor with a second Y axis on the right.
  ASSERT_EQ(time->SetTitle("Data Monitor"), S_OK);
  Channels(time, 3);
  LONG right = 0;
  time->AddYAxis(&right);
  Axis(time, true, 0)->SetTitle("Time (s)");
  Axis(time, true, 0)->SetMin(-1);
  Axis(time, true, 0)->SetSpan(61);
  Axis(time, false, 0)->SetName("Percent");
  Axis(time, false, 0)->SetTitle("Percent (%)");
  Axis(time, false, 0)->SetMin(-10);
  Axis(time, false, 0)->SetSpan(106);
  Axis(time, false, right)->SetName("Temperature");
  Axis(time, false, right)->SetTitle("Temperature (°C)");
  Axis(time, false, right)->SetMin(0);
  Axis(time, false, right)->SetSpan(100);
  const char* names[] = {"Position", "Command", "Temperature"};
  const COLORREF colors[] = {0x0A0AFF, 0xC00000, 0x808080};
  for (int i = 0; i < 3; ++i) {
    IiPlotChannelPtr c = Channel<IiPlotChannelPtr>(time, _bstr_t("Channel " + std::to_string(i + 1)));
    c->SetName(names[i]);
    c->SetTitle(names[i]);
    c->SetColor(colors[i]);
  }
  Channel<IiPlotChannelPtr>(time, "Temperature")->SetYAxisName("Temperature");
  Channel<IiPlotChannelPtr>(time, "Command")->SetMarkersVisible(1);
  Channel<IiPlotChannelPtr>(time, "Command")->SetMarkerStyle(2);
  for (int t = 0; t <= 60; ++t) {
    const double command = t < 20 ? 20 : (t < 40 ? 80 : 50);
    Channel<IiPlotChannelPtr>(time, "Position")->AddXY(t, command - 15 * std::exp(-(t % 20) / 3.0), nullptr);
    if (t % 5 == 0) Channel<IiPlotChannelPtr>(time, "Command")->AddXY(t, command, nullptr);
    Channel<IiPlotChannelPtr>(time, "Temperature")->AddXY(t, 38 + 4 * std::sin(t / 10.0), nullptr);
  }

  const QImage left = Picture(xy, 640, 440);
  const QImage rightImage = Picture(time, 640, 440);
  QImage gallery(1290, 440, QImage::Format_RGB32);
  gallery.fill(QColor(200, 200, 200));
  QPainter painter(&gallery);
  painter.drawImage(0, 0, left);
  painter.drawImage(650, 0, rightImage);
  painter.end();
  const QString folder = QStringLiteral(TARNIX_BUILD_DIR "/screens/controls");
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(gallery.save(folder + QStringLiteral("/plots.png")));

  // The XY plot as a page shows it, with its tool bar and a translated hint.
  ASSERT_EQ(xy->ReplaceHintText("Zoom Box", "Zoom-Rahmen"), S_OK);
  _bstr_t hint;
  ASSERT_EQ(xy->GetHintText("Zoom Box", &hint), S_OK);
  EXPECT_EQ(hint.str(), "Zoom-Rahmen");
  QWidget page;
  page.resize(660, 480);
  QWidget* shown = IWidgetControlPtr(xy)->CreateWidget(&page, QRect(10, 10, 640, 460));
  ASSERT_NE(shown, nullptr);
  page.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(shown->grab().save(folder + QStringLiteral("/plot_widget.png")));
}

}  // namespace
