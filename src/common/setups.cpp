// The fixed looks of gauges, arrow LEDs and labels, put right after their
// creation.
#include <cstdlib>

#include "common/common_controls.h"
#include "common/control_puts.h"
#include "platform/sys/numeric.h"

namespace {

using namespace activex;
using common::Puts;

void Raise(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

// Element settings of the pointer (0) and the markers (1, 2, ...).
class Elements {
 public:
  explicit Elements(IiLinearGaugeX* gauge) : m_gauge(gauge) {}
  Elements& Set(LONG index, int setting, const _variant_t& value) {
    Raise(m_gauge->PutElementSetting(index, setting, value));
    return *this;
  }
  Elements& Position(LONG index, double position) {
    m_gauge->PutElementSetting(index, kElementPosition, _variant_t(position));  // result not examined
    return *this;
  }
  Elements& Color(LONG index, COLORREF color) { return Set(index, kElementColor, _variant_t(static_cast<LONG>(color))); }
  Elements& Add() {
    LONG unused = 0;
    Raise(m_gauge->AddElement(&unused));
    return *this;
  }

 private:
  IiLinearGaugeX* m_gauge;
};

struct Marker {
  double position;
  COLORREF color;
  int movable;  // -1: not put
};

// Add, int3, int4, int1, int2, position, colour, and the flag where given.
void AddMarkers(IiLinearGaugeX* gauge, std::initializer_list<Marker> markers, LONG int2 = 12) {
  Elements e(gauge);
  LONG k = 0;
  for (const Marker& m : markers) {
    ++k;
    e.Add()
        .Set(k, kElementInt3, _variant_t(1))
        .Set(k, kElementInt4, _variant_t(1))
        .Set(k, kElementInt1, _variant_t(12))
        .Set(k, kElementInt2, _variant_t(int2))
        .Position(k, m.position)
        .Color(k, m.color);
    if (m.movable >= 0) e.Set(k, kElementBool, _variant_t(m.movable != 0));
  }
}

// The temperature and pilot relay gauges share their order of puts.
void SetupTemperatureLike(IiLinearGaugeXPtr& gauge, int row1, double max, double min, int ticks,
                          std::initializer_list<Marker> markers) {
  IiLinearGaugeX* g = gauge.operator->();
  Puts p(g);
  p.Ignored(Row(6), 4);
  Elements(g).Set(0, kElementInt4, _variant_t(1));
  p.Put(Row(2), 1)
      .Color(Row(3), 0x00FF00)
      .Put(Row(4), 10)
      .Put(Row(5), 10)
      .Ignored(Row(30), 0.0)
      .Put(Row(16), 1)
      .Put(Row(20), 10)
      .Put(Row(17), 1)
      .Put(Row(23), 5)
      .Put(Row(1), row1)
      .Put(Row(24), 10)
      .Ignored(Row(21), 0)
      .Ignored(Row(28), max)
      .Ignored(Row(29), min)
      .Put(Row(19), ticks)
      .Put(Row(22), 3);
  AddMarkers(g, markers);
}

// The position-alert and cycles-and-travel gauges share theirs too.
void SetupAlertLike(IiLinearGaugeXPtr& gauge, int row4, int row1, int row24, double max, double min, int ticks,
                    std::initializer_list<Marker> markers) {
  IiLinearGaugeX* g = gauge.operator->();
  Puts p(g);
  p.Ignored(Row(6), 0).Put(Row(31), 1).Color(Row(3), 0x00FF00).Put(Row(4), row4).Put(Row(5), row4);
  Elements(g).Set(0, kElementInt4, _variant_t(1));
  p.Ignored(Row(30), 0.0)
      .Put(Row(16), 1)
      .Put(Row(20), 10)
      .Put(Row(17), 1)
      .Put(Row(23), 5)
      .Put(Row(1), row1)
      .Put(Row(24), row24)
      .Put(Row(11), 1)
      .Color(Row(8), 0xC0C0C0)
      .Ignored(Row(28), max)
      .Ignored(Row(29), min)
      .Put(Row(22), 3)
      .Put(Row(19), ticks);
  AddMarkers(g, markers);
}

}  // namespace

void CCommonControls::SetupDashboardGauge(IiLinearGaugeXPtr& gauge) {
  // The holder is tested before every put: Puts raises E_POINTER on each.
  Puts(gauge.GetInterfacePtr())
      .Put(Row(15), 2)
      .Put(Row(26), 100.0)
      .Put(Row(27), 0.0)
      .Put(Row(32), 1)
      .Put(Row(1), 1)
      .Put(Row(6), 4)
      .Put(Row(28), 100.0)
      .Put(Row(29), 0.0)
      .Color(Row(8), 0x5B5B5B)
      .Color(Row(9), 0xDADADA)
      .Color(Row(10), 0x606060)
      .Put(Row(11), 3)
      .Put(Row(12), 0.0)
      .Put(Row(13), 100.0)
      .Put(Row(14), 0.0)
      .Put(Row(33), 2)
      .Put(Row(34), 2)
      .Color(Row(3), 0x00FF00)
      .Put(Row(18), 0)
      .Put(Row(7), 0)
      .Put(Row(16), 0)
      .Put(Row(17), 0)
      .Put(Row(19), 2)
      .Put(Row(20), 58);
}

void CCommonControls::SetupTempHumidityGauge(IiLinearGaugeXPtr gauge) {
  SetupTemperatureLike(gauge, 10, 200.0, -50.0, 5, {{50.0, 0x00FFFF, -1}, {100.0, 0x5096FF, -1}});
}

void CCommonControls::SetupPilotRelayGaugeA(IiLinearGaugeXPtr gauge) {
  SetupTemperatureLike(gauge, 28, 1000.0, 0.0, 6, {{50.0, 0x00FFFF, 1}, {100.0, 0x0A0AFF, 1}});
}

void CCommonControls::SetupPilotRelayGaugeB(IiLinearGaugeXPtr gauge) {
  SetupTemperatureLike(gauge, 30, 400000000.0, 0.0, 6, {{50.0, 0x00FFFF, -1}, {100.0, 0x5096FF, 1}});
}

void CCommonControls::SetupPiezoVolGauge(IiLinearGaugeXPtr gauge) {
  IiLinearGaugeX* g = gauge.operator->();
  Puts p(g);
  p.Put(Row(31), 1).Put(Row(2), 1).Color(Row(3), 0x00FF00).Put(Row(4), 12).Put(Row(5), 12);
  Elements(g).Set(0, kElementInt4, _variant_t(1));
  p.Ignored(Row(30), 0.0)
      .Put(Row(16), 1)
      .Put(Row(20), 10)
      .Put(Row(17), 1)
      .Put(Row(23), 5)
      .Put(Row(1), 30)
      .Put(Row(24), 5)
      .Put(Row(11), 1)
      .Color(Row(8), 0xC0C0C0)
      .Ignored(Row(28), 24.0)
      .Ignored(Row(29), -24.0)
      .Put(Row(22), 3)
      .Put(Row(19), 9);
  AddMarkers(g, {{-8.0, 0x0A0AFF, 0}});
  // The later markers take their settings in another order.
  const Marker later[] = {{2.0, 0x00FFFF, 0}, {20.0, 0x3399CC, 0}, {22.75, 0x5096FF, 0}};
  Elements e(g);
  LONG k = 1;
  for (const Marker& m : later) {
    ++k;
    e.Add()
        .Set(k, kElementInt3, _variant_t(1))
        .Set(k, kElementInt1, _variant_t(12))
        .Set(k, kElementInt2, _variant_t(12))
        .Set(k, kElementInt4, _variant_t(1))
        .Position(k, m.position)
        .Color(k, m.color)
        .Set(k, kElementBool, _variant_t(false));
  }
}

void CCommonControls::SetupDeviationGauge(IiLinearGaugeXPtr gauge) {
  IiLinearGaugeX* g = gauge.operator->();
  Puts p(g);
  Elements e(g);
  p.Ignored(Row(6), 0);
  e.Set(0, kElementInt4, _variant_t(1));
  p.Put(Row(25), 1).Put(Row(2), 1);
  e.Color(0, 0xFF0000);  // the pointer is blue
  p.Put(Row(4), 15)
      .Put(Row(5), 10)
      .Ignored(Row(30), 0.0)
      .Put(Row(16), 1)
      .Put(Row(20), 10)
      .Put(Row(17), 1)
      .Put(Row(23), 5)
      .Put(Row(1), 30)
      .Put(Row(24), 10)
      .Ignored(Row(21), 0)
      .Ignored(Row(28), 100.0)
      .Put(Row(19), 6)
      .Put(Row(22), 3);
  AddMarkers(g, {{0.0, 0x00FF00, 1}, {0.0, 0x00FF00, 1}}, 15);
}

void CCommonControls::SetupPosAlertsGauge(IiLinearGaugeXPtr gauge) {
  SetupAlertLike(gauge, 10, 28, 10, 110.0, -10.0, 7, {{0.0, 0x00FFFF, 1}, {0.0, 0x00FFFF, 1}});
}

void CCommonControls::SetupCycleTravelGauge(IiLinearGaugeXPtr gauge) {
  SetupAlertLike(gauge, 12, 30, 5, 4294967295.0, 0.0, 6, {{50.0, 0x00FFFF, 0}, {100.0, 0x3399CC, 1}});
}

void CCommonControls::SetupLedArrow(IiLedArrowXPtr led) {
  Puts(led.operator->())
      .Put(ArrowRow(4), 1)
      .Color(ArrowRow(5), 0x0A0AFF)
      .Put(ArrowRow(2), 4)
      .Put(ArrowRow(3), 18)
      .Put(ArrowRow(6), 1);
}

void CCommonControls::SetupDashboardGaugeFonts(IiLinearGaugeXPtr& gauge) {
  Puts p(gauge.operator->());
  p.Put(Row(15), 2);
  common::ChangeFont(p.Control(), {.size = 50000, .name = "Arial"});
  p.Put(Row(26), 110.0)
      .Put(Row(27), -10.0)
      .Put(Row(32), 1)
      .Put(Row(1), 8)
      .Color(Row(15, 'e'), 0xFF0000)
      .Color(Row(15, 'f'), 0xFF0000)
      .Put(Row(30, 'a'), 1)
      .Put(Row(15, 'd'), 10)
      .Put(Row(15, 'c'), 10)
      .Ignored(Row(34, 'a'), 1)
      .Put(Row(2), 1)
      .Put(Row(5), 15)
      .Put(Row(6), 1)
      .Put(Row(28), 110.0)
      .Put(Row(29), -10.0)
      .Color(Row(8), 0x6A6A6A)
      .Color(Row(9), 0xD2D2D2)
      .Color(Row(10), 0x585858)
      .Put(Row(11), 3)
      .Put(Row(12), -10.0)
      .Put(Row(13), 110.0)
      .Put(Row(14), 90.0)
      .Put(Row(15, 'a'), 1)
      .Put(Row(15, 'b'), 1)
      .Put(Row(19), 13)
      .Put(Row(7, 'a'), 1)
      .Put(Row(21), 2)
      .Put(Row(22), 2)
      .Put(Row(23), 4)
      .Put(Row(7, 'b'), 1)
      .Put(Row(30, 'a'), 1)
      .Put(Row(30, 'b'), 0);
}

void CCommonControls::SetupCustomCharLabel(IiLabelXPtr& label) {
  common::ChangeFont(Puts(label.operator->()).Control(), {.size = 100000, .name = "Arial", .bold = TRUE});
}

void CCommonControls::SetupLabelFont(IiLabelXPtr& label, BYTE flag) {
  Puts p(label.operator->());
  common::ChangeFont(p.Control(), {.name = "Arial", .underline = TRUE});
  p.Color(LabelRow(5), flag == 1 ? 0xFF0000 : 0x696969).Put(LabelRow(6), static_cast<LONG>(flag));
}

void CCommonControls::SetupDeviationTitleLabel(IiLabelXPtr& label) {
  common::ChangeFont(Puts(label.operator->()).Control(), {.size = 480000, .name = "Times New Roman"});
}

void CCommonControls::SetupDeviationLabel(IiLabelXPtr& label) { SetupCharViewLabel(label, 0xFFCC00); }

void CCommonControls::SetupCharViewLabel(IiLabelXPtr& label, COLORREF color) {
  Puts p(label.operator->());
  common::ChangeFont(p.Control(), {.size = 100000, .name = "Arial", .bold = TRUE});
  p.Put(LabelRow(2), 0).Put(LabelRow(1), 0).Put(LabelRow(3), 1).Color(LabelRow(4), color);
}

int CCommonControls::GetWindowTextInt(CWnd* window) { return std::atoi(window->GetWindowText().c_str()); }

double CCommonControls::ReadEditDouble(const CWnd& page, int editId) {
  // atof would also take "nan", "inf" and "1e999"; no field may pass those on.
  return plat::LeadingNumber(page.GetDlgItemText(editId).c_str()).value_or(0.0);
}
