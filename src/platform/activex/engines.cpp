// The report and printer engines. The pages create them beside their other
// controls and hand them to the report builders; on the page they show
// nothing.
#include "platform/activex/control_base.h"

namespace activex {
namespace {

class Report : public ControlBase<IReportX> {
 public:
  Report() : ControlBase({}, true) {}
  HRESULT Reset() override { return Core().Attempt("reset"); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new QWidget(parent); }
  bool ShowsWidget() const override { return false; }
};

class Printer : public ControlBase<IPrinterX> {
 public:
  Printer() : ControlBase({}, false) {}

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new QWidget(parent); }
  bool ShowsWidget() const override { return false; }
};

}  // namespace

HRESULT CreateReport(REFIID riid, void** ppv) { return plat::CreateComObject<Report>(riid, ppv); }
HRESULT CreatePrinter(REFIID riid, void** ppv) { return plat::CreateComObject<Printer>(riid, ppv); }

}  // namespace activex
