// The grid: a table of texts whose fixed rows and columns read as headers.
// The switches S1..S10 and the column settings are kept.
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "platform/activex/control_base.h"

namespace activex {
namespace {

constexpr int kClick = -600;
constexpr int kDefaultColWidth = 960;  // twips
constexpr int kTwipsPerPixel = 15;

class Grid;

class GridWidget : public QTableWidget {
 public:
  GridWidget(QWidget* parent, Grid& grid);
  // Brings the table in line with the grid, from a row on.
  void Sync(int fromRow = 0);
  void SyncCell(int row, int col);
  void SyncCurrent();

 private:
  Grid& m_grid;
};

class Grid : public ControlBase<IGridX> {
 public:
  Grid() : ControlBase(Settings(), false) { Resize(); }

  HRESULT get_Rows(LONG* rows) override { return GetInt(kRows, rows); }
  HRESULT put_Rows(LONG rows) override { return PutCount(kRows, rows); }
  HRESULT get_Cols(LONG* cols) override { return GetInt(kCols, cols); }
  HRESULT put_Cols(LONG cols) override { return PutCount(kCols, cols); }
  HRESULT get_FixedRows(LONG* rows) override { return GetInt(kFixedRows, rows); }
  HRESULT put_FixedRows(LONG rows) override { return PutCount(kFixedRows, rows); }
  HRESULT get_FixedCols(LONG* cols) override { return GetInt(kFixedCols, cols); }
  HRESULT put_FixedCols(LONG cols) override { return PutCount(kFixedCols, cols); }

  HRESULT get_ColWidth(LONG col, LONG* twips) override {
    if (!twips) return E_POINTER;
    if (!ColOk(col)) return E_INVALIDARG;
    *twips = m_widths[static_cast<size_t>(col)];
    return S_OK;
  }
  HRESULT put_ColWidth(LONG col, LONG twips) override {
    const std::string label = "colwidth[" + std::to_string(col) + "]";
    if (!ColOk(col) || twips < 0) return Core().Refuse(label, std::to_string(twips), E_INVALIDARG);
    const HRESULT hr = Core().Attempt(label, std::to_string(twips));
    if (FAILED(hr)) return hr;
    m_widths[static_cast<size_t>(col)] = twips;
    if (m_widget) m_widget->setColumnWidth(col, twips / kTwipsPerPixel);
    return S_OK;
  }
  HRESULT put_ColSetting(LONG col, LONG value) override {
    const std::string label = "colsetting[" + std::to_string(col) + "]";
    if (!ColOk(col)) return Core().Refuse(label, std::to_string(value), E_INVALIDARG);
    const HRESULT hr = Core().Attempt(label, std::to_string(value));
    if (FAILED(hr)) return hr;
    m_colSettings[col] = value;
    return S_OK;
  }

  HRESULT get_TextMatrix(LONG row, LONG col, _bstr_t* text) override {
    if (!text) return E_POINTER;
    if (!CellOk(row, col)) return E_INVALIDARG;
    *text = Cell(row, col);
    return S_OK;
  }
  HRESULT put_TextMatrix(LONG row, LONG col, const _bstr_t& text) override {
    const std::string label = "text[" + std::to_string(row) + "," + std::to_string(col) + "]";
    if (!CellOk(row, col)) return Core().Refuse(label, text.str(), E_INVALIDARG);
    const HRESULT hr = Core().Attempt(label, text.str());
    if (FAILED(hr)) return hr;
    SetCell(row, col, text);
    return S_OK;
  }

  HRESULT Select(LONG row, LONG col) override {
    const std::string args = std::to_string(row) + "," + std::to_string(col);
    if (!CellOk(row, col)) return Core().Refuse("select", args, E_INVALIDARG);
    const HRESULT hr = Core().Attempt("select", args);
    if (FAILED(hr)) return hr;
    m_row = row;
    m_col = col;
    if (m_widget) m_widget->SyncCurrent();
    return S_OK;
  }
  HRESULT get_Row(LONG* row) override {
    if (!row) return E_POINTER;
    *row = m_row;
    return S_OK;
  }
  HRESULT get_Col(LONG* col) override {
    if (!col) return E_POINTER;
    *col = m_col;
    return S_OK;
  }
  HRESULT get_Text(_bstr_t* text) override { return get_TextMatrix(m_row, m_col, text); }
  HRESULT put_Text(const _bstr_t& text) override {
    if (!CellOk(m_row, m_col)) return Core().Refuse("text", text.str(), E_INVALIDARG);
    const HRESULT hr = Core().Attempt("text", text.str());
    if (FAILED(hr)) return hr;
    SetCell(m_row, m_col, text);
    return S_OK;
  }

  HRESULT ClearData() override {
    const HRESULT hr = Core().Attempt("clear");
    if (FAILED(hr)) return hr;
    const LONG fixed = Core().Int(kFixedRows);
    for (LONG r = fixed; r < Rows(); ++r)
      for (LONG c = 0; c < Cols(); ++c) m_cells[static_cast<size_t>(r)][static_cast<size_t>(c)] = _bstr_t("");
    if (m_widget) m_widget->Sync(fixed);
    return S_OK;
  }
  HRESULT ShowCell(LONG row, LONG col) override {
    const std::string args = std::to_string(row) + "," + std::to_string(col);
    if (!CellOk(row, col)) return Core().Refuse("showcell", args, E_INVALIDARG);
    const HRESULT hr = Core().Attempt("showcell", args);
    if (FAILED(hr)) return hr;
    if (m_widget) m_widget->scrollToItem(m_widget->item(row, col));
    return S_OK;
  }

  LONG Rows() { return Core().Int(kRows); }
  LONG Cols() { return Core().Int(kCols); }
  const _bstr_t& Cell(LONG row, LONG col) const { return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
  LONG Width(LONG col) const { return m_widths[static_cast<size_t>(col)]; }
  LONG CurrentRow() const { return m_row; }
  LONG CurrentCol() const { return m_col; }

  void UserClicked(int row, int col) {
    m_row = row;
    m_col = col;
    Core().Fire(kClick, {});
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override {
    m_widget = new GridWidget(parent, *this);
    return m_widget;
  }
  void OnChanged(int number) override {
    if (number == kRows || number == kCols || number == kFixedRows || number == kFixedCols) {
      const LONG oldRows = static_cast<LONG>(m_cells.size());
      Resize();
      if (m_widget) m_widget->Sync(number == kRows ? std::min(oldRows, Rows()) : 0);
    }
  }

 private:
  static std::vector<SettingDef> Settings() {
    std::vector<SettingDef> defs = {{kRows, "rows", Type::Int, 50},
                                    {kCols, "cols", Type::Int, 10},
                                    {kFixedRows, "fixedrows", Type::Int, 1},
                                    {kFixedCols, "fixedcols", Type::Int, 1},
                                    {kWidth, "width", Type::Int},
                                    {kHeight, "height", Type::Int}};
    static const char* const switches[] = {"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9", "S10"};
    for (int i = 0; i < 10; ++i) defs.push_back({Creator(i + 1), switches[i], Type::Int});
    return defs;
  }

  HRESULT PutCount(int number, LONG count) {
    if (count < 0)
      return Core().Refuse(number == kRows        ? "rows"
                           : number == kCols      ? "cols"
                           : number == kFixedRows ? "fixedrows"
                                                  : "fixedcols",
                           std::to_string(count), E_INVALIDARG);
    return PutAs(number, _variant_t(count));
  }
  bool ColOk(LONG col) { return col >= 0 && col < Cols(); }
  bool CellOk(LONG row, LONG col) { return row >= 0 && row < Rows() && ColOk(col); }

  void Resize() {
    const auto rows = static_cast<size_t>(std::max<LONG>(0, Rows()));
    const auto cols = static_cast<size_t>(std::max<LONG>(0, Cols()));
    m_cells.resize(rows);
    for (auto& row : m_cells) row.resize(cols, _bstr_t(""));
    m_widths.resize(cols, kDefaultColWidth);
    m_row = std::clamp<LONG>(m_row, 0, std::max<LONG>(0, Rows() - 1));
    m_col = std::clamp<LONG>(m_col, 0, std::max<LONG>(0, Cols() - 1));
  }

  void SetCell(LONG row, LONG col, const _bstr_t& text) {
    m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    if (m_widget) m_widget->SyncCell(row, col);
  }

  std::vector<std::vector<_bstr_t>> m_cells;
  std::vector<LONG> m_widths;
  std::map<LONG, LONG> m_colSettings;
  LONG m_row = 1;
  LONG m_col = 1;
  QPointer<GridWidget> m_widget;
};

GridWidget::GridWidget(QWidget* parent, Grid& grid) : QTableWidget(parent), m_grid(grid) {
  horizontalHeader()->hide();
  // Columns the program leaves at their width keep it; the last one takes
  // what is left, so long texts are not cut short for nothing.
  horizontalHeader()->setStretchLastSection(true);
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setWordWrap(false);
  setGridStyle(Qt::SolidLine);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setMinimumSectionSize(4);
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) { m_grid.UserClicked(row, col); });
  Sync();
}

void GridWidget::Sync(int fromRow) {
  setRowCount(m_grid.Rows());
  setColumnCount(m_grid.Cols());
  for (int c = 0; c < m_grid.Cols(); ++c) setColumnWidth(c, m_grid.Width(c) / kTwipsPerPixel);
  for (int r = std::max(0, fromRow); r < m_grid.Rows(); ++r)
    for (int c = 0; c < m_grid.Cols(); ++c) SyncCell(r, c);
  SyncCurrent();
}

void GridWidget::SyncCell(int row, int col) {
  QTableWidgetItem* it = item(row, col);
  if (!it) {
    it = new QTableWidgetItem;
    setItem(row, col, it);
  }
  it->setText(QString::fromStdU16String(std::u16string(m_grid.Cell(row, col).view())));
  const bool fixed = row < m_grid.Core().Int(kFixedRows) || col < m_grid.Core().Int(kFixedCols);
  QFont f = font();
  f.setBold(fixed);
  it->setFont(f);
  it->setBackground(fixed ? palette().button() : palette().base());
  it->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void GridWidget::SyncCurrent() {
  if (m_grid.CurrentRow() < rowCount() && m_grid.CurrentCol() < columnCount())
    setCurrentCell(m_grid.CurrentRow(), m_grid.CurrentCol());
}

}  // namespace

HRESULT CreateGrid(REFIID riid, void** ppv) { return plat::CreateComObject<Grid>(riid, ppv); }

}  // namespace activex
