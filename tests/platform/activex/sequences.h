#pragma once
// The put sequences of the control creators and set-ups, written out by
// hand from their tables, as steps a test applies to a control in order.
#include <functional>
#include <string>
#include <vector>

#include "platform/activex/controls.h"
#include "platform/activex/widget_host.h"

namespace axtest {

using namespace activex;

template <class I>
_com_ptr_t<I> As(IUnknown* unknown) {
  _com_ptr_t<I> p;
  if (unknown) unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
  return p;
}

using Step = std::function<HRESULT(IUnknown*)>;

inline Step Set(int number, const _variant_t& value) {
  return [number, value](IUnknown* c) { return As<IControl>(c)->PutSetting(number, value); };
}
inline Step SetColor(int number, COLORREF color) { return Set(number, _variant_t(static_cast<LONG>(color))); }

// The font steps: read the font object, put on its IFont, give it back.
struct FontPuts {
  CY size = 0;  // 0: not put
  const char* name = nullptr;
  int bold = -1;  // -1: not put
  int underline = -1;
  int charset = -1;
  bool sizeFirst = true;  // the edit display puts size, bold, name
  bool giveBack = true;
};
inline Step Font(FontPuts f) {
  return [f](IUnknown* c) {
    IUnknownPtr object;
    HRESULT hr = As<IControl>(c)->get_Font(&object);
    if (FAILED(hr) || !object) return FAILED(hr) ? hr : E_POINTER;
    IFontPtr font = As<IFont>(object);
    if (f.size) font->put_Size(f.size);
    if (f.bold >= 0 && !f.sizeFirst) font->put_Bold(f.bold);
    if (f.name) font->put_Name(f.name);
    if (f.bold >= 0 && f.sizeFirst) font->put_Bold(f.bold);
    if (f.underline >= 0) font->put_Underline(f.underline);
    if (f.charset >= 0) font->put_Charset(static_cast<short>(f.charset));
    return f.giveBack ? As<IControl>(c)->putref_Font(object) : S_OK;
  };
}

inline Step AddMarker() {
  return [](IUnknown* c) {
    LONG index = -1;
    return As<IiLinearGaugeX>(c)->AddElement(&index);
  };
}
inline Step Element(LONG index, int setting, const _variant_t& value) {
  return [=](IUnknown* c) { return As<IiLinearGaugeX>(c)->PutElementSetting(index, setting, value); };
}
inline Step ElementColor(LONG index, COLORREF color) {
  return Element(index, kElementColor, _variant_t(static_cast<LONG>(color)));
}
inline Step ClearImages() {
  return [](IUnknown* c) { return As<IiImageDisplayX>(c)->ClearImages(); };
}
inline Step AddBitmap(LONG id) {
  return [id](IUnknown* c) { return As<IiImageDisplayX>(c)->AddBitmap(id); };
}
inline Step GridCall(std::function<HRESULT(IGridX*)> call) {
  return [call](IUnknown* c) { return call(As<IGridX>(c).GetInterfacePtr()); };
}

inline std::vector<Step> Concat(std::vector<std::vector<Step>> parts) {
  std::vector<Step> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Markers in the set-ups' usual order: add, int3, int4, int1, int2,
// position, colour and, where given, the boolean.
inline std::vector<Step> Marker(LONG k, double position, COLORREF color, int movable = -1, LONG int2 = 12) {
  std::vector<Step> s = {AddMarker(),
                         Element(k, kElementInt3, _variant_t(1)),
                         Element(k, kElementInt4, _variant_t(1)),
                         Element(k, kElementInt1, _variant_t(12)),
                         Element(k, kElementInt2, _variant_t(int2)),
                         Element(k, kElementPosition, _variant_t(position)),
                         ElementColor(k, color)};
  if (movable >= 0) s.push_back(Element(k, kElementBool, _variant_t(movable != 0)));
  return s;
}

// ---- Creators (initial settings, in order) ----

inline std::vector<Step> CreateLedRound(LONG w, LONG h, COLORREF color = 0x00FF00) {
  return {Set(kWidth, w),     Set(kHeight, h),    SetColor(kLedColor, color), Set(Creator(1), 1),
          Set(Creator(2), 1), Set(Creator(3), 0), Set(Creator(4), 0)};
}
inline std::vector<Step> CreateLedArrow(LONG w, LONG h, COLORREF buttonFace) {
  return {Set(kWidth, w),
          Set(kHeight, h),
          Set(ArrowRow(2), 6),
          Set(ArrowRow(3), 12),
          SetColor(Creator(1), 0x696969),
          SetColor(ArrowRow(5), buttonFace),
          Set(Creator(2), 0),
          Set(ArrowRow(4), 1),
          Set(Creator(3), 1),
          Set(ArrowRow(1), 0)};
}
inline std::vector<Step> CreateLinearGauge(LONG w, LONG h) {
  return {Set(kWidth, w),   Set(kHeight, h),     SetColor(Creator(1), 0x8000000A),
          Set(Row(15), 2),  Set(Row(28), 110.0), Set(Row(29), -10.0),
          Set(Row(19), 13), Set(Row(22), 3),     Set(Row(32), 1)};
}
inline std::vector<Step> CreateLinearGauge2(LONG w, LONG h) {
  return {Set(Row(6), 4), Set(Creator(2), 1), Set(Row(2), 1), Set(kWidth, w), Set(kHeight, h)};
}
inline std::vector<Step> CreateSwitchSlider(LONG w, LONG h, const char* texts) {
  return {Set(kWidth, w),
          Set(kHeight, h),
          Set(Creator(1), 0),
          SetColor(Creator(2), 0xFF0000),
          Set(Creator(3), 10),
          Set(Creator(4), 1),
          Set(Creator(5), 14),
          Set(Creator(6), 2),
          SetColor(Creator(7), 0xFF0000),
          Set(Creator(8), 0),
          Set(Creator(9), 3),
          Set(Creator(10), 10),
          Set(kPositionTexts, texts),
          Set(kHeight, 42),
          Set(kWidth, 108)};
}
inline std::vector<Step> CreateSwitchToggle(LONG w, LONG h) {
  return {Set(Creator(1), 1), Set(kWidth, w),     Set(kHeight, h),   Set(Creator(2), 1),
          Set(Creator(3), 0), Set(Creator(4), 1), Set(Creator(5), 1)};
}
inline std::vector<Step> CreateAnalogDisplay(LONG w, LONG h, const char* units) {
  return {Set(kWidth, w),
          Set(kHeight, h),
          SetColor(Creator(1), 0x8000000A),
          SetColor(Creator(2), 0x8000000A),
          Set(Creator(3), 0),
          Set(Creator(4), 0),
          Set(kUnits, units),
          Set(Creator(5), 0)};
}
inline std::vector<Step> CreateAnalogDisplay2(LONG w, LONG h) {
  return {Set(kWidth, w), Set(kHeight, h), Set(Creator(6), 0)};
}
inline std::vector<Step> CreateEditDisplay(LONG w, LONG h) {
  return {SetColor(Creator(1), 0xC0C0C0),
          Set(Creator(2), 2),
          Font({.size = 80000, .name = "Arial", .bold = 1, .sizeFirst = false}),
          Set(kWidth, w),
          Set(kHeight, h),
          Set(Creator(3), 0)};
}
inline std::vector<Step> CreateLabel(LONG w, LONG h, const char* caption) {
  return {Set(Creator(1), 0), Set(Creator(2), 1), Set(kHeight, h), Set(kWidth, w), Set(kCaption, caption)};
}
inline std::vector<Step> CreateThermometer(int scaleChoice) {
  std::vector<Step> s = {Font({.size = 80000, .name = "Arial"}),
                         SetColor(Creator(1), 0x8000000F),
                         SetColor(Creator(2), 0xFF6633),
                         Set(Creator(3), 7),
                         Set(Creator(4), 3),
                         Set(Creator(5), 0)};
  if (scaleChoice == 1) {
    for (Step step : {Set(kMax, 150.0), Set(kMin, -50.0), Set(Creator(6), 5), Set(Creator(7), 3)}) s.push_back(step);
  } else {
    for (Step step : {Set(kMax, 100.0), Set(kMin, 0.0)}) s.push_back(step);
  }
  for (Step step : {Set(Creator(8), 5), Set(Creator(9), 0), Set(Creator(10), 0.0)}) s.push_back(step);
  return s;
}
inline std::vector<Step> CreateImageDisplay(LONG w, LONG h, LONG bitmapId) {
  return {Set(kWidth, w), Set(kHeight, h), ClearImages(), AddBitmap(bitmapId)};
}
inline std::vector<Step> CreateReport() { return {Font({.charset = 0, .giveBack = false})}; }
inline std::vector<Step> CreateSpinEdit() { return {Set(Creator(1), 1), Set(Creator(2), 0), Set(Creator(3), 2)}; }

// ---- Set-ups ----

inline std::vector<Step> SetupDashboardGauge() {
  return {Set(Row(15), 2),
          Set(Row(26), 100.0),
          Set(Row(27), 0.0),
          Set(Row(32), 1),
          Set(Row(1), 1),
          Set(Row(6), 4),
          Set(Row(28), 100.0),
          Set(Row(29), 0.0),
          SetColor(Row(8), 0x5B5B5B),
          SetColor(Row(9), 0xDADADA),
          SetColor(Row(10), 0x606060),
          Set(Row(11), 3),
          Set(Row(12), 0.0),
          Set(Row(13), 100.0),
          Set(Row(14), 0.0),
          Set(Row(33), 2),
          Set(Row(34), 2),
          SetColor(Row(3), 0x00FF00),
          Set(Row(18), 0),
          Set(Row(7), 0),
          Set(Row(16), 0),
          Set(Row(17), 0),
          Set(Row(19), 2),
          Set(Row(20), 58)};
}

inline std::vector<Step> SetupDashboardGaugeFonts() {
  return {Set(Row(15), 2),
          Font({.size = 50000, .name = "Arial"}),
          Set(Row(26), 110.0),
          Set(Row(27), -10.0),
          Set(Row(32), 1),
          Set(Row(1), 8),
          SetColor(Row(15, 'e'), 0xFF0000),
          SetColor(Row(15, 'f'), 0xFF0000),
          Set(Row(30, 'a'), 1),
          Set(Row(15, 'd'), 10),
          Set(Row(15, 'c'), 10),
          Set(Row(34, 'a'), 1),
          Set(Row(2), 1),
          Set(Row(5), 15),
          Set(Row(6), 1),
          Set(Row(28), 110.0),
          Set(Row(29), -10.0),
          SetColor(Row(8), 0x6A6A6A),
          SetColor(Row(9), 0xD2D2D2),
          SetColor(Row(10), 0x585858),
          Set(Row(11), 3),
          Set(Row(12), -10.0),
          Set(Row(13), 110.0),
          Set(Row(14), 90.0),
          Set(Row(15, 'a'), 1),
          Set(Row(15, 'b'), 1),
          Set(Row(19), 13),
          Set(Row(7, 'a'), 1),
          Set(Row(21), 2),
          Set(Row(22), 2),
          Set(Row(23), 4),
          Set(Row(7, 'b'), 1),
          Set(Row(30, 'a'), 1),
          Set(Row(30, 'b'), 0)};
}

inline std::vector<Step> SetupTempHumidityGauge() {
  return Concat({{Set(Row(6), 4), Element(0, kElementInt4, _variant_t(1)), Set(Row(2), 1), SetColor(Row(3), 0x00FF00),
                  Set(Row(4), 10), Set(Row(5), 10), Set(Row(30), 0.0), Set(Row(16), 1), Set(Row(20), 10),
                  Set(Row(17), 1), Set(Row(23), 5), Set(Row(1), 10), Set(Row(24), 10), Set(Row(21), 0),
                  Set(Row(28), 200.0), Set(Row(29), -50.0), Set(Row(19), 5), Set(Row(22), 3)},
                 Marker(1, 50.0, 0x00FFFF),
                 Marker(2, 100.0, 0x5096FF)});
}

inline std::vector<Step> SetupPiezoVolGauge() {
  auto later = [](LONG k, double position, COLORREF color) {
    return std::vector<Step>{AddMarker(),
                             Element(k, kElementInt3, _variant_t(1)),
                             Element(k, kElementInt1, _variant_t(12)),
                             Element(k, kElementInt2, _variant_t(12)),
                             Element(k, kElementInt4, _variant_t(1)),
                             Element(k, kElementPosition, _variant_t(position)),
                             ElementColor(k, color),
                             Element(k, kElementBool, _variant_t(false))};
  };
  return Concat(
      {{Set(Row(31), 1), Set(Row(2), 1), SetColor(Row(3), 0x00FF00), Set(Row(4), 12), Set(Row(5), 12),
        Element(0, kElementInt4, _variant_t(1)), Set(Row(30), 0.0), Set(Row(16), 1), Set(Row(20), 10), Set(Row(17), 1),
        Set(Row(23), 5), Set(Row(1), 30), Set(Row(24), 5), Set(Row(11), 1), SetColor(Row(8), 0xC0C0C0),
        Set(Row(28), 24.0), Set(Row(29), -24.0), Set(Row(22), 3), Set(Row(19), 9)},
       Marker(1, -8.0, 0x0A0AFF, 0),
       later(2, 2.0, 0x00FFFF),
       later(3, 20.0, 0x3399CC),
       later(4, 22.75, 0x5096FF)});
}

inline std::vector<Step> SetupDeviationGauge() {
  return Concat({{Set(Row(6), 0), Element(0, kElementInt4, _variant_t(1)), Set(Row(25), 1), Set(Row(2), 1),
                  ElementColor(0, 0xFF0000), Set(Row(4), 15), Set(Row(5), 10), Set(Row(30), 0.0), Set(Row(16), 1),
                  Set(Row(20), 10), Set(Row(17), 1), Set(Row(23), 5), Set(Row(1), 30), Set(Row(24), 10),
                  Set(Row(21), 0), Set(Row(28), 100.0), Set(Row(19), 6), Set(Row(22), 3)},
                 Marker(1, 0.0, 0x00FF00, 1, 15),
                 Marker(2, 0.0, 0x00FF00, 1, 15)});
}

inline std::vector<Step> SetupCycleTravelGauge() {
  return Concat(
      {{Set(Row(6), 0), Set(Row(31), 1), SetColor(Row(3), 0x00FF00), Set(Row(4), 12), Set(Row(5), 12),
        Element(0, kElementInt4, _variant_t(1)), Set(Row(30), 0.0), Set(Row(16), 1), Set(Row(20), 10), Set(Row(17), 1),
        Set(Row(23), 5), Set(Row(1), 30), Set(Row(24), 5), Set(Row(11), 1), SetColor(Row(8), 0xC0C0C0),
        Set(Row(28), 4294967295.0), Set(Row(29), 0.0), Set(Row(22), 3), Set(Row(19), 6)},
       Marker(1, 50.0, 0x00FFFF, 0),
       Marker(2, 100.0, 0x3399CC, 1)});
}

inline std::vector<Step> SetupLedArrow() {
  return {Set(ArrowRow(4), 1), SetColor(ArrowRow(5), 0x0A0AFF), Set(ArrowRow(2), 4), Set(ArrowRow(3), 18),
          Set(ArrowRow(6), 1)};
}

inline std::vector<Step> SetupDeviationLabel() {
  return {Font({.size = 100000, .name = "Arial", .bold = 1}), Set(LabelRow(2), 0), Set(LabelRow(1), 0),
          Set(LabelRow(3), 1), SetColor(LabelRow(4), 0xFFCC00)};
}
inline std::vector<Step> SetupCharViewLabel(COLORREF color) {
  return {Font({.size = 100000, .name = "Arial", .bold = 1}), Set(LabelRow(2), 0), Set(LabelRow(1), 0),
          Set(LabelRow(3), 1), SetColor(LabelRow(4), color)};
}
inline std::vector<Step> SetupLabelFont(int flag) {
  return {Font({.name = "Arial", .underline = 1}), SetColor(LabelRow(5), flag == 1 ? 0xFF0000 : 0x696969),
          Set(LabelRow(6), flag)};
}
inline std::vector<Step> SetupDeviationTitleLabel() { return {Font({.size = 480000, .name = "Times New Roman"})}; }

// The event history grid's set-up with 9 rows and 3 columns; the switches'
// values are the grid's own business, these stand in for them.
inline std::vector<Step> SetupAlarmHistoryGrid(const char* state, const char* number, const char* indication) {
  const std::string s(state), n(number), i(indication);
  return {Set(Creator(1), 0),
          Set(Creator(2), 1),
          Set(Creator(3), 4),
          Set(Creator(4), 3),
          Set(Creator(5), 2),
          GridCall([](IGridX* g) { return g->put_Cols(3); }),
          Set(Creator(6), 1),
          Set(Creator(7), 0),
          GridCall([](IGridX* g) { return g->put_FixedCols(0); }),
          GridCall([](IGridX* g) { return g->put_Rows(9); }),
          GridCall([](IGridX* g) { return g->put_FixedRows(1); }),
          Set(Creator(8), 1),
          GridCall([](IGridX* g) { return g->put_ColWidth(0, 1548); }),
          GridCall([](IGridX* g) { return g->put_ColSetting(0, 5); }),
          GridCall([s](IGridX* g) { return g->put_TextMatrix(0, 0, s.c_str()); }),
          GridCall([n](IGridX* g) { return g->put_TextMatrix(0, 1, n.c_str()); }),
          GridCall([i](IGridX* g) { return g->put_TextMatrix(0, 2, i.c_str()); }),
          Set(Creator(9), 0),
          Set(Creator(10), 1)};
}

// Applies the steps; the first failure ends the series, as it would raise.
inline HRESULT Apply(IUnknown* control, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    const HRESULT hr = step(control);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

inline IUnknownPtr Create(const char* progId) {
  IUnknownPtr control;
  control.CreateInstance(progId);
  return control;
}

}  // namespace axtest
