#pragma once
// Draws a plot model with QCustomPlot: the widget the window layer shows
// (a tool bar over the plot) and pictures at any size, also while the
// widget is hidden or was never made. Changes are drawn once per turn of
// the event loop, and only while the widget is shown; a hidden plot is
// brought up to date when it is shown or drawn into a picture.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class QCustomPlot;
class QCPAxis;
class QCPAbstractPlottable;
class QCPLayoutGrid;
class QCPTextElement;
class QToolBar;
class QAction;
class QLabel;

namespace plat::plot {

class PlotModel;
struct ChannelState;

class PlotView : public QObject {
 public:
  explicit PlotView(PlotModel& model);
  ~PlotView() override;
  PlotView(const PlotView&) = delete;
  PlotView& operator=(const PlotView&) = delete;

  QWidget* CreateWidget(QWidget* parent, const QRect& rect);
  QWidget* Widget() const;

  // The model changed; layout: more than points.
  void Changed(bool layout);
  void BeginUpdate();
  void EndUpdate();
  // Brings the drawing up to date and draws now.
  void Redraw();
  // The plot at the model's axis ranges, whatever the user zoomed to.
  QImage Render(int width, int height);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct DrawnChannel {
    std::weak_ptr<ChannelState> channel;
    QCPAbstractPlottable* line = nullptr;
    QCPAbstractPlottable* marks = nullptr;
    std::uint64_t generation = ~std::uint64_t{0};
    std::uint64_t markGeneration = ~std::uint64_t{0};
    size_t synced = 0;
    bool dense = false;  // more points than a line is smoothed and marked for
  };
  struct DrawnAxis {
    QCPAxis* axis = nullptr;
    double min = 0.0;  // the model range last applied; the user may have zoomed since
    double span = 0.0;
    bool applied = false;
  };
  enum class Mode { Select, Scroll, Zoom, ZoomBox, Cursor };

  void EnsurePlot();
  void MakeToolBar(QWidget* container);
  void ScheduleRedraw();
  void SafeRedraw();
  void Sync();
  void SyncLayout();
  void SyncAxes(bool xAxis);
  void SyncChannels(bool layout);
  void SyncPoints(DrawnChannel& drawn, const ChannelState& channel);
  void SyncMarks(DrawnChannel& drawn, const ChannelState& channel);
  // Where the legend stands: none, under the plotting area, or beside it
  // (many channels would squeeze the plotting area under a tall legend).
  enum class LegendPlace { None, Below, Right };
  void ArrangeRows(bool title, LegendPlace legend);
  void ApplyModelRanges();
  void SetMode(Mode mode);
  void ZoomAll(double factor);
  void ShowCursor(const QPoint& pos);
  void CopyToClipboard();
  void DropPlot();

  PlotModel& m_model;
  QPointer<QWidget> m_container;  // made by CreateWidget, or for pictures only
  bool m_hasWidget = false;
  QCustomPlot* m_plot = nullptr;  // child of m_container
  QCPTextElement* m_title = nullptr;
  QCPLayoutGrid* m_legendGrid = nullptr;  // centres the legend below
  QCPLayoutGrid* m_sideGrid = nullptr;    // centres it on the right
  QToolBar* m_toolBar = nullptr;
  QLabel* m_cursorLabel = nullptr;
  std::vector<std::pair<QString, QAction*>> m_actions;  // built-in hint -> button
  std::vector<DrawnAxis> m_xAxes;
  std::vector<DrawnAxis> m_yAxes;
  std::map<const ChannelState*, DrawnChannel> m_channels;
  Mode m_mode = Mode::Select;
  bool m_layoutDirty = true;
  bool m_dataDirty = true;
  bool m_queued = false;
  bool m_titleShown = false;
  LegendPlace m_legendPlace = LegendPlace::None;
  int m_updateDepth = 0;
};

}  // namespace plat::plot
