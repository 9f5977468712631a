// Plot channels by name: the look-up, the set-ups that give a channel its
// identity, and the copies, differences and show/hide built on them.
#include <algorithm>

#include "common/common_controls.h"

namespace {

void Raise(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

// The channel of a plot by name, late-bound through "GetChannelByName";
// empty when the plot answers with no channel.
template <class Channel, class Plot>
_com_ptr_t<Channel> FindChannel(Plot* plot, const _bstr_t& name) {
  IDispatchPtr dispatch;
  if (plot) {
    const HRESULT hr = plot->QueryInterface(IDispatch::kIID, reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
  }
  std::u16string method = u"GetChannelByName";
  LPOLESTR names[] = {method.data()};
  DISPID id = DISPID_UNKNOWN;
  Raise(dispatch->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id));

  _variant_t argument(name);
  DISPPARAMS params;
  params.rgvarg = &argument;
  params.cArgs = 1;
  _variant_t result;
  Raise(dispatch->Invoke(id, GUID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr));

  _com_ptr_t<Channel> channel;
  if (result.vt == VT_DISPATCH || result.vt == VT_UNKNOWN) {
    if (result.punkVal) result.punkVal->QueryInterface(Channel::kIID, reinterpret_cast<void**>(&channel));
  } else if (result.vt != VT_EMPTY && result.vt != VT_NULL) {
    _com_issue_error(DISP_E_TYPEMISMATCH);
  }
  return channel;
}

// A found channel or E_POINTER.
template <class Channel, class Plot>
_com_ptr_t<Channel> RequireChannel(Plot* plot, const _bstr_t& name) {
  _com_ptr_t<Channel> channel = FindChannel<Channel>(plot, name);
  if (!channel) _com_issue_error(E_POINTER);
  return channel;
}

enum class Markers { PlotAndXY, XYA };

template <class Channel, class Plot>
_com_ptr_t<Channel> SetupChannel(Plot* plot, const _bstr_t& name, const _bstr_t& newName, const _bstr_t& title,
                                 COLORREF color, const _bstr_t& xAxis, const _bstr_t& yAxis, int style,
                                 bool xy, Markers markers) {
  _com_ptr_t<Channel> c = RequireChannel<Channel>(plot, name);
  Raise(c->SetInitialSetting(0));
  Raise(c->SetName(newName));
  Raise(c->SetTitle(title));
  Raise(c->SetColor(color));
  Raise(c->SetVisible(VARIANT_TRUE));
  Raise(c->SetVisibleInLegend(VARIANT_TRUE));
  Raise(c->SetLineSetting(2));
  Raise(c->SetXAxisName(xAxis));
  Raise(c->SetYAxisName(yAxis));
  if (xy) c->SetVisibleInLegend(1);  // once more; not checked
  const bool marked = (style >= 0 && style <= 9) || (markers == Markers::XYA && (style == 10 || style == 11));
  if (marked) {
    Raise(c->SetMarkersVisible(1));
    Raise(c->SetMarkerSize(3));
    Raise(c->SetMarkerStyle(style));
    Raise(c->SetMarkerExtraFlag(1));
  } else if (style == 12) {
    Raise(c->SetMarkersVisible(0));
  }
  return c;
}

// Plain copy: the plot twin replaces the destination's points, the XY twin
// appends to them.
template <class Channel, class Plot>
void CopyPoints(const _bstr_t& source, const _bstr_t& destination, bool visible, Plot* sourcePlot,
                Plot* destinationPlot, bool clear) {
  _com_ptr_t<Channel> from = FindChannel<Channel>(sourcePlot, source);
  _com_ptr_t<Channel> to = FindChannel<Channel>(destinationPlot, destination);
  if (clear) Raise(to->Clear());
  for (LONG i = 0;; ++i) {
    LONG count = 0;
    Raise(from->GetCount(&count));
    if (i >= count) break;
    double x = 0, y = 0;
    Raise(from->GetY(i, &y));
    Raise(from->GetX(i, &x));
    Raise(to->AddXY(x, y, nullptr));
  }
  Raise(to->SetVisible(visible ? 1 : 0));
  Raise(to->SetVisibleInLegend(visible ? 1 : 0));
}

// An interval below 1 marks point 0 only rather than dividing by zero.
bool Marked(LONG i, int interval) { return interval < 1 ? i == 0 : i % interval == 0; }

template <class Channel, class Plot>
void CopyMarkedPoints(const _bstr_t& source, const _bstr_t& destination, int interval, bool visible,
                      Plot* sourcePlot, Plot* destinationPlot) {
  _com_ptr_t<Channel> from = FindChannel<Channel>(sourcePlot, source);
  _com_ptr_t<Channel> to = FindChannel<Channel>(destinationPlot, destination);
  Raise(to->Clear());
  Raise(to->SetMarkersVisible(0));
  for (LONG i = 0;; ++i) {
    LONG count = 0;
    Raise(from->GetCount(&count));
    if (i >= count) break;
    double x = 0, y = 0;
    Raise(from->GetY(i, &y));
    Raise(from->GetX(i, &x));
    Raise(to->AddXY(x, y, nullptr));
    if (Marked(i, interval)) Raise(to->SetPointMarkerVisible(i, 1));
  }
  Raise(to->SetMarkersVisible(1));
  Raise(to->SetVisible(visible ? 1 : 0));
  Raise(to->SetVisibleInLegend(visible ? 1 : 0));
}

// A minus B by index over the shorter channel, with A's x values.
template <class Channel, class Plot>
void Difference(const _bstr_t& a, const _bstr_t& b, const _bstr_t& difference, int interval, bool visible,
                Plot* plot) {
  _com_ptr_t<Channel> ca = FindChannel<Channel>(plot, a);
  _com_ptr_t<Channel> cb = FindChannel<Channel>(plot, b);
  _com_ptr_t<Channel> d = FindChannel<Channel>(plot, difference);
  Raise(d->Clear());
  Raise(d->SetMarkersVisible(0));
  LONG countA = 0, countB = 0;
  Raise(cb->GetCount(&countB));
  Raise(ca->GetCount(&countA));
  const LONG n = std::min(countA, countB);
  for (LONG i = 0; i < n; ++i) {
    double ya = 0, xa = 0, yb = 0;
    Raise(ca->GetY(i, &ya));
    Raise(ca->GetX(i, &xa));
    Raise(cb->GetY(i, &yb));
    Raise(d->AddXY(xa, ya - yb, nullptr));
    if (Marked(i, interval)) Raise(d->SetPointMarkerVisible(i, 1));
  }
  Raise(d->SetMarkersVisible(1));
  Raise(d->SetVisible(visible ? 1 : 0));
  Raise(d->SetVisibleInLegend(visible ? 1 : 0));
}

// Show or hide: the visible flag, then, found again, the legend flag.
template <class Channel, class Plot>
void Show(Plot* plot, const _bstr_t& name, int show) {
  {
    _com_ptr_t<Channel> c = FindChannel<Channel>(plot, name);
    Raise(c->SetVisible(static_cast<VARIANT_BOOL>(show)));
  }
  _com_ptr_t<Channel> c = FindChannel<Channel>(plot, name);
  Raise(c->SetVisibleInLegend(static_cast<VARIANT_BOOL>(show)));
}

}  // namespace

IiPlotChannelPtr CCommonControls::GetPlotChannelByName(IiPlotXPtr& plot, _bstr_t name) {
  return FindChannel<IiPlotChannel>(plot.GetInterfacePtr(), name);
}

IiXYPlotChannelPtr CCommonControls::GetXYPlotChannelByName(IiXYPlotXPtr& plot, _bstr_t name) {
  return FindChannel<IiXYPlotChannel>(plot.GetInterfacePtr(), name);
}

IiPlotChannelPtr CCommonControls::SetupPlotChannel(IiPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title,
                                                    COLORREF color, _bstr_t xAxis, _bstr_t yAxis, int style) {
  return SetupChannel<IiPlotChannel>(plot.GetInterfacePtr(), name, newName, title, color, xAxis, yAxis, style, false,
                                     Markers::PlotAndXY);
}

IiXYPlotChannelPtr CCommonControls::SetupXYPlotChannelA(IiXYPlotXPtr plot, _bstr_t name, _bstr_t newName,
                                                         _bstr_t title, COLORREF color, _bstr_t xAxis, _bstr_t yAxis,
                                                         int style) {
  return SetupChannel<IiXYPlotChannel>(plot.GetInterfacePtr(), name, newName, title, color, xAxis, yAxis, style, true,
                                       Markers::XYA);
}

IiXYPlotChannelPtr CCommonControls::SetupXYPlotChannel(IiXYPlotXPtr plot, _bstr_t name, _bstr_t newName,
                                                        _bstr_t title, COLORREF color, _bstr_t xAxis, _bstr_t yAxis,
                                                        int style) {
  return SetupChannel<IiXYPlotChannel>(plot.GetInterfacePtr(), name, newName, title, color, xAxis, yAxis, style, true,
                                       Markers::PlotAndXY);
}

IiPlotChannelPtr CCommonControls::GetCharCurveChannel(IiPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title,
                                                       COLORREF color, int markerStyle) {
  IiPlotChannelPtr c = RequireChannel<IiPlotChannel>(plot.GetInterfacePtr(), name);
  Raise(c->SetInitialSetting(0));
  Raise(c->SetName(newName));
  Raise(c->SetTitle(title));
  Raise(c->SetColor(color));
  Raise(c->SetVisible(VARIANT_TRUE));
  Raise(c->SetVisibleInLegend(VARIANT_FALSE));
  Raise(c->SetLineSetting(2));
  Raise(c->SetMarkersVisible(1));
  Raise(c->SetMarkerStyle(markerStyle));
  return c;
}

void CCommonControls::CopyPlotChannelPoints(_bstr_t source, _bstr_t destination, bool visible,
                                             IiPlotXPtr sourcePlot, IiPlotXPtr destinationPlot) {
  CopyPoints<IiPlotChannel>(source, destination, visible, sourcePlot.GetInterfacePtr(),
                            destinationPlot.GetInterfacePtr(), true);
}

void CCommonControls::CopyXYChannelPoints(_bstr_t source, _bstr_t destination, bool visible,
                                           IiXYPlotXPtr sourcePlot, IiXYPlotXPtr destinationPlot) {
  CopyPoints<IiXYPlotChannel>(source, destination, visible, sourcePlot.GetInterfacePtr(),
                              destinationPlot.GetInterfacePtr(), false);
}

void CCommonControls::CopyPlotChannelPoints2(_bstr_t source, _bstr_t destination, int interval, bool visible,
                                              IiPlotXPtr sourcePlot, IiPlotXPtr destinationPlot) {
  CopyMarkedPoints<IiPlotChannel>(source, destination, interval, visible, sourcePlot.GetInterfacePtr(),
                                  destinationPlot.GetInterfacePtr());
}

void CCommonControls::CopyXYChannelPoints2(_bstr_t source, _bstr_t destination, int interval, bool visible,
                                            IiXYPlotXPtr sourcePlot, IiXYPlotXPtr destinationPlot) {
  CopyMarkedPoints<IiXYPlotChannel>(source, destination, interval, visible, sourcePlot.GetInterfacePtr(),
                                    destinationPlot.GetInterfacePtr());
}

void CCommonControls::ComputePlotChannelDelta(_bstr_t a, _bstr_t b, _bstr_t difference, int interval, bool visible,
                                               IiPlotXPtr plot) {
  Difference<IiPlotChannel>(a, b, difference, interval, visible, plot.GetInterfacePtr());
}

void CCommonControls::ComputeXYChannelDelta(_bstr_t a, _bstr_t b, _bstr_t difference, int interval, bool visible,
                                             IiXYPlotXPtr plot) {
  Difference<IiXYPlotChannel>(a, b, difference, interval, visible, plot.GetInterfacePtr());
}

void CCommonControls::ShowChannel(IiXYPlotXPtr& plot, _bstr_t name, int show) {
  Show<IiXYPlotChannel>(plot.GetInterfacePtr(), name, show);
}

void CCommonControls::ShowChannel2(IiPlotXPtr& plot, _bstr_t name, int show) {
  Show<IiPlotChannel>(plot.GetInterfacePtr(), name, show);
}

void CCommonControls::GetXYPlotChannelByNameEx(IiXYPlotXPtr plot, _bstr_t name, int show) {
  IiXYPlotChannelPtr c = FindChannel<IiXYPlotChannel>(plot.GetInterfacePtr(), name);
  Raise(c->SetVisible(static_cast<VARIANT_BOOL>(show)));
  Raise(c->SetVisibleInLegend(static_cast<VARIANT_BOOL>(show)));
}

bool CCommonControls::ArePSTSettingsEqual(const _bstr_t& a1, const _bstr_t& a2, const _bstr_t& b1, const _bstr_t& b2,
                                           const _bstr_t& c1, const _bstr_t& c2, const _bstr_t& d1,
                                           const _bstr_t& d2) {
  // Null equals only null; otherwise the UTF-16 texts are compared.
  return a1 == a2 && b1 == b2 && c1 == c2 && d1 == d2;
}
