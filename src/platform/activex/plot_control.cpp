// The plot controls' COM objects: the plot itself, and the channel, axis,
// data view, tool bar and font objects it hands out. Each holds the shared
// state, so an object handed out stays safe to call after the plot is gone.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/activex/plot.h"
#include "platform/activex/plot_model.h"
#include "platform/activex/plot_view.h"
#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"
#include "platform/sys/numeric.h"
#include "platform/sys/safe_file.h"

namespace plat::plot {
namespace {

bool Png(const QImage& image, QByteArray* bytes) {
  QBuffer buffer(bytes);
  return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG");
}

constexpr DISPID kDispGetChannelByName = 1;

std::string Text(const _bstr_t& t) { return t.str(); }
std::string Hex(COLORREF c) { return FormatNumber("0x%06X", c); }
std::string Num(double v) { return FormatNumber("%.15g", v); }
std::string Int(long long v) { return std::to_string(v); }
std::string FontText(const FontSpec& f) {
  return f.name.str() + ',' + Int(f.size) + ',' + Int(f.bold) + ',' + Int(f.underline) + ',' + Int(f.charset);
}
std::string VariantText(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2: return Int(v.iVal);
    case VT_I4: return Int(v.lVal);
    case VT_R4: return Num(v.fltVal);
    case VT_R8: return Num(v.dblVal);
    case VT_BOOL: return Int(v.boolVal);
    case VT_UI1: return Int(v.bVal);
    case VT_BSTR: return v.bstrVal.str();
    default: return std::string();
  }
}

bool HaveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// What every object of one plot shares.
struct PlotCore {
  explicit PlotCore(Kind kind) : model(kind) {}

  PlotModel model;
  ControlJournal journal;
  struct Failure {
    HRESULT hr;
    int times;
  };
  std::map<std::string, Failure> failures;
  std::function<void(bool layout)> changed;  // set while the plot object lives

  HRESULT Check(const std::string& label) {
    if (failures.empty()) return S_OK;
    const auto it = failures.find(label);
    if (it == failures.end()) return S_OK;
    const HRESULT hr = it->second.hr;
    if (it->second.times > 0 && --it->second.times == 0) failures.erase(it);
    return hr;
  }
  void Notify(bool layout) {
    if (changed) changed(layout);
  }
  // A journaled change: fails as planned, else applies, records and draws.
  template <class Apply>
  HRESULT Put(const std::string& label, const std::string& value, bool layout, Apply&& apply) {
    if (const HRESULT hr = Check(label); FAILED(hr)) return hr;
    apply();
    journal.Add(label + '=' + value);
    Notify(layout);
    return S_OK;
  }
  template <class Apply>
  HRESULT Operation(const std::string& label, bool layout, Apply&& apply) {
    if (const HRESULT hr = Check(label); FAILED(hr)) return hr;
    const HRESULT hr = apply();
    if (FAILED(hr)) return hr;
    journal.Add(label);
    Notify(layout);
    return hr;
  }
};

template <class T>
HRESULT Out(T* out, const T& value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT ReadFont(IFont* font, FontSpec* spec) {
  if (!font) return E_POINTER;
  FontSpec f;
  HRESULT hr = font->get_Name(&f.name);
  if (SUCCEEDED(hr)) hr = font->get_Size(&f.size);
  if (SUCCEEDED(hr)) hr = font->get_Bold(&f.bold);
  if (SUCCEEDED(hr)) hr = font->get_Underline(&f.underline);
  if (SUCCEEDED(hr)) hr = font->get_Charset(&f.charset);
  if (FAILED(hr)) return hr;
  *spec = f;
  return S_OK;
}

// A font's values, handed out as a copy.
class FontObject : public ComObject<IFont> {
 public:
  explicit FontObject(FontSpec spec) : m_spec(std::move(spec)) {}
  HRESULT get_Name(_bstr_t* name) override { return Out(name, m_spec.name); }
  HRESULT put_Name(const _bstr_t& name) override { return m_spec.name = name, S_OK; }
  HRESULT get_Size(CY* size) override { return Out(size, m_spec.size); }
  HRESULT put_Size(CY size) override { return m_spec.size = size, S_OK; }
  HRESULT get_Bold(BOOL* bold) override { return Out(bold, m_spec.bold); }
  HRESULT put_Bold(BOOL bold) override { return m_spec.bold = bold, S_OK; }
  HRESULT get_Underline(BOOL* underline) override { return Out(underline, m_spec.underline); }
  HRESULT put_Underline(BOOL underline) override { return m_spec.underline = underline, S_OK; }
  HRESULT get_Charset(short* charset) override { return Out(charset, m_spec.charset); }
  HRESULT put_Charset(short charset) override { return m_spec.charset = charset, S_OK; }

 private:
  FontSpec m_spec;
};

template <class I>
HRESULT NewFont(const FontSpec& spec, I** out) {
  if (!out) return E_POINTER;
  return CreateComObject<FontObject>(I::kIID, reinterpret_cast<void**>(out), spec);
}

HRESULT StoreSetting(PlotCore& core, const std::string& object, Settings& settings, int number,
                     const VARIANT& value, bool layout = false) {
  if (!IsStorableSetting(value)) return DISP_E_BADVARTYPE;
  return core.Put(object + "setting[" + Int(number) + ']', VariantText(value), layout,
                  [&] { settings[number] = value; });
}

HRESULT ReadSetting(const Settings& settings, int number, VARIANT* value) {
  if (!value) return E_POINTER;
  const auto it = settings.find(number);
  *value = it == settings.end() ? _variant_t() : it->second;
  return S_OK;
}

// Objects handed out through IDispatch answer no names of their own.
template <class... I>
class DispatchObject : public ComObject<I..., IDispatch> {
 public:
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, void*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

template <class ChannelI>
class ChannelObject : public DispatchObject<ChannelI> {
 public:
  ChannelObject(std::shared_ptr<PlotCore> core, std::shared_ptr<ChannelState> channel)
      : m_core(std::move(core)), m_ch(std::move(channel)) {}

  HRESULT SetName(const _bstr_t& v) override { return Set("name", Text(v), [&] { m_ch->look.name = v; }); }
  HRESULT GetName(_bstr_t* v) override { return Get(v, m_ch->look.name); }
  HRESULT SetVisible(VARIANT_BOOL v) override { return Set("visible", Int(v), [&] { m_ch->look.visible = v; }); }
  HRESULT GetVisible(VARIANT_BOOL* v) override { return Get(v, m_ch->look.visible); }
  HRESULT SetTitle(const _bstr_t& v) override { return Set("title", Text(v), [&] { m_ch->look.title = v; }); }
  HRESULT GetTitle(_bstr_t* v) override { return Get(v, m_ch->look.title); }
  HRESULT SetColor(COLORREF v) override { return Set("color", Hex(v), [&] { m_ch->look.color = v; }); }
  HRESULT GetColor(COLORREF* v) override { return Get(v, m_ch->look.color); }
  HRESULT SetVisibleInLegend(VARIANT_BOOL v) override {
    return Set("legend", Int(v), [&] { m_ch->look.legend = v; });
  }
  HRESULT GetVisibleInLegend(VARIANT_BOOL* v) override { return Get(v, m_ch->look.legend); }
  HRESULT SetLineSetting(LONG v) override { return Set("line", Int(v), [&] { m_ch->look.lineSetting = v; }); }
  HRESULT GetLineSetting(LONG* v) override { return Get(v, m_ch->look.lineSetting); }
  HRESULT SetMarkersVisible(LONG v) override { return Set("markers", Int(v), [&] { m_ch->look.markers = v; }); }
  HRESULT GetMarkersVisible(LONG* v) override { return Get(v, m_ch->look.markers); }
  HRESULT SetMarkerSize(LONG v) override { return Set("markersize", Int(v), [&] { m_ch->look.markerSize = v; }); }
  HRESULT GetMarkerSize(LONG* v) override { return Get(v, m_ch->look.markerSize); }
  HRESULT SetMarkerStyle(LONG v) override {
    return Set("markerstyle", Int(v), [&] { m_ch->look.markerStyle = v; });
  }
  HRESULT GetMarkerStyle(LONG* v) override { return Get(v, m_ch->look.markerStyle); }
  HRESULT SetXAxisName(const _bstr_t& v) override { return Set("xaxis", Text(v), [&] { m_ch->look.xAxisName = v; }); }
  HRESULT GetXAxisName(_bstr_t* v) override { return Get(v, m_ch->look.xAxisName); }
  HRESULT SetYAxisName(const _bstr_t& v) override { return Set("yaxis", Text(v), [&] { m_ch->look.yAxisName = v; }); }
  HRESULT GetYAxisName(_bstr_t* v) override { return Get(v, m_ch->look.yAxisName); }
  HRESULT SetMarkerExtraFlag(LONG v) override {
    return Set("markerextra", Int(v), [&] { m_ch->look.markerExtra = v; });
  }
  HRESULT GetMarkerExtraFlag(LONG* v) override { return Get(v, m_ch->look.markerExtra); }
  HRESULT SetInitialSetting(LONG v) override { return Set("initial", Int(v), [&] { m_ch->look.initial = v; }); }
  HRESULT GetInitialSetting(LONG* v) override { return Get(v, m_ch->look.initial); }

  HRESULT GetCount(LONG* count) override { return Get(count, static_cast<LONG>(m_ch->x.size())); }
  HRESULT GetX(LONG index, double* x) override { return GetPoint(index, m_ch->x, x); }
  HRESULT GetY(LONG index, double* y) override { return GetPoint(index, m_ch->y, y); }

  HRESULT AddXY(double x, double y, LONG* index) override {
    if (!m_ch->attached) return E_UNEXPECTED;
    if (const HRESULT hr = CheckPointOp("addxy"); FAILED(hr)) return hr;
    m_ch->x.push_back(x);
    m_ch->y.push_back(y);
    if (!m_ch->marks.empty()) m_ch->marks.push_back(0);
    if (index) *index = static_cast<LONG>(m_ch->x.size() - 1);
    m_core->Notify(false);
    return S_OK;
  }
  HRESULT SetY(LONG index, double y) override {
    if (!m_ch->attached) return E_UNEXPECTED;
    if (!InRange(index)) return DISP_E_BADINDEX;
    if (const HRESULT hr = CheckPointOp("sety"); FAILED(hr)) return hr;
    m_ch->y[static_cast<size_t>(index)] = y;
    ++m_ch->generation;
    ++m_ch->markGeneration;
    m_core->Notify(false);
    return S_OK;
  }
  HRESULT Clear() override {
    if (!m_ch->attached) return E_UNEXPECTED;
    return m_core->Operation(Label("clear"), false, [&] {
      m_ch->ClearPoints();
      return S_OK;
    });
  }
  HRESULT SetPointMarkerVisible(LONG index, LONG on) override {
    if (!m_ch->attached) return E_UNEXPECTED;
    if (!InRange(index)) return DISP_E_BADINDEX;
    if (const HRESULT hr = CheckPointOp("pointmarker"); FAILED(hr)) return hr;
    m_ch->SetPointMark(static_cast<size_t>(index), on != 0);
    m_core->Notify(false);
    return S_OK;
  }
  HRESULT GetPointMarkerVisible(LONG index, LONG* on) override {
    if (!m_ch->attached) return E_UNEXPECTED;
    if (!InRange(index)) return DISP_E_BADINDEX;
    return Out(on, static_cast<LONG>(m_ch->PointMarked(static_cast<size_t>(index)) ? 1 : 0));
  }

 private:
  std::string Label(const char* member) const {
    return "channel[" + Int(m_core->model.ChannelIndex(m_ch.get())) + "]." + member;
  }
  template <class Apply>
  HRESULT Set(const char* member, const std::string& value, Apply&& apply) {
    if (!m_ch->attached) return E_UNEXPECTED;
    return m_core->Put(Label(member), value, true, apply);
  }
  template <class T>
  HRESULT Get(T* out, const T& value) {
    if (!m_ch->attached) return E_UNEXPECTED;
    return Out(out, value);
  }
  HRESULT CheckPointOp(const char* member) { return m_core->failures.empty() ? S_OK : m_core->Check(Label(member)); }
  bool InRange(LONG index) const { return index >= 0 && static_cast<size_t>(index) < m_ch->x.size(); }
  HRESULT GetPoint(LONG index, const std::vector<double>& values, double* out) {
    if (!m_ch->attached) return E_UNEXPECTED;
    if (!out) return E_POINTER;
    if (!InRange(index)) return DISP_E_BADINDEX;
    *out = values[static_cast<size_t>(index)];
    return S_OK;
  }

  std::shared_ptr<PlotCore> m_core;
  std::shared_ptr<ChannelState> m_ch;
};

class AxisObject : public ComObject<IiPlotAxis> {
 public:
  AxisObject(std::shared_ptr<PlotCore> core, bool xAxis, size_t index)
      : m_core(std::move(core)), m_x(xAxis), m_index(index) {}

  HRESULT SetName(const _bstr_t& v) override { return Set("name", Text(v), [&] { A().name = v; }); }
  HRESULT GetName(_bstr_t* v) override { return Out(v, A().name); }
  HRESULT SetTitle(const _bstr_t& v) override { return Set("title", Text(v), [&] { A().title = v; }); }
  HRESULT GetTitle(_bstr_t* v) override { return Out(v, A().title); }
  HRESULT GetTitleFont(IFont** font) override { return NewFont(A().titleFont, font); }
  HRESULT SetTitleFont(IFont* font) override {
    FontSpec spec;
    if (const HRESULT hr = ReadFont(font, &spec); FAILED(hr)) return hr;
    return Set("titlefont", FontText(spec), [&] { A().titleFont = spec; });
  }
  HRESULT SetMin(double v) override { return Set("min", Num(v), [&] { A().min = v; }); }
  HRESULT GetMin(double* v) override { return Out(v, A().min); }
  HRESULT SetSpan(double v) override { return Set("span", Num(v), [&] { A().span = v; }); }
  HRESULT GetSpan(double* v) override { return Out(v, A().span); }
  HRESULT SetStartValue(double v) override { return Set("startvalue", Num(v), [&] { A().startValue = v; }); }
  HRESULT GetStartValue(double* v) override { return Out(v, A().startValue); }
  HRESULT SetIncrement(double v) override { return Set("increment", Num(v), [&] { A().increment = v; }); }
  HRESULT GetIncrement(double* v) override { return Out(v, A().increment); }
  HRESULT SetLimitLow(double v) override { return Set("limitlow", Num(v), [&] { A().limitLow = v; }); }
  HRESULT GetLimitLow(double* v) override { return Out(v, A().limitLow); }
  HRESULT SetLimitHigh(double v) override { return Set("limithigh", Num(v), [&] { A().limitHigh = v; }); }
  HRESULT GetLimitHigh(double* v) override { return Out(v, A().limitHigh); }
  HRESULT SetVisible(VARIANT_BOOL v) override { return Set("visible", Int(v), [&] { A().visible = v; }); }
  HRESULT GetVisible(VARIANT_BOOL* v) override { return Out(v, A().visible); }
  HRESULT SetEnabled(VARIANT_BOOL v) override { return Set("enabled", Int(v), [&] { A().enabled = v; }); }
  HRESULT GetEnabled(VARIANT_BOOL* v) override { return Out(v, A().enabled); }
  HRESULT ZoomToFit() override {
    return m_core->Operation(Prefix() + "zoomtofit", true, [&] {
      m_core->model.FitAxis(m_x, static_cast<int>(m_index));
      return S_OK;
    });
  }
  HRESULT PutSetting(int setting, const VARIANT& value) override {
    return StoreSetting(*m_core, Prefix(), A().settings, setting, value);
  }
  HRESULT GetSetting(int setting, VARIANT* value) override { return ReadSetting(A().settings, setting, value); }

 private:
  AxisState& A() { return m_core->model.Axes(m_x)[m_index]; }
  std::string Prefix() const { return std::string(m_x ? "xaxis[" : "yaxis[") + Int(static_cast<long long>(m_index)) + "]."; }
  template <class Apply>
  HRESULT Set(const char* member, const std::string& value, Apply&& apply) {
    return m_core->Put(Prefix() + member, value, true, apply);
  }

  std::shared_ptr<PlotCore> m_core;
  bool m_x;
  size_t m_index;
};

class DataViewObject : public ComObject<IiPlotDataView> {
 public:
  explicit DataViewObject(std::shared_ptr<PlotCore> core) : m_core(std::move(core)) {}
  HRESULT SetXAxisName(const _bstr_t& v) override { return Set("gridxaxis", Text(v), [&] { V().xAxisName = v; }); }
  HRESULT GetXAxisName(_bstr_t* v) override { return Out(v, V().xAxisName); }
  HRESULT SetYAxisName(const _bstr_t& v) override { return Set("gridyaxis", Text(v), [&] { V().yAxisName = v; }); }
  HRESULT GetYAxisName(_bstr_t* v) override { return Out(v, V().yAxisName); }
  HRESULT SetGridLineColor(COLORREF v) override { return Set("gridcolor", Hex(v), [&] { V().gridColor = v; }); }
  HRESULT GetGridLineColor(COLORREF* v) override { return Out(v, V().gridColor); }
  HRESULT SetGridLinesVisible(VARIANT_BOOL v) override {
    return Set("gridvisible", Int(v), [&] { V().gridVisible = v; });
  }
  HRESULT GetGridLinesVisible(VARIANT_BOOL* v) override { return Out(v, V().gridVisible); }
  HRESULT PutSetting(int setting, const VARIANT& value) override {
    return StoreSetting(*m_core, "dataview[0].", V().settings, setting, value);
  }
  HRESULT GetSetting(int setting, VARIANT* value) override { return ReadSetting(V().settings, setting, value); }

 private:
  DataViewState& V() { return m_core->model.look.dataView; }
  template <class Apply>
  HRESULT Set(const char* member, const std::string& value, Apply&& apply) {
    return m_core->Put(std::string("dataview[0].") + member, value, true, apply);
  }
  std::shared_ptr<PlotCore> m_core;
};

class ToolBarObject : public ComObject<IiPlotToolBar> {
 public:
  explicit ToolBarObject(std::shared_ptr<PlotCore> core) : m_core(std::move(core)) {}
  HRESULT SetVisible(VARIANT_BOOL v) override {
    return m_core->Put("toolbar[0].visible", Int(v), true, [&] { T().visible = v; });
  }
  HRESULT GetVisible(VARIANT_BOOL* v) override { return Out(v, T().visible); }
  HRESULT PutSetting(int setting, const VARIANT& value) override {
    return StoreSetting(*m_core, "toolbar[0].", T().settings, setting, value);
  }
  HRESULT GetSetting(int setting, VARIANT* value) override { return ReadSetting(T().settings, setting, value); }

 private:
  ToolBarState& T() { return m_core->model.look.toolBar; }
  std::shared_ptr<PlotCore> m_core;
};

template <class PlotI, class ChannelI, Kind kKind>
class PlotObject : public ComObject<PlotI, IDispatch, IControl, IControlTest, IWidgetControl> {
 public:
  PlotObject() : m_core(std::make_shared<PlotCore>(kKind)), m_view(std::make_unique<PlotView>(m_core->model)) {
    m_core->changed = [view = m_view.get()](bool layout) { view->Changed(layout); };
  }
  ~PlotObject() override {
    // Objects handed out may outlive the plot; they must not reach its view.
    m_core->changed = nullptr;
  }

  // --- the plot
  HRESULT SetTitle(const _bstr_t& v) override { return Put("title", Text(v), [&] { L().title = v; }); }
  HRESULT GetTitle(_bstr_t* v) override { return Out(v, L().title); }
  HRESULT GetTitleFont(IFont** font) override { return NewFont(L().titleFont, font); }
  HRESULT SetTitleFont(IFont* font) override {
    FontSpec spec;
    if (const HRESULT hr = ReadFont(font, &spec); FAILED(hr)) return hr;
    return Put("titlefont", FontText(spec), [&] { L().titleFont = spec; });
  }
  HRESULT SetTitleFontColor(COLORREF v) override { return Put("titlecolor", Hex(v), [&] { L().titleColor = v; }); }
  HRESULT GetTitleFontColor(COLORREF* v) override { return Out(v, L().titleColor); }
  HRESULT SetBackgroundColor(COLORREF v) override { return Put("backcolor", Hex(v), [&] { L().backColor = v; }); }
  HRESULT GetBackgroundColor(COLORREF* v) override { return Out(v, L().backColor); }
  HRESULT BeginUpdate() override {
    return m_core->Operation("beginupdate", false, [&] {
      m_view->BeginUpdate();
      return S_OK;
    });
  }
  HRESULT EndUpdate() override {
    if (const HRESULT hr = m_core->Check("endupdate"); FAILED(hr)) return hr;
    m_core->journal.Add("endupdate");
    m_view->EndUpdate();
    return S_OK;
  }

  HRESULT RemoveAllChannels() override {
    return m_core->Operation("removeallchannels", true, [&] {
      M().RemoveAllChannels();
      return S_OK;
    });
  }
  HRESULT AddChannel(LONG* index) override {
    return m_core->Operation("addchannel", true, [&] {
      const int i = M().AddChannel();
      if (index) *index = i;
      return S_OK;
    });
  }
  HRESULT GetChannelCount(LONG* count) override { return Out(count, static_cast<LONG>(M().channels.size())); }
  HRESULT GetChannel(LONG index, IDispatch** channel) override {
    if (!channel) return E_POINTER;
    *channel = nullptr;
    if (index < 0 || static_cast<size_t>(index) >= M().channels.size()) return DISP_E_BADINDEX;
    return NewChannel(M().channels[static_cast<size_t>(index)], channel);
  }
  HRESULT GetChannelByName(const _bstr_t& name, IDispatch** channel) override {
    if (!channel) return E_POINTER;
    *channel = nullptr;
    const int i = M().ChannelIndex(name);
    if (i < 0) return S_FALSE;
    return NewChannel(M().channels[static_cast<size_t>(i)], channel);
  }
  HRESULT ChannelIndexByName(const _bstr_t& name, LONG* index) override {
    return Out(index, static_cast<LONG>(M().ChannelIndex(name)));
  }
  HRESULT ClearAllData() override {
    return m_core->Operation("clearalldata", false, [&] {
      M().ClearAllData();
      return S_OK;
    });
  }

  HRESULT SaveDataToFile(const _bstr_t& file) override {
    return FileOperation("savedatatofile", file, false, [&](const std::string& path) {
      return WriteTextFile(path, M().DataText());
    });
  }
  HRESULT LoadDataFromFile(const _bstr_t& file) override {
    return FileOperation("loaddatafromfile", file, false, [&](const std::string& path) {
      std::string text;
      const HRESULT hr = ReadTextFile(path, &text);
      return FAILED(hr) ? hr : M().LoadDataText(text);
    });
  }
  HRESULT SavePropertiesToFile(const _bstr_t& file) override {
    return FileOperation("savepropertiestofile", file, false, [&](const std::string& path) {
      return WriteTextFile(path, M().PropertiesText());
    });
  }
  HRESULT LoadPropertiesFromFile(const _bstr_t& file) override {
    return FileOperation("loadpropertiesfromfile", file, true, [&](const std::string& path) {
      std::string text;
      const HRESULT hr = ReadTextFile(path, &text);
      return FAILED(hr) ? hr : M().LoadPropertiesText(text);
    });
  }

  HRESULT SetFileStamp(const _bstr_t& stamp) override {
    M().stamp = stamp;
    return S_OK;
  }
  HRESULT GetFileStamp(_bstr_t* stamp) override {
    if (!stamp) return E_POINTER;
    *stamp = M().stamp;
    return S_OK;
  }
  HRESULT GetFileLayout(_bstr_t* kind, LONG* channels) override {
    if (!kind || !channels) return E_POINTER;
    *kind = _bstr_t(M().fileLayout.kind.c_str());
    *channels = static_cast<LONG>(M().fileLayout.channels.size());
    return S_OK;
  }
  HRESULT GetFileChannelName(LONG index, _bstr_t* name) override {
    if (!name) return E_POINTER;
    const auto& names = M().fileLayout.channels;
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return DISP_E_BADINDEX;
    *name = names[static_cast<size_t>(index)];
    return S_OK;
  }

  HRESULT AddXAxis(LONG* index) override { return AddAxis(true, index); }
  HRESULT AddYAxis(LONG* index) override { return AddAxis(false, index); }
  HRESULT GetXAxisCount(LONG* count) override { return Out(count, static_cast<LONG>(M().Axes(true).size())); }
  HRESULT GetYAxisCount(LONG* count) override { return Out(count, static_cast<LONG>(M().Axes(false).size())); }
  HRESULT XAxisIndexByName(const _bstr_t& name, LONG* index) override {
    return Out(index, static_cast<LONG>(M().AxisIndex(true, name)));
  }
  HRESULT YAxisIndexByName(const _bstr_t& name, LONG* index) override {
    return Out(index, static_cast<LONG>(M().AxisIndex(false, name)));
  }
  HRESULT GetXAxis(LONG index, IiPlotAxis** axis) override { return GetAxis(true, index, axis); }
  HRESULT GetYAxis(LONG index, IiPlotAxis** axis) override { return GetAxis(false, index, axis); }
  HRESULT GetXAxisByName(const _bstr_t& name, IiPlotAxis** axis) override { return GetAxisByName(true, name, axis); }
  HRESULT GetYAxisByName(const _bstr_t& name, IiPlotAxis** axis) override { return GetAxisByName(false, name, axis); }

  HRESULT GetDataView(LONG index, IiPlotDataView** view) override {
    if (!view) return E_POINTER;
    *view = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return CreateComObject<DataViewObject>(IiPlotDataView::kIID, reinterpret_cast<void**>(view), m_core);
  }
  HRESULT GetToolBar(LONG index, IiPlotToolBar** toolBar) override {
    if (!toolBar) return E_POINTER;
    *toolBar = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return CreateComObject<ToolBarObject>(IiPlotToolBar::kIID, reinterpret_cast<void**>(toolBar), m_core);
  }
  HRESULT ReplaceHintText(const _bstr_t& builtIn, const _bstr_t& text) override {
    if (builtIn.length() == 0) return E_INVALIDARG;
    return Put("hint[" + Text(builtIn) + ']', Text(text), [&] {
      M().hints[std::u16string(builtIn.view())] = std::u16string(text.view());
    });
  }
  HRESULT GetHintText(const _bstr_t& builtIn, _bstr_t* text) override {
    if (!text) return E_POINTER;
    const auto it = M().hints.find(std::u16string(builtIn.view()));
    *text = it == M().hints.end() ? builtIn : _bstr_t(it->second);
    return S_OK;
  }

  HRESULT SaveImage(const _bstr_t& file, LONG width, LONG height) override {
    QImage image;
    if (const HRESULT hr = Picture("saveimage", width, height, &image); FAILED(hr)) return hr;
    if (file.length() == 0) return E_INVALIDARG;
    QByteArray bytes;
    if (!Png(image, &bytes)) return E_FAIL;
    return WriteRegularFile(file.str(), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))
               ? S_OK
               : STG_E_WRITEFAULT;
  }
  HRESULT CopyToPicture(LONG width, LONG height, VARIANT* png) override {
    if (!png) return E_POINTER;
    QImage image;
    if (const HRESULT hr = Picture("copytopicture", width, height, &image); FAILED(hr)) return hr;
    QByteArray bytes;
    if (!Png(image, &bytes)) return E_FAIL;
    *png = _variant_t::FromBytes(reinterpret_cast<const BYTE*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    return S_OK;
  }

  // --- IDispatch: only "GetChannelByName"
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      // Member names are not case-sensitive in automation.
      const bool known = i == 0 && names[0] && NamesMatch(_bstr_t(names[0]), _bstr_t(u"GetChannelByName"));
      ids[i] = known ? kDispGetChannelByName : DISPID_UNKNOWN;
      if (!known) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, void*,
                 UINT* argErr) override {
    if (id != kDispGetChannelByName || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
      return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != 1 || params->cNamedArgs != 0 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
    const VARIANT& arg = params->rgvarg[0];
    if (arg.vt != VT_BSTR) {
      if (argErr) *argErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (const HRESULT hr = m_core->Check("getchannelbyname"); FAILED(hr)) return hr;
    IDispatch* channel = nullptr;
    const HRESULT hr = GetChannelByName(arg.bstrVal, &channel);
    if (FAILED(hr)) return hr;
    if (result) {
      result->Clear();
      if (channel) *result = _variant_t(channel, VT_DISPATCH);
    }
    if (channel) channel->Release();
    return S_OK;
  }

  // --- IControl
  HRESULT PutSetting(int setting, const VARIANT& value) override {
    return StoreSetting(*m_core, "", L().settings, setting, value);
  }
  HRESULT GetSetting(int setting, VARIANT* value) override { return ReadSetting(L().settings, setting, value); }
  HRESULT get_Font(IUnknown** font) override { return NewFont(L().titleFont, font); }
  HRESULT putref_Font(IUnknown* font) override {
    if (!font) return E_POINTER;
    IFontPtr f;
    if (FAILED(font->QueryInterface(IFont::kIID, reinterpret_cast<void**>(&f)))) return E_INVALIDARG;
    return SetTitleFont(f);
  }
  HRESULT Advise(IControlEventSink* sink, UINT controlId) override {
    m_sink = sink;
    m_controlId = controlId;
    return S_OK;
  }

  // --- IControlTest
  std::vector<std::string> Journal() override { return m_core->journal.Entries(); }
  void ClearJournal() override { m_core->journal.Clear(); }
  void FailPut(const std::string& label, HRESULT hr, int times) override {
    if (times == 0)
      m_core->failures.erase(label);
    else
      m_core->failures[label] = PlotCore::Failure{hr, times};
  }
  void UserEvent(int eventNumber, const std::vector<_variant_t>& args) override {
    if (m_sink) m_sink->OnControlEvent(m_controlId, eventNumber, args);
  }

  // --- IWidgetControl
  QWidget* CreateWidget(QWidget* parent, const QRect& rect) override {
    return HaveWidgets() ? m_view->CreateWidget(parent, rect) : nullptr;
  }
  QWidget* Widget() override { return m_view->Widget(); }

 private:
  PlotModel& M() { return m_core->model; }
  PlotLook& L() { return m_core->model.look; }
  template <class Apply>
  HRESULT Put(const std::string& label, const std::string& value, Apply&& apply) {
    return m_core->Put(label, value, true, apply);
  }
  HRESULT NewChannel(const std::shared_ptr<ChannelState>& channel, IDispatch** out) {
    return CreateComObject<ChannelObject<ChannelI>>(IDispatch::kIID, reinterpret_cast<void**>(out), m_core, channel);
  }
  HRESULT AddAxis(bool xAxis, LONG* index) {
    return m_core->Operation(xAxis ? "addxaxis" : "addyaxis", true, [&] {
      const int i = M().AddAxis(xAxis);
      if (index) *index = i;
      return S_OK;
    });
  }
  HRESULT GetAxis(bool xAxis, LONG index, IiPlotAxis** axis) {
    if (!axis) return E_POINTER;
    *axis = nullptr;
    if (index < 0 || static_cast<size_t>(index) >= M().Axes(xAxis).size()) return DISP_E_BADINDEX;
    return CreateComObject<AxisObject>(IiPlotAxis::kIID, reinterpret_cast<void**>(axis), m_core, xAxis,
                                       static_cast<size_t>(index));
  }
  HRESULT GetAxisByName(bool xAxis, const _bstr_t& name, IiPlotAxis** axis) {
    if (!axis) return E_POINTER;
    *axis = nullptr;
    const int i = M().AxisIndex(xAxis, name);
    return i < 0 ? S_FALSE : GetAxis(xAxis, i, axis);
  }
  template <class Work>
  HRESULT FileOperation(const char* label, const _bstr_t& file, bool layout, Work&& work) {
    if (file.length() == 0) return E_INVALIDARG;
    if (const HRESULT hr = m_core->Check(label); FAILED(hr)) return hr;
    const HRESULT hr = work(file.str());
    if (FAILED(hr)) return hr;
    m_core->journal.Add(std::string(label) + '=' + file.str());
    m_core->Notify(layout);
    return hr;
  }
  HRESULT Picture(const char* label, LONG width, LONG height, QImage* image) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return E_INVALIDARG;
    if (!HaveWidgets()) return E_UNEXPECTED;
    if (const HRESULT hr = m_core->Check(label); FAILED(hr)) return hr;
    *image = m_view->Render(width, height);
    if (image->isNull()) return E_OUTOFMEMORY;
    m_core->journal.Add(label);
    return S_OK;
  }

  std::shared_ptr<PlotCore> m_core;
  std::unique_ptr<PlotView> m_view;
  IControlEventSink* m_sink = nullptr;
  UINT m_controlId = 0;
};

using TimePlot = PlotObject<IiPlotX, IiPlotChannel, Kind::Time>;
using XYPlot = PlotObject<IiXYPlotX, IiXYPlotChannel, Kind::XY>;

}  // namespace
}  // namespace plat::plot

namespace plat {

void RegisterPlotClasses() {
  RegisterClass(kPlotProgId,
                [](REFIID riid, void** ppv) { return CreateComObject<plot::TimePlot>(riid, ppv); });
  RegisterClass(kXYPlotProgId, [](REFIID riid, void** ppv) { return CreateComObject<plot::XYPlot>(riid, ppv); });
}

}  // namespace plat
