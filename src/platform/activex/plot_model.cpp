#include "platform/activex/plot_model.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/sys/numeric.h"
#include "platform/sys/safe_file.h"

namespace plat::plot {
namespace {

constexpr std::string_view kDataHead = "TarnixPlotData 1";
constexpr std::string_view kPropertiesHead = "TarnixPlotProperties 1";

char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  // Latin-1 capitals, the multiplication sign aside.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

const char* KindWord(Kind kind) { return kind == Kind::XY ? "xy" : "time"; }

std::string Number(double v) { return FormatNumber("%.17g", v); }

// A text as written in both files: quoted with escapes, "-" for null.
void AppendText(std::string& out, const _bstr_t& text) {
  if (text.is_null()) {
    out += '-';
    return;
  }
  out += '"';
  for (char c : text.str()) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  out += '"';
}

// Reads the file's lines one at a time, without the line end.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : m_p(text.data()), m_end(text.data() + text.size()) {}
  bool Next(std::string_view* line) {
    if (m_p >= m_end) return false;
    const char* start = m_p;
    while (m_p < m_end && *m_p != '\n') ++m_p;
    const char* stop = m_p;
    if (m_p < m_end) ++m_p;  // the '\n'
    if (stop > start && stop[-1] == '\r') --stop;
    *line = std::string_view(start, static_cast<size_t>(stop - start));
    return true;
  }
  const char* position() const { return m_p; }
  void set_position(const char* p) { m_p = p; }
  const char* end() const { return m_end; }
  // Nothing but blank lines left.
  bool OnlyBlankLeft() const {
    for (const char* p = m_p; p < m_end; ++p)
      if (*p != '\n' && *p != '\r' && *p != ' ' && *p != '\t') return false;
    return true;
  }

 private:
  const char* m_p;
  const char* m_end;
};

// Reads the words, numbers and quoted texts of one line.
class Tokens {
 public:
  explicit Tokens(std::string_view line) : m_rest(line) {}

  bool Word(std::string_view* word) {
    SkipBlanks();
    size_t n = 0;
    while (n < m_rest.size() && m_rest[n] != ' ' && m_rest[n] != '\t') ++n;
    if (n == 0) return false;
    *word = m_rest.substr(0, n);
    m_rest.remove_prefix(n);
    return true;
  }
  bool Expect(std::string_view word) {
    std::string_view w;
    return Word(&w) && w == word;
  }
  template <class Int>
  bool Integer(Int* value) {
    std::string_view w;
    if (!Word(&w)) return false;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), *value);
    return ec == std::errc() && end == w.data() + w.size();
  }
  bool Double(double* value) {
    std::string_view w;
    if (!Word(&w)) return false;
    const std::string s(w);
    char* end = nullptr;
    *value = StrToD(s.c_str(), &end);
    return end == s.c_str() + s.size();
  }
  bool Color(COLORREF* value) {
    return Integer(value);
  }
  bool Flag(VARIANT_BOOL* value) { return Integer(value); }
  bool Text(_bstr_t* value) {
    SkipBlanks();
    if (m_rest.empty()) return false;
    if (m_rest[0] == '-') {
      m_rest.remove_prefix(1);
      *value = _bstr_t();
      return m_rest.empty() || m_rest[0] == ' ';
    }
    if (m_rest[0] != '"') return false;
    std::string text;
    size_t i = 1;
    for (; i < m_rest.size() && m_rest[i] != '"'; ++i) {
      char c = m_rest[i];
      if (c == '\\') {
        if (++i >= m_rest.size()) return false;
        switch (m_rest[i]) {
          case 'n': c = '\n'; break;
          case 'r': c = '\r'; break;
          case '"': c = '"'; break;
          case '\\': c = '\\'; break;
          default: return false;
        }
      }
      text += c;
    }
    if (i >= m_rest.size()) return false;
    m_rest.remove_prefix(i + 1);
    *value = _bstr_t(text);
    return true;
  }
  bool Font(FontSpec* font) {
    FontSpec f;
    if (!Text(&f.name) || !Integer(&f.size) || !Integer(&f.bold) || !Integer(&f.underline) || !Integer(&f.charset))
      return false;
    *font = f;
    return true;
  }
  bool Setting(Settings* settings) {
    int number = 0;
    std::string_view type;
    if (!Integer(&number) || !Word(&type)) return false;
    _variant_t v;
    if (type == "empty") {
    } else if (type == "i2") {
      short n = 0;
      if (!Integer(&n)) return false;
      v = _variant_t(n);
    } else if (type == "i4") {
      LONG n = 0;
      if (!Integer(&n)) return false;
      v = _variant_t(n);
    } else if (type == "r4") {
      double d = 0;
      if (!Double(&d)) return false;
      v = _variant_t(static_cast<float>(d));
    } else if (type == "r8") {
      double d = 0;
      if (!Double(&d)) return false;
      v = _variant_t(d);
    } else if (type == "bool") {
      VARIANT_BOOL b = 0;
      if (!Integer(&b)) return false;
      v = _variant_t(true);
      v.boolVal = b;
    } else if (type == "ui1") {
      BYTE b = 0;
      if (!Integer(&b)) return false;
      v = _variant_t(b);
    } else if (type == "bstr") {
      _bstr_t t;
      if (!Text(&t)) return false;
      v = _variant_t(t);
    } else {
      return false;
    }
    (*settings)[number] = std::move(v);
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return m_rest.empty();
  }

 private:
  void SkipBlanks() {
    while (!m_rest.empty() && (m_rest[0] == ' ' || m_rest[0] == '\t')) m_rest.remove_prefix(1);
  }
  std::string_view m_rest;
};

void AppendSettings(std::string& out, const std::string& object, const Settings& settings) {
  for (const auto& [number, v] : settings) {
    out += object;
    out += " setting ";
    out += std::to_string(number);
    switch (v.vt) {
      case VT_I2: out += " i2 " + std::to_string(v.iVal); break;
      case VT_I4: out += " i4 " + std::to_string(v.lVal); break;
      case VT_R4: out += " r4 " + FormatNumber("%.9g", static_cast<double>(v.fltVal)); break;
      case VT_R8: out += " r8 " + Number(v.dblVal); break;
      case VT_BOOL: out += " bool " + std::to_string(v.boolVal); break;
      case VT_UI1: out += " ui1 " + std::to_string(v.bVal); break;
      case VT_BSTR:
        out += " bstr ";
        AppendText(out, v.bstrVal);
        break;
      default: out += " empty"; break;
    }
    out += '\n';
  }
}

void AppendFont(std::string& out, const FontSpec& f) {
  AppendText(out, f.name);
  out += ' ' + std::to_string(f.size) + ' ' + std::to_string(f.bold) + ' ' + std::to_string(f.underline) + ' ' +
         std::to_string(f.charset);
}

void AppendAxis(std::string& out, const std::string& object, const AxisState& a) {
  auto line = [&](const char* key, const std::string& value) { out += object + ' ' + key + ' ' + value + '\n'; };
  out += object + " name ";
  AppendText(out, a.name);
  out += '\n' + object + " title ";
  AppendText(out, a.title);
  out += '\n' + object + " titlefont ";
  AppendFont(out, a.titleFont);
  out += '\n';
  line("min", Number(a.min));
  line("span", Number(a.span));
  line("startvalue", Number(a.startValue));
  line("increment", Number(a.increment));
  line("limitlow", Number(a.limitLow));
  line("limithigh", Number(a.limitHigh));
  line("visible", std::to_string(a.visible));
  line("enabled", std::to_string(a.enabled));
  AppendSettings(out, object, a.settings);
}

bool ApplyAxisLine(AxisState& a, std::string_view key, Tokens& t) {
  if (key == "name") return t.Text(&a.name);
  if (key == "title") return t.Text(&a.title);
  if (key == "titlefont") return t.Font(&a.titleFont);
  if (key == "min") return t.Double(&a.min);
  if (key == "span") return t.Double(&a.span);
  if (key == "startvalue") return t.Double(&a.startValue);
  if (key == "increment") return t.Double(&a.increment);
  if (key == "limitlow") return t.Double(&a.limitLow);
  if (key == "limithigh") return t.Double(&a.limitHigh);
  if (key == "visible") return t.Flag(&a.visible);
  if (key == "enabled") return t.Flag(&a.enabled);
  if (key == "setting") return t.Setting(&a.settings);
  return false;
}

bool ApplyChannelLine(ChannelLook& c, std::string_view key, Tokens& t) {
  if (key == "name") return t.Text(&c.name);
  if (key == "title") return t.Text(&c.title);
  if (key == "xaxis") return t.Text(&c.xAxisName);
  if (key == "yaxis") return t.Text(&c.yAxisName);
  if (key == "color") return t.Color(&c.color);
  if (key == "visible") return t.Flag(&c.visible);
  if (key == "legend") return t.Flag(&c.legend);
  if (key == "line") return t.Integer(&c.lineSetting);
  if (key == "markers") return t.Integer(&c.markers);
  if (key == "markersize") return t.Integer(&c.markerSize);
  if (key == "markerstyle") return t.Integer(&c.markerStyle);
  if (key == "markerextra") return t.Integer(&c.markerExtra);
  if (key == "initial") return t.Integer(&c.initial);
  return false;
}

// "xaxis.3" -> 3 when the prefix matches and the index is below count.
bool IndexedObject(std::string_view object, std::string_view prefix, size_t count, size_t* index) {
  if (object.substr(0, prefix.size()) != prefix) return false;
  const std::string_view digits = object.substr(prefix.size());
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), *index);
  return ec == std::errc() && end == digits.data() + digits.size() && !digits.empty() && *index < count;
}

// One "<x> <y>" line at p; p moves past its line end.
bool ParsePoint(const char*& p, const char* end, double* x, double* y) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  if (p >= end || isBlank(*p)) return false;
  char* e = nullptr;
  *x = StrToD(p, &e);
  if (e == p || e >= end || *e != ' ') return false;
  p = e + 1;
  if (p >= end || isBlank(*p)) return false;
  *y = StrToD(p, &e);
  if (e == p || e >= end) return false;
  if (*e == '\r') ++e;
  if (e >= end || *e != '\n') return false;
  p = e + 1;
  return true;
}

}  // namespace

bool NamesMatch(const _bstr_t& a, const _bstr_t& b) {
  const std::u16string_view x = a.view();
  const std::u16string_view y = b.view();
  if (x.empty() || x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (Fold(x[i]) != Fold(y[i])) return false;
  return true;
}

bool IsAllAxes(const _bstr_t& name) { return NamesMatch(name, _bstr_t("<All>")); }

bool IsStorableSetting(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_UI1:
    case VT_BSTR: return true;
    default: return false;
  }
}

FontSpec DefaultTitleFont() { return FontSpec{_bstr_t("DejaVu Sans"), 110000, TRUE, FALSE, 0}; }
FontSpec DefaultAxisFont() { return FontSpec{_bstr_t("DejaVu Sans"), 90000, FALSE, FALSE, 0}; }

COLORREF DefaultChannelColor(size_t n) {
  // Calm, well-separated colours, as 0x00BBGGRR.
  static constexpr COLORREF kPalette[] = {
      0x002F32DC,  // red
      0x00D28B26,  // blue
      0x00009985,  // olive green
      0x00164BCB,  // orange
      0x00C4716C,  // violet
      0x0098A12A,  // teal
      0x008236D3,  // magenta
      0x000089B5,  // ochre
      0x00756E58,  // slate
      0x00000000,  // black
  };
  return kPalette[n % (sizeof kPalette / sizeof kPalette[0])];
}

void ChannelState::ClearPoints() {
  x.clear();
  y.clear();
  marks.clear();
  markCount = 0;
  ++generation;
  ++markGeneration;
}

void ChannelState::SetPointMark(size_t index, bool on) {
  if (marks.empty()) {
    if (!on) return;
    marks.assign(x.size(), 0);
  }
  const std::uint8_t now = on ? 1 : 0;
  if (marks[index] == now) return;
  marks[index] = now;
  if (on)
    ++markCount;
  else
    --markCount;
  ++markGeneration;
}

PlotModel::PlotModel(Kind kind) : m_kind(kind) {
  look.titleFont = DefaultTitleFont();
  AddAxis(true);
  AddAxis(false);
  AddChannel();
}

int PlotModel::ChannelIndex(const _bstr_t& name) const {
  for (size_t i = 0; i < channels.size(); ++i)
    if (NamesMatch(channels[i]->look.name, name)) return static_cast<int>(i);
  return -1;
}

int PlotModel::ChannelIndex(const ChannelState* channel) const {
  for (size_t i = 0; i < channels.size(); ++i)
    if (channels[i].get() == channel) return static_cast<int>(i);
  return -1;
}

int PlotModel::AxisIndex(bool xAxis, const _bstr_t& name) const {
  const auto& axes = Axes(xAxis);
  for (size_t i = 0; i < axes.size(); ++i)
    if (NamesMatch(axes[i].name, name)) return static_cast<int>(i);
  return -1;
}

int PlotModel::BoundAxis(bool xAxis, const _bstr_t& channelAxisName) const {
  if (channelAxisName.length() == 0) return Axes(xAxis).empty() ? -1 : 0;
  return AxisIndex(xAxis, channelAxisName);
}

int PlotModel::AddChannel() {
  auto channel = std::make_shared<ChannelState>();
  const size_t n = channels.size();
  channel->look.name = _bstr_t("Channel " + std::to_string(n + 1));
  channel->look.title = channel->look.name;
  channel->look.color = DefaultChannelColor(n);
  channels.push_back(std::move(channel));
  return static_cast<int>(n);
}

void PlotModel::RemoveAllChannels() {
  for (auto& c : channels) c->attached = false;
  channels.clear();
}

void PlotModel::ClearAllData() {
  for (auto& c : channels) c->ClearPoints();
}

int PlotModel::AddAxis(bool xAxis) {
  auto& axes = Axes(xAxis);
  AxisState axis;
  axis.name = _bstr_t(std::string(xAxis ? "X Axis " : "Y Axis ") + std::to_string(axes.size() + 1));
  axis.titleFont = DefaultAxisFont();
  axes.push_back(std::move(axis));
  return static_cast<int>(axes.size() - 1);
}

bool PlotModel::FitAxis(bool xAxis, int index) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const auto& c : channels) {
    if (c->look.visible == 0) continue;
    const int bx = BoundAxis(true, c->look.xAxisName);
    const int by = BoundAxis(false, c->look.yAxisName);
    if (bx < 0 || by < 0 || (xAxis ? bx : by) != index) continue;
    for (double v : xAxis ? c->x : c->y) {
      if (!std::isfinite(v)) continue;
      if (v < lo) lo = v;
      if (v > hi) hi = v;
    }
  }
  if (lo > hi) return false;
  AxisState& axis = Axes(xAxis)[static_cast<size_t>(index)];
  if (lo == hi) {
    // One value: centre it in a span of one.
    axis.min = lo - 0.5;
    axis.span = 1.0;
  } else {
    axis.min = lo;
    axis.span = hi - lo;
  }
  return true;
}

namespace {

// The shortest text that reads back to the same double, in any locale.
void AppendNumber(std::string& out, double value) {
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, result.ptr);
}

// The optional line after "kind" in both files.
void AppendStamp(std::string& out, const _bstr_t& stamp) {
  if (stamp.is_null()) return;
  out += "stamp ";
  AppendText(out, stamp);
  out += '\n';
}

// Reads the line after "kind", and the stamp when it is one; *line is
// then the line after the stamp.
bool ReadStamp(LineReader& reader, std::string_view* line, _bstr_t* stamp) {
  *stamp = _bstr_t();
  if (!reader.Next(line)) return false;
  Tokens t(*line);
  if (!t.Expect("stamp")) return true;
  return t.Text(stamp) && t.AtEnd() && reader.Next(line);
}

}  // namespace

std::string PlotModel::DataText() const {
  size_t points = 0;
  for (const auto& c : channels) points += c->x.size();
  std::string out;
  out.reserve(64 + channels.size() * 48 + points * 44);
  out += kDataHead;
  out += "\nkind ";
  out += KindWord(m_kind);
  out += '\n';
  AppendStamp(out, stamp);
  out += "channels " + std::to_string(channels.size()) + '\n';
  for (size_t i = 0; i < channels.size(); ++i) {
    const ChannelState& c = *channels[i];
    out += "channel " + std::to_string(i) + ' ' + std::to_string(c.x.size()) + ' ';
    AppendText(out, c.look.name);
    out += '\n';
    for (size_t k = 0; k < c.x.size(); ++k) {
      AppendNumber(out, c.x[k]);
      out += ' ';
      AppendNumber(out, c.y[k]);
      out += '\n';
    }
  }
  out += "end\n";
  return out;
}

HRESULT PlotModel::LoadDataText(const std::string& text) {
  LineReader reader(text);
  std::string_view line;
  if (!reader.Next(&line) || line != kDataHead) return E_FAIL;
  if (!reader.Next(&line)) return E_FAIL;
  FileLayout layout;
  {
    Tokens t(line);
    std::string_view kind;
    if (!t.Expect("kind") || !t.Word(&kind) || (kind != "time" && kind != "xy") || !t.AtEnd()) return E_FAIL;
    layout.kind = kind;
  }
  _bstr_t fileStamp;
  size_t stored = 0;
  if (!ReadStamp(reader, &line, &fileStamp)) return E_FAIL;
  {
    Tokens t(line);
    if (!t.Expect("channels") || !t.Integer(&stored) || !t.AtEnd()) return E_FAIL;
  }
  // Each channel block takes a line at least; a count beyond that is a
  // damaged file, not a reason to reserve memory.
  if (stored > text.size()) return E_FAIL;

  struct Points {
    std::vector<double> x, y;
  };
  std::vector<Points> loaded(std::min(stored, channels.size()));
  for (size_t i = 0; i < stored; ++i) {
    if (!reader.Next(&line)) return E_FAIL;
    Tokens t(line);
    size_t index = 0, count = 0;
    _bstr_t name;
    if (!t.Expect("channel") || !t.Integer(&index) || index != i || !t.Integer(&count) || !t.Text(&name) ||
        !t.AtEnd())
      return E_FAIL;
    layout.channels.push_back(std::move(name));
    const char* p = reader.position();
    const char* end = reader.end();
    // "0 0\n" is the shortest point line.
    if (count > static_cast<size_t>(end - p) / 4) return E_FAIL;
    Points* keep = i < loaded.size() ? &loaded[i] : nullptr;
    if (keep) {
      keep->x.resize(count);
      keep->y.resize(count);
    }
    double x = 0, y = 0;
    for (size_t k = 0; k < count; ++k) {
      if (!ParsePoint(p, end, &x, &y)) return E_FAIL;
      if (keep) {
        keep->x[k] = x;
        keep->y[k] = y;
      }
    }
    reader.set_position(p);
  }
  if (!reader.Next(&line) || line != "end" || !reader.OnlyBlankLeft()) return E_FAIL;

  for (size_t i = 0; i < channels.size(); ++i) {
    ChannelState& c = *channels[i];
    c.ClearPoints();
    if (i < loaded.size()) {
      c.x = std::move(loaded[i].x);
      c.y = std::move(loaded[i].y);
    }
  }
  stamp = fileStamp;
  fileLayout = std::move(layout);
  return S_OK;
}

std::string PlotModel::PropertiesText() const {
  std::string out;
  out += kPropertiesHead;
  out += "\nkind ";
  out += KindWord(m_kind);
  out += '\n';
  AppendStamp(out, stamp);
  out += "counts " + std::to_string(channels.size()) + ' ' + std::to_string(look.xAxes.size()) + ' ' +
         std::to_string(look.yAxes.size()) + '\n';
  out += "plot title ";
  AppendText(out, look.title);
  out += "\nplot titlefont ";
  AppendFont(out, look.titleFont);
  out += "\nplot titlecolor " + std::to_string(look.titleColor) + '\n';
  out += "plot backcolor " + std::to_string(look.backColor) + '\n';
  AppendSettings(out, "plot", look.settings);
  out += "toolbar visible " + std::to_string(look.toolBar.visible) + '\n';
  AppendSettings(out, "toolbar", look.toolBar.settings);
  out += "dataview gridxaxis ";
  AppendText(out, look.dataView.xAxisName);
  out += "\ndataview gridyaxis ";
  AppendText(out, look.dataView.yAxisName);
  out += "\ndataview gridcolor " + std::to_string(look.dataView.gridColor) + '\n';
  out += "dataview gridvisible " + std::to_string(look.dataView.gridVisible) + '\n';
  AppendSettings(out, "dataview", look.dataView.settings);
  for (size_t i = 0; i < look.xAxes.size(); ++i) AppendAxis(out, "xaxis." + std::to_string(i), look.xAxes[i]);
  for (size_t i = 0; i < look.yAxes.size(); ++i) AppendAxis(out, "yaxis." + std::to_string(i), look.yAxes[i]);
  for (size_t i = 0; i < channels.size(); ++i) {
    const ChannelLook& c = channels[i]->look;
    const std::string object = "channel." + std::to_string(i);
    auto text = [&](const char* key, const _bstr_t& value) {
      out += object + ' ' + key + ' ';
      AppendText(out, value);
      out += '\n';
    };
    auto number = [&](const char* key, long long value) {
      out += object + ' ' + key + ' ' + std::to_string(value) + '\n';
    };
    text("name", c.name);
    text("title", c.title);
    text("xaxis", c.xAxisName);
    text("yaxis", c.yAxisName);
    number("color", c.color);
    number("visible", c.visible);
    number("legend", c.legend);
    number("line", c.lineSetting);
    number("markers", c.markers);
    number("markersize", c.markerSize);
    number("markerstyle", c.markerStyle);
    number("markerextra", c.markerExtra);
    number("initial", c.initial);
  }
  out += "end\n";
  return out;
}

HRESULT PlotModel::LoadPropertiesText(const std::string& text) {
  LineReader reader(text);
  std::string_view line;
  if (!reader.Next(&line) || line != kPropertiesHead) return E_FAIL;
  if (!reader.Next(&line)) return E_FAIL;
  {
    Tokens t(line);
    if (!t.Expect("kind") || !t.Expect(KindWord(m_kind)) || !t.AtEnd()) return E_FAIL;
  }
  _bstr_t fileStamp;
  if (!ReadStamp(reader, &line, &fileStamp)) return E_FAIL;
  {
    Tokens t(line);
    size_t nc = 0, nx = 0, ny = 0;
    if (!t.Expect("counts") || !t.Integer(&nc) || !t.Integer(&nx) || !t.Integer(&ny) || !t.AtEnd()) return E_FAIL;
    // Another layout's file would give its names and looks to the wrong
    // channels and axes.
    if (nc != channels.size() || nx != look.xAxes.size() || ny != look.yAxes.size()) return E_FAIL;
  }

  PlotLook staged = look;
  std::vector<ChannelLook> stagedChannels;
  stagedChannels.reserve(channels.size());
  for (const auto& c : channels) stagedChannels.push_back(c->look);

  bool ended = false;
  while (reader.Next(&line)) {
    if (line == "end") {
      ended = true;
      break;
    }
    Tokens t(line);
    std::string_view object, key;
    if (!t.Word(&object) || !t.Word(&key)) return E_FAIL;
    bool ok = false;
    size_t index = 0;
    if (object == "plot") {
      if (key == "title")
        ok = t.Text(&staged.title);
      else if (key == "titlefont")
        ok = t.Font(&staged.titleFont);
      else if (key == "titlecolor")
        ok = t.Color(&staged.titleColor);
      else if (key == "backcolor")
        ok = t.Color(&staged.backColor);
      else if (key == "setting")
        ok = t.Setting(&staged.settings);
    } else if (object == "toolbar") {
      if (key == "visible")
        ok = t.Flag(&staged.toolBar.visible);
      else if (key == "setting")
        ok = t.Setting(&staged.toolBar.settings);
    } else if (object == "dataview") {
      DataViewState& v = staged.dataView;
      if (key == "gridxaxis")
        ok = t.Text(&v.xAxisName);
      else if (key == "gridyaxis")
        ok = t.Text(&v.yAxisName);
      else if (key == "gridcolor")
        ok = t.Color(&v.gridColor);
      else if (key == "gridvisible")
        ok = t.Flag(&v.gridVisible);
      else if (key == "setting")
        ok = t.Setting(&v.settings);
    } else if (IndexedObject(object, "xaxis.", staged.xAxes.size(), &index)) {
      ok = ApplyAxisLine(staged.xAxes[index], key, t);
    } else if (IndexedObject(object, "yaxis.", staged.yAxes.size(), &index)) {
      ok = ApplyAxisLine(staged.yAxes[index], key, t);
    } else if (IndexedObject(object, "channel.", stagedChannels.size(), &index)) {
      ok = ApplyChannelLine(stagedChannels[index], key, t);
    }
    if (!ok || !t.AtEnd()) return E_FAIL;
  }
  if (!ended || !reader.OnlyBlankLeft()) return E_FAIL;

  look = std::move(staged);
  for (size_t i = 0; i < channels.size(); ++i) channels[i]->look = std::move(stagedChannels[i]);
  stamp = fileStamp;
  return S_OK;
}

HRESULT WriteTextFile(const std::string& path, const std::string& text) {
  return WriteRegularFile(path, text) ? S_OK : STG_E_WRITEFAULT;
}

HRESULT ReadTextFile(const std::string& path, std::string* text) {
  switch (ReadRegularFile(path, kPlotFileCap, text)) {
    case ReadStatus::Ok:
      return S_OK;
    case ReadStatus::NotFound:
      return STG_E_FILENOTFOUND;
    default:
      return STG_E_READFAULT;
  }
}

}  // namespace plat::plot
