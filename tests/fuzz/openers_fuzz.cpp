// Feeds arbitrary text to the plot's data-file and properties-file parsers,
// which every plot and test file goes through when it is opened. A load
// that fails must leave the plot as it was; one that succeeds must write a
// file that loads again to the same text.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/activex/plot_model.h"

namespace {

using plat::plot::Kind;
using plat::plot::PlotModel;

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Layout {
  size_t channels = 2;
  size_t xAxes = 1;
  size_t yAxes = 1;
};

// A properties file only loads into a plot of its own layout, so the plot
// takes the counts the file gives (within reason).
Layout LayoutOf(std::string_view text) {
  Layout layout;
  const size_t at = text.find("\ncounts ");
  if (at == std::string_view::npos) return layout;
  const char* p = text.data() + at + 8;
  const char* end = text.data() + text.size();
  size_t* fields[] = {&layout.channels, &layout.xAxes, &layout.yAxes};
  for (size_t* field : fields) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    size_t n = 0;
    const auto [next, ec] = std::from_chars(p, end, n);
    if (ec != std::errc() || n > 32) return Layout{};
    *field = n;
    p = next;
  }
  return layout;
}

PlotModel Shaped(Kind kind, const Layout& layout) {
  PlotModel model(kind);
  model.RemoveAllChannels();
  while (model.channels.size() < layout.channels) model.AddChannel();
  model.look.xAxes.clear();
  model.look.yAxes.clear();
  while (model.look.xAxes.size() < layout.xAxes) model.AddAxis(true);
  while (model.look.yAxes.size() < layout.yAxes) model.AddAxis(false);
  return model;
}

void LoadData(const std::string& text) {
  PlotModel model = Shaped(Kind::XY, Layout{});
  model.channels[0]->x = {1.0};
  model.channels[0]->y = {2.0};
  const std::string before = model.DataText();
  if (FAILED(model.LoadDataText(text))) {
    Check(model.DataText() == before);
    return;
  }
  const std::string written = model.DataText();
  PlotModel again = Shaped(Kind::XY, Layout{});
  Check(again.LoadDataText(written) == S_OK && again.DataText() == written);
}

void LoadProperties(Kind kind, const std::string& text) {
  const Layout layout = LayoutOf(text);
  PlotModel model = Shaped(kind, layout);
  const std::string before = model.PropertiesText();
  if (FAILED(model.LoadPropertiesText(text))) {
    Check(model.PropertiesText() == before);
    return;
  }
  const std::string written = model.PropertiesText();
  PlotModel again = Shaped(kind, layout);
  Check(again.LoadPropertiesText(written) == S_OK && again.PropertiesText() == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  LoadData(text);
  LoadProperties(Kind::XY, text);
  LoadProperties(Kind::Time, text);
  return 0;
}
