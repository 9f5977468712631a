#pragma once
// The control kinds the pages create: their ProgIDs, setting numbers and
// journal labels, and each kind's own interface. No Qt here; the window
// layer shows a control through widget_host.h, the image display takes its
// pictures from bitmaps.h.
//
// Setting numbers (IControl::PutSetting / GetSetting) and journal labels
// ----------------------------------------------------------------------
// Settings whose role belongs to the control keep the names the pages'
// tables give them, so a test compares a journal with such a table as it is:
//   - linear gauge rows: row n is number n, label "n"; a lettered row is
//     100 * n + the letter's place: 7a = 701, 7b = 702, 15a..15f =
//     1501..1506, 24a = 2401, 30a = 3001, 30b = 3002, 34a = 3401, labels
//     "7a" and so on. Row 24a is the gauge's font: it is set through the
//     font object (journal "font.*" and "font"), not by number.
//   - arrow LED rows A1..A6: numbers 1..6, labels "A1".."A6".
//   - label rows L1..L6: numbers 1..6, labels "L1".."L6".
//   - settings only a creator puts, given there as a bare number: S1, S2, ...
//     = Creator(1), Creator(2), ... in the order the creators put them; a
//     kind made by two creators counts on through the second one (the gauge:
//     S1 is the first creator's colour, S2 the second creator's "1").
//   - named settings: the k* numbers below, their labels quoted beside them.
// A kind answers E_INVALIDARG for a number it does not have and
// DISP_E_TYPEMISMATCH for a value of the wrong type. Integers, doubles,
// colours and booleans take any numeric variant; texts take VT_BSTR.
//
// Journal (IControlTest::Journal), one entry per put or operation, in order:
//   "<label>=<value>"  a put: integers in decimal, doubles in their shortest
//                      exact fixed form ("110", "-10", "22.75",
//                      "4294967295"), colours as "0x" and at least six
//                      upper-case hex digits ("0x00FF00", "0x8000000A"),
//                      booleans "true"/"false", texts as they are;
//   "<label>"          an operation without arguments ("add", "clear",
//                      "font", "reset");
//   "<label>=<args>"   an operation with arguments, comma-joined
//                      ("picture=169", "select=1,0").
// Font puts are "font.name", "font.size" (currency, 8 points = 80000),
// "font.bold", "font.underline", "font.charset"; giving the font object back
// is "font". Gauge element puts are "element[<index>].<name>", names as in
// ElementSetting. Grid puts with a place are "colwidth[c]", "colsetting[c]",
// "text[r,c]". A put that fails (planned, or refused by the control) is
// journalled all the same, with " failed 0x%08X" appended, and changes
// nothing. Reads are not journalled.
// FailPut takes a journal label; "font.get" makes reading the font fail.
// FailPut(label, hr, 0) drops the plan for that label.
//
// Events (IControlEventSink), fired on user actions only:
//   linear gauge   19 (VT_I4 index): a marker (index >= 1) was dragged;
//                  8 (VT_I2 button, VT_I2 shift, VT_I4 x, VT_I4 y): the
//                  pointer (element 0) was dragged and released
//   slider switch  12 (no arguments): the user moved it
//   toggle switch  2 (no arguments): the user switched it
//   label          1 (no arguments): click, while enabled and L6 is not 0
//   spin edit      202 (VT_I4 the value rounded) then 203 (no arguments):
//                  the user changed the value (arrows or typing), while
//                  enabled
//   grid           -600 (no arguments): click on a cell, which becomes the
//                  current cell
#include "platform/activex/control.h"
#include "platform/com/dispatch.h"
#include "platform/com/led_round.h"

namespace activex {

inline constexpr const char* kLedRoundProgId = "isDigitalLibrary.iLedRoundX";
inline constexpr const char* kLedArrowProgId = "iProfessionalLibrary.iLedArrowX";
inline constexpr const char* kLinearGaugeProgId = "isAnalogLibrary.iLinearGaugeX";
inline constexpr const char* kSwitchSliderProgId = "isDigitalLibrary.iSwitchSliderX";
inline constexpr const char* kSwitchToggleProgId = "isDigitalLibrary.iSwitchToggleX";
inline constexpr const char* kAnalogDisplayProgId = "isAnalogLibrary.iAnalogDisplayX";
inline constexpr const char* kEditDisplayProgId = "isAnalogLibrary.iEditX";
inline constexpr const char* kLabelProgId = "isAnalogLibrary.iLabelX";
inline constexpr const char* kThermometerProgId = "isAnalogLibrary.iThermometerX";
inline constexpr const char* kImageDisplayProgId = "iProfessionalLibrary.iImageDisplayX";
inline constexpr const char* kSpinEditProgId = "RzSpinEditXControl1.RzSpinEditX";
inline constexpr const char* kGridProgId = "VSFlexGrid8.VSFlexGridL.1";
inline constexpr const char* kReportProgId = "VSReport8.VSReport.1";
inline constexpr const char* kPrinterProgId = "VSPrinter8.VSPrinter.1";

// Registers every kind above under its ProgID (again after an unregister).
// The plots register themselves elsewhere.
void RegisterControlClasses();

// A gauge row; a letter names a row that lies after row n ('a', 'b', ...).
constexpr int Row(int n, char letter = 0) { return letter ? 100 * n + (letter - 'a' + 1) : n; }
constexpr int ArrowRow(int n) { return n; }        // A1..A6
constexpr int LabelRow(int n) { return n; }        // L1..L6
constexpr int Creator(int n) { return 9000 + n; }  // S1, S2, ...

// Named settings.
enum Setting : int {
  kWidth = 5001,          // "width", pixels (every kind that the creators size)
  kHeight = 5002,         // "height"
  kLedColor = 5003,       // "color", round LED (the arrow LED's colour is row A5)
  kActive = 5004,         // "active": LEDs lit (default true), toggle switch on
  kValue = 5005,          // "value": gauge pointer, displays, thermometer, spin edit
  kMin = 5006,            // "min": thermometer scale, spin edit bound
  kMax = 5007,            // "max"
  kUnits = 5008,          // "units": analog display
  kText = 5009,           // "text": edit display
  kCaption = 5010,        // "caption": label
  kEnabled = 5011,        // "enabled": label, spin edit, switches
  kPosition = 5012,       // "position": slider switch, 0 or 1
  kPositionTexts = 5013,  // "texts": slider switch, the two texts comma-joined
  kIncrement = 5014,      // "increment": spin edit step per click
  kPageIncrement = 5015,  // "pageincrement": spin edit step per page key
  kDecimals = 5016,       // "decimals": spin edit, edit and analog displays
  kIntValue = 5017,       // "intvalue": spin edit value as an integer
  kReadOnly = 5018,       // "readonly": spin edit typing refused
  kBackColor = 5019,      // "backcolor": label background (default none)
  kRows = 5020,           // "rows": grid
  kCols = 5021,           // "cols"
  kFixedRows = 5022,      // "fixedrows"
  kFixedCols = 5023,      // "fixedcols"
};

// Gauge element settings, in the interface's order. Element 0 is the
// pointer, markers are 1, 2, ... in the order they were added.
enum ElementSetting : int {
  kElementPosition = 1,  // "position", double, scale units
  kElementInt1 = 2,      // "int1": marker width along the scale, pixels
  kElementColor = 3,     // "color"
  kElementInt2 = 4,      // "int2": marker length across the scale, pixels
  kElementInt3 = 5,      // "int3"
  kElementBool = 6,      // "bool": the user may drag it
  kElementInt4 = 7,      // "int4"
};

// Arrow directions (row A1).
enum ArrowDirection : LONG { kArrowLeft = 0, kArrowRight = 1, kArrowUp = 2, kArrowDown = 3 };

// Each kind's own interface. A typed put journals like the numbered setting
// it stands for (put_ScaleMax as "28", the arrow's put_LedColor as "A5").

struct IiLedArrowX : IUnknown {
  static constexpr IID kIID = {0x7a3c0010, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10}};
  virtual HRESULT get_LedColor(COLORREF* color) = 0;  // row A5
  virtual HRESULT put_LedColor(COLORREF color) = 0;
  virtual HRESULT get_Active(BOOL* active) = 0;  // kActive
  virtual HRESULT put_Active(BOOL active) = 0;
  virtual HRESULT get_Direction(LONG* direction) = 0;  // row A1, ArrowDirection
  virtual HRESULT put_Direction(LONG direction) = 0;
};
using IiLedArrowXPtr = _com_ptr_t<IiLedArrowX>;

struct IiLinearGaugeX : IUnknown {
  static constexpr IID kIID = {0x7a3c0011, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x11}};
  // The pointer's value (element 0's position), journalled as "value".
  virtual HRESULT get_Value(double* value) = 0;
  virtual HRESULT put_Value(double value) = 0;
  virtual HRESULT get_ScaleMax(double* value) = 0;  // row 28
  virtual HRESULT put_ScaleMax(double value) = 0;
  virtual HRESULT get_ScaleMin(double* value) = 0;  // row 29
  virtual HRESULT put_ScaleMin(double value) = 0;
  // Adds a marker ("add"); index gets its element index (1, 2, ...).
  virtual HRESULT AddElement(LONG* index) = 0;
  // The number of elements, pointer included.
  virtual HRESULT get_ElementCount(LONG* count) = 0;
  // An element setting by index; E_INVALIDARG for an index not there.
  virtual HRESULT PutElementSetting(LONG index, int setting, const VARIANT& value) = 0;
  virtual HRESULT GetElementSetting(LONG index, int setting, VARIANT* value) = 0;
  virtual HRESULT get_ElementPosition(LONG index, double* position) = 0;
  virtual HRESULT put_ElementPosition(LONG index, double position) = 0;
  virtual HRESULT get_ElementColor(LONG index, COLORREF* color) = 0;
  virtual HRESULT put_ElementColor(LONG index, COLORREF color) = 0;
};
using IiLinearGaugeXPtr = _com_ptr_t<IiLinearGaugeX>;

struct IiSwitchSliderX : IUnknown {
  static constexpr IID kIID = {0x7a3c0012, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12}};
  virtual HRESULT get_Position(LONG* position) = 0;  // 0 or 1
  virtual HRESULT put_Position(LONG position) = 0;
  // "first,second": the texts of positions 0 and 1.
  virtual HRESULT get_PositionTexts(_bstr_t* texts) = 0;
  virtual HRESULT put_PositionTexts(const _bstr_t& texts) = 0;
};
using IiSwitchSliderXPtr = _com_ptr_t<IiSwitchSliderX>;

struct IiSwitchToggleX : IUnknown {
  static constexpr IID kIID = {0x7a3c0013, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x13}};
  virtual HRESULT get_Active(BOOL* on) = 0;
  virtual HRESULT put_Active(BOOL on) = 0;
};
using IiSwitchToggleXPtr = _com_ptr_t<IiSwitchToggleX>;

struct IiAnalogDisplayX : IUnknown {
  static constexpr IID kIID = {0x7a3c0014, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14}};
  virtual HRESULT get_Value(double* value) = 0;
  virtual HRESULT put_Value(double value) = 0;
  virtual HRESULT get_Units(_bstr_t* units) = 0;
  virtual HRESULT put_Units(const _bstr_t& units) = 0;
};
using IiAnalogDisplayXPtr = _com_ptr_t<IiAnalogDisplayX>;

struct IiEditX : IUnknown {
  static constexpr IID kIID = {0x7a3c0015, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x15}};
  // A value put shows it with the display's decimals.
  virtual HRESULT get_Value(double* value) = 0;
  virtual HRESULT put_Value(double value) = 0;
  virtual HRESULT get_Text(_bstr_t* text) = 0;
  virtual HRESULT put_Text(const _bstr_t& text) = 0;
};
using IiEditXPtr = _com_ptr_t<IiEditX>;

struct IiLabelX : IUnknown {
  static constexpr IID kIID = {0x7a3c0016, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x16}};
  virtual HRESULT get_Caption(_bstr_t* caption) = 0;
  virtual HRESULT put_Caption(const _bstr_t& caption) = 0;
  virtual HRESULT get_Enabled(BOOL* enabled) = 0;
  virtual HRESULT put_Enabled(BOOL enabled) = 0;
};
using IiLabelXPtr = _com_ptr_t<IiLabelX>;

struct IiThermometerX : IUnknown {
  static constexpr IID kIID = {0x7a3c0017, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x17}};
  virtual HRESULT get_Value(double* value) = 0;
  virtual HRESULT put_Value(double value) = 0;
  virtual HRESULT get_ScaleMax(double* value) = 0;  // "max"
  virtual HRESULT put_ScaleMax(double value) = 0;
  virtual HRESULT get_ScaleMin(double* value) = 0;  // "min"
  virtual HRESULT put_ScaleMin(double value) = 0;
};
using IiThermometerXPtr = _com_ptr_t<IiThermometerX>;

struct IiImageDisplayX : IUnknown {
  static constexpr IID kIID = {0x7a3c0018, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18}};
  // The operation without arguments: removes every picture ("clear").
  virtual HRESULT ClearImages() = 0;
  // Adds one of the program's bitmaps and shows it ("picture=<id>"); an id
  // below 1 is refused (E_INVALIDARG).
  virtual HRESULT AddBitmap(LONG bitmapId) = 0;
  virtual HRESULT get_ImageCount(LONG* count) = 0;
  virtual HRESULT get_ImageBitmapId(LONG index, LONG* bitmapId) = 0;
};
using IiImageDisplayXPtr = _com_ptr_t<IiImageDisplayX>;

// Typed input is kept as typed (no clamping); the arrows stay inside
// min..max.
struct ISpinEditX : IUnknown {
  static constexpr IID kIID = {0x7a3c0019, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x19}};
  virtual HRESULT get_Value(double* value) = 0;
  virtual HRESULT put_Value(double value) = 0;
  virtual HRESULT get_Min(double* value) = 0;
  virtual HRESULT put_Min(double value) = 0;
  virtual HRESULT get_Max(double* value) = 0;
  virtual HRESULT put_Max(double value) = 0;
  virtual HRESULT get_Increment(double* value) = 0;
  virtual HRESULT put_Increment(double value) = 0;
  virtual HRESULT get_Decimals(LONG* decimals) = 0;
  virtual HRESULT put_Decimals(LONG decimals) = 0;
  virtual HRESULT get_IntValue(LONG* value) = 0;
  virtual HRESULT put_IntValue(LONG value) = 0;
  virtual HRESULT get_Enabled(BOOL* enabled) = 0;
  virtual HRESULT put_Enabled(BOOL enabled) = 0;
};
using ISpinEditXPtr = _com_ptr_t<ISpinEditX>;

// Rows and columns count from 0 and include the fixed ones. Column widths
// are in twips (15 to a pixel).
struct IGridX : IUnknown {
  static constexpr IID kIID = {0x7a3c001a, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1a}};
  virtual HRESULT get_Rows(LONG* rows) = 0;
  virtual HRESULT put_Rows(LONG rows) = 0;
  virtual HRESULT get_Cols(LONG* cols) = 0;
  virtual HRESULT put_Cols(LONG cols) = 0;
  virtual HRESULT get_FixedRows(LONG* rows) = 0;
  virtual HRESULT put_FixedRows(LONG rows) = 0;
  virtual HRESULT get_FixedCols(LONG* cols) = 0;
  virtual HRESULT put_FixedCols(LONG cols) = 0;
  virtual HRESULT get_ColWidth(LONG col, LONG* twips) = 0;
  virtual HRESULT put_ColWidth(LONG col, LONG twips) = 0;
  // A further column setting whose role is the grid's own; kept.
  virtual HRESULT put_ColSetting(LONG col, LONG value) = 0;
  virtual HRESULT get_TextMatrix(LONG row, LONG col, _bstr_t* text) = 0;
  virtual HRESULT put_TextMatrix(LONG row, LONG col, const _bstr_t& text) = 0;
  // Makes one cell the current cell ("select=r,c").
  virtual HRESULT Select(LONG row, LONG col) = 0;
  virtual HRESULT get_Row(LONG* row) = 0;  // the current cell
  virtual HRESULT get_Col(LONG* col) = 0;
  virtual HRESULT get_Text(_bstr_t* text) = 0;  // of the current cell
  virtual HRESULT put_Text(const _bstr_t& text) = 0;
  // Empties every cell below the fixed rows; the counts stay ("clear").
  virtual HRESULT ClearData() = 0;
  // Scrolls the cell into view ("showcell=r,c").
  virtual HRESULT ShowCell(LONG row, LONG col) = 0;
};
using IGridXPtr = _com_ptr_t<IGridX>;

// The report and printer engines (the definition format is described in
// platform/report/definition.h). A report is loaded from a definition file
// by name, its fields are reached by section name and field name (exact,
// letter case included) and filled, and it is rendered as PDF or into the
// printer engine, which prints it. Every failure is a failing HRESULT:
//   kReportFileNotFound   the definition file (or a picture file) cannot be read
//   kReportBadDefinition  the definition file is not one of ours
//   DISP_E_BADINDEX       no report, section or field of that name
//   DISP_E_TYPEMISMATCH   text into a picture field, picture into another
//   E_INVALIDARG          a picture that is no image, a format code not 4
//   E_UNEXPECTED          nothing loaded, nothing rendered into the printer
//   E_ACCESSDENIED        the PDF cannot be written (nothing is left behind)
//   kPrinterNotFound      no printer and no print sink
// Journal: "load=<path>,<report>", "text[<section>.<field>]=<text>",
// "picture[<section>.<field>]=<path or 'N bytes'>", "add[<section>]=<name>,
// <text>,<left>,<top>,<width>,<height>", "style[<section>.<field>]=<n>",
// "render=<file>,<format>", "renderprinter", "reset"; the printer journals
// "print" and "sink=<folder>". Labels are the parts before "=".
inline constexpr HRESULT kReportFileNotFound = MakeHResult(0x80070002u);
inline constexpr HRESULT kReportBadDefinition = MakeHResult(0x8007000Du);
inline constexpr HRESULT kPrinterNotFound = MakeHResult(0x80070709u);
// The PDF format code of RenderToFile.
inline constexpr LONG kReportFormatPdf = 4;

struct IReportField : IUnknown {
  static constexpr IID kIID = {0x7a3c001d, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1d}};
  virtual HRESULT get_Name(_bstr_t* name) = 0;
  // For an expression field the text is the expression.
  virtual HRESULT get_Text(_bstr_t* text) = 0;
  virtual HRESULT put_Text(const _bstr_t& text) = 0;
  // Gives VT_ARRAY | VT_UI1 with the image's bytes, or VT_EMPTY.
  virtual HRESULT get_Picture(VARIANT* picture) = 0;
  // VT_BSTR: an image file read now; VT_ARRAY | VT_UI1: PNG or BMP bytes;
  // VT_EMPTY: no picture.
  virtual HRESULT put_Picture(const VARIANT& picture) = 0;
  // A numeric display setting a builder may give; kept, not drawn.
  virtual HRESULT get_DisplayStyle(LONG* style) = 0;
  virtual HRESULT put_DisplayStyle(LONG style) = 0;
  // Place and size within the section, twips.
  virtual HRESULT GetBox(double* left, double* top, double* width, double* height) = 0;
};
using IReportFieldPtr = _com_ptr_t<IReportField>;

struct IReportFields : IUnknown {
  static constexpr IID kIID = {0x7a3c001e, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1e}};
  virtual HRESULT get_Count(LONG* count) = 0;
  // The first field of that name.
  virtual HRESULT Item(const _bstr_t& name, IReportField** field) = 0;
  // A text field made at run time, in twips; the section grows to hold it.
  virtual HRESULT Add(const _bstr_t& name, const _bstr_t& text, double left, double top, double width, double height,
                      IReportField** field) = 0;
};
using IReportFieldsPtr = _com_ptr_t<IReportFields>;

struct IReportSection : IUnknown {
  static constexpr IID kIID = {0x7a3c001f, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1f}};
  virtual HRESULT get_Name(_bstr_t* name) = 0;
  virtual HRESULT get_Fields(IReportFields** fields) = 0;
};
using IReportSectionPtr = _com_ptr_t<IReportSection>;

struct IReportSections : IUnknown {
  static constexpr IID kIID = {0x7a3c0020, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20}};
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT Item(const _bstr_t& name, IReportSection** section) = 0;
};
using IReportSectionsPtr = _com_ptr_t<IReportSections>;

// Objects handed out belong to the report loaded then: a new load leaves
// them filling a report nobody renders.
struct IReportX : IUnknown {
  static constexpr IID kIID = {0x7a3c001b, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1b}};
  // Drops the loaded report ("reset").
  virtual HRESULT Reset() = 0;
  // Loads the report of that name, dropping the one loaded before, fields
  // added at run time included; a failed load leaves none loaded.
  virtual HRESULT LoadDefinition(const _bstr_t& path, const _bstr_t& reportName) = 0;
  virtual HRESULT get_ReportName(_bstr_t* name) = 0;
  virtual HRESULT get_Sections(IReportSections** sections) = 0;
  // Pages the report fills as it stands.
  virtual HRESULT get_PageCount(LONG* pages) = 0;
  // Writes the whole report to file (format kReportFormatPdf); a relative
  // name is taken from the current folder.
  virtual HRESULT RenderToFile(const _bstr_t& file, LONG format) = 0;
  // Hands the pages to a printer engine, replacing what it held.
  virtual HRESULT RenderToPrinter(IUnknown* printer) = 0;
};
using IReportXPtr = _com_ptr_t<IReportX>;

// Holds the pages a report rendered into it. Printing goes to the default
// printer without a dialog, or, while a print sink folder is set (by
// put_PrintSink, else by the environment variable TARNIX_PRINT_SINK), into
// a new PDF file "print-<n>.pdf" there, n counting from 1 past the files
// already there: tests and machines without a printer use it.
struct IPrinterX : IUnknown {
  static constexpr IID kIID = {0x7a3c001c, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1c}};
  virtual HRESULT get_PageCount(LONG* pages) = 0;  // of the document held
  // Prints the document ("print").
  virtual HRESULT PrintDoc() = 0;
  // Empty: the environment decides.
  virtual HRESULT get_PrintSink(_bstr_t* folder) = 0;
  virtual HRESULT put_PrintSink(const _bstr_t& folder) = 0;
  // The file the last print went to in the sink; empty after a real print.
  virtual HRESULT get_LastPrintFile(_bstr_t* path) = 0;
};
using IPrinterXPtr = _com_ptr_t<IPrinterX>;

}  // namespace activex
