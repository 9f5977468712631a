// The event history grid: three columns under one title row.
#include "common/common_controls.h"
#include "common/control_puts.h"
#include "support/language_table.h"

namespace {

void Raise(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

_bstr_t Title(const char* key) { return TheLanguageTable().Lookup(key); }

// The state column fits "OFF"/"ON" and its title, the event column its
// title in every language; the grid stretches the indication column over
// what is left.
constexpr LONG kStateColumnWidth = 1548;  // twips
constexpr LONG kEventColumnWidth = 1548;  // twips

}  // namespace

void CCommonControls::SetupAlarmHistoryGrid(IGridXPtr grid, int rows, int cols) {
  // The switches: their meaning is the grid's own.
  auto switches = [&grid](std::initializer_list<std::pair<int, LONG>> values) {
    common::Puts puts(grid.GetInterfacePtr());
    for (const auto& [n, value] : values) puts.Put(activex::Creator(n), _variant_t(value));
  };
  switches({{1, 1}, {2, 0}, {3, 4}, {4, 1}, {5, 0}});
  Raise(grid->put_Cols(cols));
  switches({{6, 3}, {7, 1}});
  Raise(grid->put_FixedCols(0));
  Raise(grid->put_Rows(rows));
  Raise(grid->put_FixedRows(1));
  switches({{8, 2}});
  // From here a failing setting or title leaves the rest to be set.
  grid->put_ColWidth(0, kStateColumnWidth);
  grid->put_ColSetting(0, 5);
  grid->put_ColWidth(1, kEventColumnWidth);
  grid->put_TextMatrix(0, 0, Title("HISTSTATE"));
  grid->put_TextMatrix(0, 1, _bstr_t(Title("VeskALARMGRID").str() + " #"));
  grid->put_TextMatrix(0, 2, Title("HISTINDIC"));
  switches({{9, 0}, {10, 1}});
}
