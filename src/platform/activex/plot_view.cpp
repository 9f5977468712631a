#include "platform/activex/plot_view.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <qcustomplot.h>

#include "platform/activex/plot_model.h"

namespace plat::plot {
namespace {

QColor ToQColor(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QString ToQString(const _bstr_t& text) {
  const std::u16string_view v = text.view();
  return QString(reinterpret_cast<const QChar*>(v.data()), static_cast<qsizetype>(v.size()));
}

QFont ToQFont(const FontSpec& spec, double fallbackPoints) {
  QFont font(spec.name.length() ? ToQString(spec.name) : QStringLiteral("DejaVu Sans"));
  const double points = spec.size > 0 ? static_cast<double>(spec.size) / 10000.0 : fallbackPoints;
  font.setPointSizeF(std::clamp(points, 4.0, 72.0));
  font.setBold(spec.bold != 0);
  font.setUnderline(spec.underline != 0);
  return font;
}

QCPScatterStyle::ScatterShape MarkerShape(LONG style) {
  static constexpr QCPScatterStyle::ScatterShape kShapes[] = {
      QCPScatterStyle::ssCircle,      QCPScatterStyle::ssSquare,      QCPScatterStyle::ssDiamond,
      QCPScatterStyle::ssTriangle,    QCPScatterStyle::ssTriangleInverted, QCPScatterStyle::ssCross,
      QCPScatterStyle::ssPlus,        QCPScatterStyle::ssStar,        QCPScatterStyle::ssDisc,
      QCPScatterStyle::ssCrossSquare, QCPScatterStyle::ssPlusCircle,  QCPScatterStyle::ssCrossCircle,
  };
  const LONG n = static_cast<LONG>(sizeof kShapes / sizeof kShapes[0]);
  return kShapes[((style % n) + n) % n];
}

QCPScatterStyle MarkerStyle(const ChannelLook& look) {
  const double pixels = 2.0 * std::clamp<LONG>(look.markerSize, 1, 20) + 1.0;
  return QCPScatterStyle(MarkerShape(look.markerStyle), QPen(ToQColor(look.color), 1.2), QBrush(Qt::white), pixels);
}

// Small line drawings for the tool bar, so that it needs no image files.
QIcon ToolIcon(int kind) {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  auto magnifier = [&p] {
    p.drawEllipse(QPointF(8.5, 8.5), 5.5, 5.5);
    p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
  };
  switch (kind) {
    case 0:  // scroll: arrows four ways
      p.drawLine(QPointF(10, 2), QPointF(10, 18));
      p.drawLine(QPointF(2, 10), QPointF(18, 10));
      p.drawPolyline(QPolygonF({QPointF(7, 5), QPointF(10, 2), QPointF(13, 5)}));
      p.drawPolyline(QPolygonF({QPointF(7, 15), QPointF(10, 18), QPointF(13, 15)}));
      p.drawPolyline(QPolygonF({QPointF(5, 7), QPointF(2, 10), QPointF(5, 13)}));
      p.drawPolyline(QPolygonF({QPointF(15, 7), QPointF(18, 10), QPointF(15, 13)}));
      break;
    case 1: {  // resume: a circling arrow
      QPainterPath arc;
      arc.arcMoveTo(QRectF(3, 3, 14, 14), 60);
      arc.arcTo(QRectF(3, 3, 14, 14), 60, 280);
      p.drawPath(arc);
      p.drawPolyline(QPolygonF({QPointF(10, 1.5), QPointF(13.5, 4), QPointF(10.5, 7)}));
      break;
    }
    case 2:  // zoom
      magnifier();
      break;
    case 3:  // zoom out
      magnifier();
      p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
      break;
    case 4:  // zoom in
      magnifier();
      p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
      p.drawLine(QPointF(8.5, 6), QPointF(8.5, 11));
      break;
    case 5:  // select: a pointer
      p.setBrush(QColor(60, 60, 60));
      p.drawPolygon(QPolygonF({QPointF(5, 2), QPointF(5, 16), QPointF(8.5, 12.5), QPointF(11, 18), QPointF(13, 17),
                               QPointF(10.5, 11.5), QPointF(15, 11.5)}));
      break;
    case 6:  // zoom box
      p.setPen(QPen(QColor(60, 60, 60), 1.4, Qt::DashLine));
      p.drawRect(QRectF(3, 4, 14, 11));
      break;
    case 7:  // cursor: cross hairs
      p.drawLine(QPointF(10, 1), QPointF(10, 19));
      p.drawLine(QPointF(1, 10), QPointF(19, 10));
      p.drawEllipse(QPointF(10, 10), 4, 4);
      break;
    default:  // copy: two sheets
      p.drawRect(QRectF(3, 6, 9, 11));
      p.drawRect(QRectF(8, 2, 9, 11));
      break;
  }
  return QIcon(pm);
}

// The tool icons are the same on every plot: drawn once and never freed, as
// a pixmap must not be destroyed after the application object.
const QIcon& CachedToolIcon(int kind) {
  static auto* icons = new std::map<int, QIcon>;
  auto it = icons->find(kind);
  if (it == icons->end()) it = icons->emplace(kind, ToolIcon(kind)).first;
  return it->second;
}

// Past this many points a line is drawn thin and unsmoothed, without a
// marker on every point: the markers would merge into a band and cost most
// of a redraw.
constexpr size_t kSmoothPoints = 20000;
constexpr double kSmoothWidth = 1.5;

// The line's own markers: on every point when none is flagged and the
// points are few enough to tell apart.
QCPScatterStyle LineScatter(const ChannelState& channel) {
  const bool everyPoint = channel.look.markers != 0 && channel.markCount == 0 && channel.x.size() <= kSmoothPoints;
  return everyPoint ? MarkerStyle(channel.look) : QCPScatterStyle();
}

void SetScatter(QCPAbstractPlottable* line, const QCPScatterStyle& scatter) {
  if (auto* curve = qobject_cast<QCPCurve*>(line))
    curve->setScatterStyle(scatter);
  else if (auto* graph = qobject_cast<QCPGraph*>(line))
    graph->setScatterStyle(scatter);
}

// Smoothing and widening a dense curve cost much and show little.
void SetLinePen(QCPAbstractPlottable* line, QPen pen, size_t points) {
  const bool dense = points > kSmoothPoints;
  pen.setWidthF(dense ? 1.0 : kSmoothWidth);
  line->setPen(pen);
  line->setAntialiased(!dense);
}

QPointF Unit(QPointF d) {
  const double length = std::sqrt(QPointF::dotProduct(d, d));
  return length > 0.0 ? d / length : QPointF();
}

// The points of a run that lie a pixel or more (along x or y) from the last
// one kept: a smoothed one-pixel line loses ink at joints closer together,
// and a pair of such lines would look thin.
QPolygonF Thinned(const QPointF* p, qsizetype n) {
  QPolygonF kept;
  kept.reserve(n);
  kept << p[0];
  for (qsizetype k = 1; k + 1 < n; ++k) {
    const QPointF d = p[k] - kept.constLast();
    if (std::max(std::abs(d.x()), std::abs(d.y())) >= 1.0) kept << p[k];
  }
  kept << p[n - 1];
  return kept;
}

// A run of points as two one-pixel lines side by side. A smoothed one-pixel
// line inks one pixel per step along its main direction, whatever its slope;
// a line of width w inks w / cos(slope). Set w - cos^2 apart across the line,
// the pair inks about as much (where the two overlap, less than the sum).
void DrawPair(QCPPainter* painter, const QPolygonF& points, double width) {
  const qsizetype n = points.size();
  const QPointF* p = points.constData();
  QPolygonF one(n);
  QPolygonF other(n);
  QPointF* a = one.data();
  QPointF* b = other.data();
  QPointF in;
  for (qsizetype k = 0; k < n; ++k) {
    const QPointF out = k + 1 < n ? Unit(p[k + 1] - p[k]) : QPointF();
    QPointF d = in + out;
    // A sharp turn (or an end) takes the direction of one side.
    if (QPointF::dotProduct(d, d) < 0.25) d = out.isNull() ? in : out;
    d = Unit(d);
    const double slope = std::max(std::abs(d.x()), std::abs(d.y()));
    const QPointF shift = QPointF(-d.y(), d.x()) * ((width - slope * slope) / 2.0);
    a[k] = p[k] + shift;
    b[k] = p[k] - shift;
    if (!out.isNull()) in = out;
  }
  painter->drawPolyline(one);
  painter->drawPolyline(other);
}

// Set on the plot while it draws a picture (saved, copied, in a report).
constexpr const char* kDrawingPicture = "tarnixDrawingPicture";

// QPainter strokes a smoothed line wider than one pixel many times slower
// than a one-pixel line, which it has a fast path for. In pictures our
// smoothed lines are drawn as pairs of one-pixel lines instead; on the
// screen, which redraws often, as one smoothed one-pixel line. False
// leaves the line to QCustomPlot (printing, scaled or high-density output,
// other pens).
bool DrawnThin(QCPPainter* painter, const QVector<QPointF>& points, bool picture) {
  QPen pen = painter->pen();
  const double width = pen.widthF();
  if (width <= 1.0 || width > kSmoothWidth || pen.style() != Qt::SolidLine || pen.color().alpha() == 0 ||
      !painter->antialiasing() || painter->modes().testFlag(QCPPainter::pmVectorized) ||
      painter->deviceTransform().type() > QTransform::TxTranslate)
    return false;
  pen.setWidth(0);
  painter->setPen(pen);
  const QPointF* p = points.constData();
  const qsizetype n = points.size();
  for (qsizetype start = 0; start < n;) {
    qsizetype end = start;
    while (end < n && std::isfinite(p[end].x()) && std::isfinite(p[end].y())) ++end;  // gaps break the line
    if (end - start > 1) {
      if (picture)
        DrawPair(painter, Thinned(p + start, end - start), width);
      else
        painter->drawPolyline(p + start, static_cast<int>(end - start));
    }
    start = end + 1;
  }
  return true;
}

bool DrawingPicture(const QCustomPlot* plot) { return plot && plot->property(kDrawingPicture).toBool(); }

class Graph : public QCPGraph {
 public:
  using QCPGraph::QCPGraph;

 protected:
  void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override {
    applyDefaultAntialiasingHint(painter);
    if (!DrawnThin(painter, lines, DrawingPicture(parentPlot()))) QCPGraph::drawLinePlot(painter, lines);
  }
};

class Curve : public QCPCurve {
 public:
  using QCPCurve::QCPCurve;

 protected:
  void drawCurveLine(QCPPainter* painter, const QVector<QPointF>& lines) const override {
    applyDefaultAntialiasingHint(painter);
    if (!DrawnThin(painter, lines, DrawingPicture(parentPlot()))) QCPCurve::drawCurveLine(painter, lines);
  }
};

// The built-in hints of the tool bar buttons, in button order.
const char* const kHints[] = {"Scroll (Axes)",    "Resume All (Tracking)", "Zoom (Axes)",
                              "Zoom Out All Axes", "Zoom In All Axes",     "Select",
                              "Zoom Box",          "Cursor",               "Copy to Clipboard"};

}  // namespace

PlotView::PlotView(PlotModel& model) : m_model(model) {}

PlotView::~PlotView() {
  if (m_container) {
    m_container->removeEventFilter(this);
    disconnect(m_container, nullptr, this, nullptr);
    delete m_container.data();
  }
}

QWidget* PlotView::CreateWidget(QWidget* parent, const QRect& rect) {
  EnsurePlot();
  if (!m_hasWidget) {
    m_hasWidget = true;
    m_container->setParent(parent);
    m_container->setGeometry(rect);
    m_container->show();
    m_layoutDirty = true;
    ScheduleRedraw();
  }
  return m_container;
}

QWidget* PlotView::Widget() const { return m_hasWidget ? m_container.data() : nullptr; }

void PlotView::Changed(bool layout) {
  m_layoutDirty = m_layoutDirty || layout;
  m_dataDirty = true;
  ScheduleRedraw();
}

void PlotView::BeginUpdate() { ++m_updateDepth; }

void PlotView::EndUpdate() {
  if (m_updateDepth > 0) --m_updateDepth;
  if (m_updateDepth == 0) Redraw();
}

void PlotView::Redraw() {
  if (!m_plot) return;  // nothing shown, nothing to draw; pictures sync for themselves
  Sync();
  m_plot->replot(m_container->isVisible() ? QCustomPlot::rpImmediateRefresh : QCustomPlot::rpRefreshHint);
}

void PlotView::ScheduleRedraw() {
  if (m_queued || m_updateDepth > 0 || !m_container || !m_container->isVisible()) return;
  m_queued = true;
  QTimer::singleShot(0, this, [this] {
    m_queued = false;
    if (m_updateDepth == 0) SafeRedraw();
  });
}

void PlotView::SafeRedraw() {
  // Runs from the event loop: nothing may escape.
  try {
    Redraw();
  } catch (const std::exception& e) {
    qWarning("plot redraw failed: %s", e.what());
  } catch (...) {
    qWarning("plot redraw failed");
  }
}

bool PlotView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_container && event->type() == QEvent::Show && (m_layoutDirty || m_dataDirty)) SafeRedraw();
  return QObject::eventFilter(watched, event);
}

QImage PlotView::Render(int width, int height) {
  EnsurePlot();
  Sync();
  std::vector<QCPRange> userRanges;
  for (auto* axes : {&m_xAxes, &m_yAxes})
    for (const DrawnAxis& a : *axes) userRanges.push_back(a.axis->range());
  ApplyModelRanges();
  m_plot->setProperty(kDrawingPicture, true);
  const QImage image = m_plot->toPixmap(width, height).toImage();
  m_plot->setProperty(kDrawingPicture, false);
  size_t i = 0;
  for (auto* axes : {&m_xAxes, &m_yAxes})
    for (const DrawnAxis& a : *axes) a.axis->setRange(userRanges[i++]);
  return image;
}

void PlotView::EnsurePlot() {
  if (m_plot) return;
  auto* container = new QWidget;
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  MakeToolBar(container);
  layout->addWidget(m_toolBar);

  m_plot = new QCustomPlot(container);
  layout->addWidget(m_plot, 1);
  m_plot->setNoAntialiasingOnDrag(true);
  m_plot->setAntialiasedElements(QCP::aeScatters | QCP::aeLegendItems);

  // Our own rows: title, plotting area, legend.
  m_title = new QCPTextElement(m_plot, QString(), QFont());
  // The legend keeps its own width, centred under the plotting area.
  m_legendGrid = new QCPLayoutGrid;
  m_legendGrid->setMargins(QMargins(6, 0, 6, 4));
  m_legendGrid->addElement(0, 0, new QCPLayoutElement(m_plot));
  m_legendGrid->addElement(0, 1, m_plot->legend);
  m_legendGrid->addElement(0, 2, new QCPLayoutElement(m_plot));
  m_legendGrid->setColumnStretchFactors({1.0, 0.001, 1.0});
  m_sideGrid = new QCPLayoutGrid;
  // Owned by the plot while it stands outside the layout, as the layout
  // leaves what it lets go.
  m_sideGrid->setParent(m_plot);
  m_sideGrid->setMargins(QMargins(2, 6, 6, 6));
  m_sideGrid->addElement(0, 0, new QCPLayoutElement(m_plot));
  m_sideGrid->addElement(2, 0, new QCPLayoutElement(m_plot));
  m_sideGrid->setRowStretchFactors({1.0, 0.001, 1.0});
  const QFont legendFont(QStringLiteral("DejaVu Sans"), 8);
  m_plot->legend->setFillOrder(QCPLegend::foColumnsFirst);
  m_plot->legend->setBorderPen(QPen(QColor(205, 205, 205)));
  m_plot->legend->setFont(legendFont);
  m_plot->legend->setTextColor(QColor(50, 50, 50));
  // An item is as high as its icon: make that the text's height, or the
  // text is cut.
  m_plot->legend->setIconSize(22, QFontMetrics(legendFont).height() + 2);
  m_plot->legend->setColumnSpacing(14);
  m_plot->legend->setRowSpacing(0);
  m_plot->legend->setVisible(true);
  m_titleShown = true;   // both rows start out placed; ArrangeRows takes out what is unused
  m_legendPlace = LegendPlace::Below;
  m_plot->plotLayout()->insertRow(0);
  m_plot->plotLayout()->addElement(0, 0, m_title);
  m_plot->plotLayout()->addElement(2, 0, m_legendGrid);
  m_plot->plotLayout()->setRowStretchFactors({0.001, 1.0, 0.001});
  m_plot->xAxis2->setVisible(false);
  m_plot->yAxis2->setVisible(false);

  QObject::connect(m_plot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
    if (m_mode == Mode::Cursor) ShowCursor(e->position().toPoint());
  });
  m_container = container;
  container->installEventFilter(this);
  QObject::connect(container, &QObject::destroyed, this, [this] { DropPlot(); });
  m_layoutDirty = true;
  m_dataDirty = true;
}

void PlotView::MakeToolBar(QWidget* container) {
  m_toolBar = new QToolBar(container);
  m_toolBar->setIconSize(QSize(20, 20));
  // A plain background rather than a style sheet, which each plot would
  // parse anew.
  QPalette palette = m_toolBar->palette();
  palette.setColor(QPalette::Window, QColor(0xF4, 0xF4, 0xF4));
  m_toolBar->setPalette(palette);
  m_toolBar->setAutoFillBackground(true);
  m_toolBar->setMovable(false);
  auto* modes = new QActionGroup(m_toolBar);
  for (int i = 0; i < static_cast<int>(sizeof kHints / sizeof kHints[0]); ++i) {
    QAction* action = m_toolBar->addAction(CachedToolIcon(i), QString::fromLatin1(kHints[i]));
    action->setToolTip(action->text());
    m_actions.emplace_back(QString::fromLatin1(kHints[i]), action);
    auto mode = [this, action, modes](Mode m) {
      action->setCheckable(true);
      modes->addAction(action);
      QObject::connect(action, &QAction::triggered, this, [this, m] { SetMode(m); });
    };
    switch (i) {
      case 0: mode(Mode::Scroll); break;
      case 1:
        QObject::connect(action, &QAction::triggered, this, [this] {
          ApplyModelRanges();
          m_plot->replot();
        });
        break;
      case 2: mode(Mode::Zoom); break;
      case 3: QObject::connect(action, &QAction::triggered, this, [this] { ZoomAll(2.0); }); break;
      case 4: QObject::connect(action, &QAction::triggered, this, [this] { ZoomAll(0.5); }); break;
      case 5:
        mode(Mode::Select);
        action->setChecked(true);
        break;
      case 6: mode(Mode::ZoomBox); break;
      case 7: mode(Mode::Cursor); break;
      default: QObject::connect(action, &QAction::triggered, this, [this] { CopyToClipboard(); }); break;
    }
  }
  m_cursorLabel = new QLabel(m_toolBar);
  m_cursorLabel->setContentsMargins(12, 0, 6, 0);
  m_toolBar->addWidget(m_cursorLabel);
}

void PlotView::DropPlot() {
  // The window layer deleted the widget with its page.
  m_container.clear();
  m_plot = nullptr;
  m_title = nullptr;
  m_legendGrid = nullptr;
  m_sideGrid = nullptr;
  m_toolBar = nullptr;
  m_cursorLabel = nullptr;
  m_actions.clear();
  m_xAxes.clear();
  m_yAxes.clear();
  m_channels.clear();
  m_hasWidget = false;
  m_queued = false;
}

void PlotView::Sync() {
  const bool layout = m_layoutDirty;
  if (layout) SyncLayout();
  SyncChannels(layout);
  m_layoutDirty = false;
  m_dataDirty = false;
}

void PlotView::SyncLayout() {
  const PlotLook& look = m_model.look;
  const QColor back = ToQColor(look.backColor);
  m_plot->setBackground(back);
  m_plot->axisRect()->setBackground(back);

  m_title->setText(ToQString(look.title));
  m_title->setFont(ToQFont(look.titleFont, 11));
  m_title->setTextColor(ToQColor(look.titleColor));

  m_toolBar->setVisible(look.toolBar.visible != 0);
  for (auto& [hint, action] : m_actions) {
    const auto it = m_model.hints.find(hint.toStdU16String());
    const QString text = it == m_model.hints.end() ? hint : QString::fromStdU16String(it->second);
    action->setText(text);
    action->setToolTip(text);
  }

  SyncAxes(true);
  SyncAxes(false);
}

void PlotView::SyncAxes(bool xAxis) {
  const std::vector<AxisState>& axes = m_model.Axes(xAxis);
  std::vector<DrawnAxis>& drawn = xAxis ? m_xAxes : m_yAxes;
  QCPAxisRect* rect = m_plot->axisRect();
  while (drawn.size() < axes.size()) {
    DrawnAxis d;
    if (drawn.empty())
      d.axis = xAxis ? m_plot->xAxis : m_plot->yAxis;
    else if (!xAxis && drawn.size() == 1)
      d.axis = m_plot->yAxis2;
    else
      d.axis = rect->addAxis(xAxis ? QCPAxis::atBottom : QCPAxis::atRight);
    drawn.push_back(d);
  }

  const DataViewState& view = m_model.look.dataView;
  const _bstr_t& gridName = xAxis ? view.xAxisName : view.yAxisName;
  const int gridAxis = m_model.BoundAxis(xAxis, gridName);
  QColor gridColor = ToQColor(view.gridColor);
  gridColor.setAlpha(150);  // a strong colour still gives a light grid
  const QColor ink(70, 70, 70);
  for (size_t i = 0; i < axes.size(); ++i) {
    const AxisState& a = axes[i];
    DrawnAxis& d = drawn[i];
    QCPAxis* axis = d.axis;
    axis->setVisible(a.visible != 0);
    axis->setLabel(ToQString(a.title));
    axis->setLabelFont(ToQFont(a.titleFont, 9));
    axis->setLabelColor(ink);
    axis->setTickLabelFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    axis->setTickLabelColor(ink);
    axis->setBasePen(QPen(QColor(120, 120, 120)));
    axis->setTickPen(QPen(QColor(120, 120, 120)));
    axis->setSubTickPen(QPen(QColor(160, 160, 160)));
    axis->setTickLengthIn(0);
    axis->setTickLengthOut(4);
    axis->setSubTickLengthIn(0);
    axis->setSubTickLengthOut(2);
    const bool grid = view.gridVisible != 0 && a.visible != 0 && (IsAllAxes(gridName) || gridAxis == static_cast<int>(i));
    axis->grid()->setVisible(grid);
    axis->grid()->setPen(QPen(gridColor, 1, Qt::DotLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    axis->grid()->setSubGridVisible(false);
    if (!d.applied || d.min != a.min || d.span != a.span) {
      const double lo = a.min;
      const double hi = a.min + a.span;
      if (std::isfinite(lo) && std::isfinite(hi) && lo != hi) axis->setRange(std::min(lo, hi), std::max(lo, hi));
      d.min = a.min;
      d.span = a.span;
      d.applied = true;
    }
  }
}

void PlotView::ApplyModelRanges() {
  for (bool xAxis : {true, false}) {
    std::vector<DrawnAxis>& drawn = xAxis ? m_xAxes : m_yAxes;
    const std::vector<AxisState>& axes = m_model.Axes(xAxis);
    for (size_t i = 0; i < drawn.size() && i < axes.size(); ++i) drawn[i].applied = false;
  }
  SyncAxes(true);
  SyncAxes(false);
}

void PlotView::SyncChannels(bool layout) {
  // Channels the model no longer has.
  for (auto it = m_channels.begin(); it != m_channels.end();) {
    auto channel = it->second.channel.lock();
    if (!channel || !channel->attached || channel.get() != it->first) {
      if (it->second.line) m_plot->removePlottable(it->second.line);
      if (it->second.marks) m_plot->removePlottable(it->second.marks);
      it = m_channels.erase(it);
    } else {
      ++it;
    }
  }

  bool legendChanged = false;
  int legendCount = 0;
  for (const auto& shared : m_model.channels) {
    const ChannelState& channel = *shared;
    auto [it, added] = m_channels.try_emplace(&channel);
    DrawnChannel& drawn = it->second;
    if (added) {
      drawn.channel = shared;
      if (m_model.kind() == Kind::XY)
        drawn.line = new Curve(m_plot->xAxis, m_plot->yAxis);
      else
        drawn.line = new Graph(m_plot->xAxis, m_plot->yAxis);
      drawn.line->removeFromLegend();
    }
    SyncPoints(drawn, channel);
    if (!layout && !added) {
      if (drawn.markGeneration != channel.markGeneration) SyncMarks(drawn, channel);
      continue;
    }

    const ChannelLook& look = channel.look;
    const int xi = m_model.BoundAxis(true, look.xAxisName);
    const int yi = m_model.BoundAxis(false, look.yAxisName);
    const bool drawable = xi >= 0 && yi >= 0;
    const bool shown = drawable && look.visible != 0;
    QCPAbstractPlottable* line = drawn.line;
    if (drawable) {
      line->setKeyAxis(m_xAxes[static_cast<size_t>(xi)].axis);
      line->setValueAxis(m_yAxes[static_cast<size_t>(yi)].axis);
    }
    line->setVisible(shown);
    line->setName(ToQString(look.title));
    SetLinePen(line, QPen(ToQColor(look.color)), channel.x.size());
    SetScatter(line, LineScatter(channel));
    SyncMarks(drawn, channel);

    const bool listed = shown && look.legend != 0;
    if (listed) ++legendCount;
    if (listed != m_plot->legend->hasItemWithPlottable(line)) legendChanged = true;
  }

  if (layout) {
    // Rebuild the legend in channel order.
    if (legendChanged || legendCount != m_plot->legend->itemCount()) {
      m_plot->legend->clearItems();
      for (const auto& shared : m_model.channels) {
        const DrawnChannel& drawn = m_channels[shared.get()];
        const ChannelLook& look = shared->look;
        if (drawn.line->visible() && look.legend != 0) drawn.line->addToLegend(m_plot->legend);
      }
    }
    // Items already placed keep their cells under a new wrap: place them again.
    // Below: rows of at most four, as even as they come, so long titles stay
    // whole; more than two such rows go beside the plotting area, in one
    // column, or two past a column's worth.
    constexpr int kMostBelow = 8, kMostInColumn = 12;
    const LegendPlace place = legendCount == 0          ? LegendPlace::None
                              : legendCount > kMostBelow ? LegendPlace::Right
                                                         : LegendPlace::Below;
    // Beside it, the columns are read downwards.
    const bool beside = place == LegendPlace::Right;
    const int rows = beside ? (legendCount > kMostInColumn ? (legendCount + 1) / 2 : std::max(1, legendCount))
                            : std::max(1, (legendCount + 3) / 4);
    const int wrap = beside ? rows : std::max(1, (legendCount + rows - 1) / rows);
    const auto order = beside ? QCPLegend::foRowsFirst : QCPLegend::foColumnsFirst;
    if (m_plot->legend->wrap() != wrap || m_plot->legend->fillOrder() != order) {
      m_plot->legend->setWrap(wrap);
      m_plot->legend->setFillOrder(order, true);
    }
    ArrangeRows(m_model.look.title.length() > 0, place);
  }
}

void PlotView::SyncPoints(DrawnChannel& drawn, const ChannelState& channel) {
  const size_t n = channel.x.size();
  const bool full = drawn.generation != channel.generation;
  if (!full && drawn.synced == n) return;
  const size_t from = full ? 0 : drawn.synced;
  if (auto* curve = qobject_cast<QCPCurve*>(drawn.line)) {
    // Curves keep the order of adding: t is the point's index.
    QVector<QCPCurveData> data;
    data.reserve(static_cast<qsizetype>(n - from));
    for (size_t i = from; i < n; ++i) data.append(QCPCurveData(static_cast<double>(i), channel.x[i], channel.y[i]));
    if (full)
      curve->data()->set(data, true);
    else
      curve->data()->add(data, true);
  } else if (auto* graph = qobject_cast<QCPGraph*>(drawn.line)) {
    // A graph sorts by x; a point without a number for x has no place.
    QVector<QCPGraphData> data;
    data.reserve(static_cast<qsizetype>(n - from));
    bool sorted = true;
    for (size_t i = from; i < n; ++i) {
      if (std::isnan(channel.x[i])) continue;
      if (!data.isEmpty() && channel.x[i] < data.constLast().key) sorted = false;
      data.append(QCPGraphData(channel.x[i], channel.y[i]));
    }
    if (full)
      graph->data()->set(data, sorted);
    else
      graph->data()->add(data, sorted);
  }
  SetLinePen(drawn.line, QPen(drawn.line->pen().color()), n);
  drawn.generation = channel.generation;
  drawn.synced = n;
  // A channel that grows or shrinks across the limit changes its look.
  if (const bool dense = n > kSmoothPoints; dense != drawn.dense) {
    drawn.dense = dense;
    SetLinePen(drawn.line, QPen(ToQColor(channel.look.color)), n);
    if (!drawn.marks) SetScatter(drawn.line, LineScatter(channel));
  }
}

void PlotView::SyncMarks(DrawnChannel& drawn, const ChannelState& channel) {
  drawn.markGeneration = channel.markGeneration;
  const ChannelLook& look = channel.look;
  const bool wanted = look.markers != 0 && channel.markCount > 0 && drawn.line->visible();
  if (!wanted) {
    if (drawn.marks) {
      m_plot->removePlottable(drawn.marks);
      drawn.marks = nullptr;
    }
    SetScatter(drawn.line, LineScatter(channel));
    return;
  }
  auto* marks = qobject_cast<QCPCurve*>(drawn.marks);
  if (!marks) {
    marks = new QCPCurve(drawn.line->keyAxis(), drawn.line->valueAxis());
    marks->removeFromLegend();
    marks->setLineStyle(QCPCurve::lsNone);
    drawn.marks = marks;
  }
  marks->setKeyAxis(drawn.line->keyAxis());
  marks->setValueAxis(drawn.line->valueAxis());
  marks->setScatterStyle(MarkerStyle(look));
  SetScatter(drawn.line, QCPScatterStyle());
  QVector<QCPCurveData> data;
  data.reserve(static_cast<qsizetype>(channel.markCount));
  for (size_t i = 0; i < channel.x.size(); ++i)
    if (channel.PointMarked(i)) data.append(QCPCurveData(static_cast<double>(i), channel.x[i], channel.y[i]));
  marks->data()->set(data, true);
}

void PlotView::ArrangeRows(bool title, LegendPlace legend) {
  if (title == m_titleShown && legend == m_legendPlace) return;
  QCPLayoutGrid* grid = m_plot->plotLayout();
  if (m_titleShown) grid->take(m_title);
  if (m_legendPlace == LegendPlace::Below) grid->take(m_legendGrid);
  if (m_legendPlace == LegendPlace::Right) grid->take(m_sideGrid);
  grid->simplify();
  // Only the plotting area is left, at (0, 0).
  if (legend != LegendPlace::None) {
    QCPLayoutGrid* holder = legend == LegendPlace::Right ? m_sideGrid : m_legendGrid;
    if (m_plot->legend->layout() != holder) {
      // Its cell in the other holder stays, empty, for its return.
      if (auto* from = qobject_cast<QCPLayoutGrid*>(m_plot->legend->layout())) from->take(m_plot->legend);
      if (holder == m_sideGrid)
        m_sideGrid->addElement(1, 0, m_plot->legend);
      else
        m_legendGrid->addElement(0, 1, m_plot->legend);
    }
  }
  if (legend == LegendPlace::Right) grid->addElement(0, 1, m_sideGrid);
  if (title) {
    grid->insertRow(0);
    grid->addElement(0, 0, m_title);
  }
  if (legend == LegendPlace::Below) grid->addElement(grid->rowCount(), 0, m_legendGrid);
  // An element taken out of the layout is still drawn where it last stood.
  m_title->setVisible(title);
  m_plot->legend->setVisible(legend != LegendPlace::None);
  for (int r = 0; r < grid->rowCount(); ++r)
    grid->setRowStretchFactor(r, grid->element(r, 0) == m_plot->axisRect() ? 1.0 : 0.001);
  if (grid->columnCount() > 1) grid->setColumnStretchFactors({1.0, 0.001});
  m_titleShown = title;
  m_legendPlace = legend;
}

void PlotView::SetMode(Mode mode) {
  m_mode = mode;
  QCP::Interactions interactions;
  if (mode == Mode::Scroll) interactions |= QCP::iRangeDrag;
  if (mode == Mode::Zoom) interactions |= QCP::iRangeZoom | QCP::iRangeDrag;
  m_plot->setInteractions(interactions);
  m_plot->setSelectionRectMode(mode == Mode::ZoomBox ? QCP::srmZoom : QCP::srmNone);
  QList<QCPAxis*> xs, ys;
  for (const DrawnAxis& a : m_xAxes) xs << a.axis;
  for (const DrawnAxis& a : m_yAxes) ys << a.axis;
  m_plot->axisRect()->setRangeDragAxes(xs, ys);
  m_plot->axisRect()->setRangeZoomAxes(xs, ys);
  m_plot->setCursor(mode == Mode::Cursor ? Qt::CrossCursor : Qt::ArrowCursor);
  if (mode != Mode::Cursor) m_cursorLabel->clear();
}

void PlotView::ZoomAll(double factor) {
  for (auto* axes : {&m_xAxes, &m_yAxes})
    for (const DrawnAxis& a : *axes) a.axis->scaleRange(factor, a.axis->range().center());
  m_plot->replot();
}

void PlotView::ShowCursor(const QPoint& pos) {
  // Read against the first shown axis of each direction.
  auto first = [](const std::vector<DrawnAxis>& axes) -> QCPAxis* {
    for (const DrawnAxis& a : axes)
      if (a.axis->visible()) return a.axis;
    return axes.empty() ? nullptr : axes.front().axis;
  };
  QCPAxis* x = first(m_xAxes);
  QCPAxis* y = first(m_yAxes);
  if (!x || !y) return;
  m_cursorLabel->setText(QStringLiteral("x: %1   y: %2")
                             .arg(x->pixelToCoord(pos.x()), 0, 'g', 6)
                             .arg(y->pixelToCoord(pos.y()), 0, 'g', 6));
}

void PlotView::CopyToClipboard() {
  const QImage image = Render(std::max(m_plot->width(), 200), std::max(m_plot->height(), 150));
  QApplication::clipboard()->setImage(image);
}

}  // namespace plat::plot
