// The report and printer engines. The pages create them beside their other
// controls and hand them to the report builders; on the page they show
// nothing. The work is done in platform/report.
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/activex/control_base.h"
#include "platform/report/layout.h"
#include "platform/report/render.h"
#include "support/log.h"

namespace activex {
namespace {

using report::Bytes;
using CoreRef = std::shared_ptr<ControlCore>;
using ReportRef = std::shared_ptr<report::Report>;

// Nothing thrown inside gets out to the caller.
template <class F>
HRESULT Guard(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

template <class I>
HRESULT HandOut(I* object, I** out) {
  object->AddRef();
  *out = object;
  return S_OK;
}

class Field : public plat::ComObject<IReportField> {
 public:
  Field(CoreRef core, ReportRef r, std::size_t section, std::size_t field)
      : m_core(std::move(core)), m_report(std::move(r)), m_section(section), m_field(field) {}

  HRESULT get_Name(_bstr_t* name) override { return Out(name, _bstr_t(F().name)); }
  HRESULT get_Text(_bstr_t* text) override { return Out(text, _bstr_t(F().text)); }
  HRESULT put_Text(const _bstr_t& text) override {
    return Guard([&] {
      const std::string value = text.str();
      if (F().type == report::FieldType::Picture) return m_core->Refuse(Label("text"), value, DISP_E_TYPEMISMATCH);
      const HRESULT hr = m_core->Attempt(Label("text"), value);
      if (SUCCEEDED(hr)) F().text = value;
      return hr;
    });
  }
  HRESULT get_Picture(VARIANT* picture) override {
    if (!picture) return E_POINTER;
    const Bytes& bytes = F().picture;
    *picture = bytes ? _variant_t::FromBytes(bytes->data(), bytes->size()) : _variant_t();
    return S_OK;
  }
  HRESULT put_Picture(const VARIANT& picture) override {
    return Guard([&] {
      Bytes bytes;
      std::string shown;
      const std::string label = Label("picture");
      if (picture.vt == VT_BSTR) {
        shown = picture.bstrVal.str();
        auto read = report::ReadFileBytes(shown);
        if (!read) return m_core->Refuse(label, shown, kReportFileNotFound);
        bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(*read));
      } else if (picture.IsByteArray()) {
        bytes = std::make_shared<const std::vector<std::uint8_t>>(picture.Bytes());
        shown = std::to_string(bytes->size()) + " bytes";
      } else if (picture.vt != VT_EMPTY) {
        return m_core->Refuse(label, RawText(picture), DISP_E_TYPEMISMATCH);
      }
      if (F().type != report::FieldType::Picture) return m_core->Refuse(label, shown, DISP_E_TYPEMISMATCH);
      if (bytes && QImage::fromData(bytes->data(), static_cast<int>(bytes->size())).isNull())
        return m_core->Refuse(label, shown, E_INVALIDARG);
      const HRESULT hr = m_core->Attempt(label, shown);
      if (SUCCEEDED(hr)) F().picture = std::move(bytes);
      return hr;
    });
  }
  HRESULT get_DisplayStyle(LONG* style) override { return Out(style, static_cast<LONG>(F().displayStyle)); }
  HRESULT put_DisplayStyle(LONG style) override {
    const HRESULT hr = m_core->Attempt(Label("style"), std::to_string(style));
    if (SUCCEEDED(hr)) F().displayStyle = style;
    return hr;
  }
  HRESULT GetBox(double* left, double* top, double* width, double* height) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = F().left;
    *top = F().top;
    *width = F().width;
    *height = F().height;
    return S_OK;
  }

 private:
  template <class T>
  static HRESULT Out(T* out, T value) {
    if (!out) return E_POINTER;
    *out = std::move(value);
    return S_OK;
  }
  report::Field& F() { return m_report->sections[m_section].fields[m_field]; }
  std::string Label(const char* what) {
    return std::string(what) + "[" + m_report->sections[m_section].name + "." + F().name + "]";
  }

  CoreRef m_core;
  ReportRef m_report;
  std::size_t m_section, m_field;
};

class Fields : public plat::ComObject<IReportFields> {
 public:
  Fields(CoreRef core, ReportRef r, std::size_t section)
      : m_core(std::move(core)), m_report(std::move(r)), m_section(section) {}

  HRESULT get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(S().fields.size());
    return S_OK;
  }
  HRESULT Item(const _bstr_t& name, IReportField** field) override {
    if (!field) return E_POINTER;
    *field = nullptr;
    return Guard([&] {
      const std::string wanted = name.str();
      for (std::size_t i = 0; i < S().fields.size(); ++i)
        if (S().fields[i].name == wanted)
          return HandOut<IReportField>(new Field(m_core, m_report, m_section, i), field);
      return DISP_E_BADINDEX;
    });
  }
  HRESULT Add(const _bstr_t& name, const _bstr_t& text, double left, double top, double width, double height,
              IReportField** field) override {
    if (!field) return E_POINTER;
    *field = nullptr;
    return Guard([&] {
      const std::string args = name.str() + "," + text.str() + "," + FormatDouble(left) + "," + FormatDouble(top) +
                               "," + FormatDouble(width) + "," + FormatDouble(height);
      const std::string label = "add[" + S().name + "]";
      if (!(width >= 0 && height >= 0)) return m_core->Refuse(label, args, E_INVALIDARG);
      const HRESULT hr = m_core->Attempt(label, args);
      if (FAILED(hr)) return hr;
      report::Field f;
      f.name = name.str();
      f.text = text.str();
      f.left = left;
      f.top = top;
      f.width = width;
      f.height = height;
      f.font = m_report->font;
      S().fields.push_back(std::move(f));
      return HandOut<IReportField>(new Field(m_core, m_report, m_section, S().fields.size() - 1), field);
    });
  }

 private:
  report::Section& S() { return m_report->sections[m_section]; }

  CoreRef m_core;
  ReportRef m_report;
  std::size_t m_section;
};

class Section : public plat::ComObject<IReportSection> {
 public:
  Section(CoreRef core, ReportRef r, std::size_t section)
      : m_core(std::move(core)), m_report(std::move(r)), m_section(section) {}

  HRESULT get_Name(_bstr_t* name) override {
    if (!name) return E_POINTER;
    *name = _bstr_t(m_report->sections[m_section].name);
    return S_OK;
  }
  HRESULT get_Fields(IReportFields** fields) override {
    if (!fields) return E_POINTER;
    return Guard([&] { return HandOut<IReportFields>(new Fields(m_core, m_report, m_section), fields); });
  }

 private:
  CoreRef m_core;
  ReportRef m_report;
  std::size_t m_section;
};

class Sections : public plat::ComObject<IReportSections> {
 public:
  Sections(CoreRef core, ReportRef r) : m_core(std::move(core)), m_report(std::move(r)) {}

  HRESULT get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_report->sections.size());
    return S_OK;
  }
  HRESULT Item(const _bstr_t& name, IReportSection** section) override {
    if (!section) return E_POINTER;
    *section = nullptr;
    return Guard([&] {
      const std::string wanted = name.str();
      for (std::size_t i = 0; i < m_report->sections.size(); ++i)
        if (m_report->sections[i].name == wanted)
          return HandOut<IReportSection>(new Section(m_core, m_report, i), section);
      return DISP_E_BADINDEX;
    });
  }

 private:
  CoreRef m_core;
  ReportRef m_report;
};

HRESULT FromLoadError(report::LoadError e) {
  switch (e) {
    case report::LoadError::None:
      return S_OK;
    case report::LoadError::FileNotFound:
      return kReportFileNotFound;
    case report::LoadError::Malformed:
      return kReportBadDefinition;
    case report::LoadError::ReportNotFound:
      return DISP_E_BADINDEX;
  }
  return E_FAIL;
}

HRESULT FromRenderError(report::RenderError e) {
  switch (e) {
    case report::RenderError::None:
      return S_OK;
    case report::RenderError::CannotWrite:
      return E_ACCESSDENIED;
    case report::RenderError::NoPrinter:
      return kPrinterNotFound;
    case report::RenderError::PaintFailed:
    case report::RenderError::Withheld:
      return E_FAIL;
  }
  return E_FAIL;
}

// The first free "print-<n>.pdf" past every one already in folder.
std::string NextSinkFile(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(folder, ec);
  long last = 0;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("print-", 0) != 0 || name.size() <= 10 || name.substr(name.size() - 4) != ".pdf") continue;
    char* end = nullptr;
    const long n = std::strtol(name.c_str() + 6, &end, 10);
    if (end == name.c_str() + name.size() - 4) last = std::max(last, n);
  }
  return (fs::path(folder) / ("print-" + std::to_string(last + 1) + ".pdf")).string();
}

class Printer : public ControlBase<IPrinterX> {
 public:
  Printer() : ControlBase({}, false) {}

  // How a report hands its pages over.
  void TakeDocument(std::shared_ptr<const report::Document> doc, const std::string& name) {
    m_doc = std::move(doc);
    m_name = name;
  }
  HRESULT get_PageCount(LONG* pages) override {
    if (!pages) return E_POINTER;
    *pages = m_doc ? static_cast<LONG>(m_doc->pages.size()) : 0;
    return S_OK;
  }
  HRESULT PrintDoc() override {
    return Guard([&] {
      if (!m_doc) return Core().Refuse("print", std::nullopt, E_UNEXPECTED);
      m_lastFile.clear();
      const std::string sink = Sink();
      if (!sink.empty()) {
        const std::string file = NextSinkFile(sink);
        HRESULT planned = S_OK;
        const report::RenderError e = report::WritePdf(*m_doc, file, [&] {
          planned = Core().Attempt("print");
          return SUCCEEDED(planned);
        });
        if (FAILED(planned)) return planned;
        if (e != report::RenderError::None) return Core().Refuse("print", std::nullopt, FromRenderError(e));
        m_lastFile = file;
        return S_OK;
      }
      if (!report::HasPrinter()) {
        WriteLog(_bstr_t("Report " + m_name + " not printed: no printer"));
        return Core().Refuse("print", std::nullopt, kPrinterNotFound);
      }
      const HRESULT hr = Core().Attempt("print");
      if (FAILED(hr)) return hr;
      const report::RenderError e = report::Print(*m_doc, m_name);
      if (e == report::RenderError::None) return S_OK;
      WriteLog(_bstr_t("Report " + m_name + " not printed"));
      return Core().Refuse("print", std::nullopt, FromRenderError(e));
    });
  }
  HRESULT get_PrintSink(_bstr_t* folder) override {
    if (!folder) return E_POINTER;
    *folder = _bstr_t(m_sink);
    return S_OK;
  }
  HRESULT put_PrintSink(const _bstr_t& folder) override {
    const HRESULT hr = Core().Attempt("sink", folder.str());
    if (SUCCEEDED(hr)) m_sink = folder.str();
    return hr;
  }
  HRESULT get_LastPrintFile(_bstr_t* path) override {
    if (!path) return E_POINTER;
    *path = _bstr_t(m_lastFile);
    return S_OK;
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new QWidget(parent); }
  bool ShowsWidget() const override { return false; }

 private:
  std::string Sink() const {
    if (!m_sink.empty()) return m_sink;
    const char* env = std::getenv("TARNIX_PRINT_SINK");
    return env ? env : "";
  }

  std::shared_ptr<const report::Document> m_doc;
  std::string m_name;
  std::string m_sink;
  std::string m_lastFile;
};

class Report : public ControlBase<IReportX> {
 public:
  Report() : ControlBase({}, true) {}

  HRESULT Reset() override {
    const HRESULT hr = Core().Attempt("reset");
    if (SUCCEEDED(hr)) m_report.reset();
    return hr;
  }
  HRESULT LoadDefinition(const _bstr_t& path, const _bstr_t& reportName) override {
    return Guard([&] {
      const std::string args = path.str() + "," + reportName.str();
      m_report.reset();
      report::LoadResult loaded = report::LoadDefinition(path.str(), reportName.str());
      if (!loaded.report) {
        WriteLog(_bstr_t("Report definition " + args + ": " + loaded.message));
        return Core().Refuse("load", args, FromLoadError(loaded.error));
      }
      const HRESULT hr = Core().Attempt("load", args);
      if (SUCCEEDED(hr)) m_report = std::move(loaded.report);
      return hr;
    });
  }
  HRESULT get_ReportName(_bstr_t* name) override {
    if (!name) return E_POINTER;
    *name = m_report ? _bstr_t(m_report->name) : _bstr_t();
    return S_OK;
  }
  HRESULT get_Sections(IReportSections** sections) override {
    if (!sections) return E_POINTER;
    *sections = nullptr;
    if (!m_report) return E_UNEXPECTED;
    return Guard([&] { return HandOut<IReportSections>(new Sections(Core().shared_from_this(), m_report), sections); });
  }
  HRESULT get_PageCount(LONG* pages) override {
    if (!pages) return E_POINTER;
    if (!m_report) return E_UNEXPECTED;
    return Guard([&] {
      *pages = static_cast<LONG>(report::Paginate(*m_report).pages.size());
      return S_OK;
    });
  }
  HRESULT RenderToFile(const _bstr_t& file, LONG format) override {
    return Guard([&] {
      const std::string args = file.str() + "," + std::to_string(format);
      if (!m_report) return Core().Refuse("render", args, E_UNEXPECTED);
      if (format != kReportFormatPdf || file.length() == 0) return Core().Refuse("render", args, E_INVALIDARG);
      HRESULT planned = S_OK;
      const report::RenderError e = report::WritePdf(report::Paginate(*m_report), file.str(), [&] {
        planned = Core().Attempt("render", args);
        return SUCCEEDED(planned);
      });
      if (FAILED(planned)) return planned;
      if (e != report::RenderError::None) {
        WriteLog(_bstr_t("Report " + m_report->name + " not written to " + file.str()));
        return Core().Refuse("render", args, FromRenderError(e));
      }
      return S_OK;
    });
  }
  HRESULT RenderToPrinter(IUnknown* printer) override {
    return Guard([&] {
      if (!m_report) return Core().Refuse("renderprinter", std::nullopt, E_UNEXPECTED);
      if (!printer) return Core().Refuse("renderprinter", std::nullopt, E_POINTER);
      IPrinterXPtr asked;
      Printer* taker = nullptr;
      if (SUCCEEDED(printer->QueryInterface(IPrinterX::kIID, reinterpret_cast<void**>(&asked))))
        taker = dynamic_cast<Printer*>(asked.GetInterfacePtr());
      if (!taker) return Core().Refuse("renderprinter", std::nullopt, E_NOINTERFACE);
      const HRESULT hr = Core().Attempt("renderprinter");
      if (SUCCEEDED(hr))
        taker->TakeDocument(std::make_shared<const report::Document>(report::Paginate(*m_report)), m_report->name);
      return hr;
    });
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new QWidget(parent); }
  bool ShowsWidget() const override { return false; }

 private:
  ReportRef m_report;
};

}  // namespace

HRESULT CreateReport(REFIID riid, void** ppv) { return plat::CreateComObject<Report>(riid, ppv); }
HRESULT CreatePrinter(REFIID riid, void** ppv) { return plat::CreateComObject<Printer>(riid, ppv); }

}  // namespace activex
