#pragma once
// Paints a document's pages with QPainter: into a PDF file, whole or not at
// all, or onto a printer.
#include <functional>
#include <string>

#include "platform/report/layout.h"

class QPagedPaintDevice;

namespace report {

enum class RenderError { None, CannotWrite, PaintFailed, NoPrinter, Withheld };

// Whether a field's text shows whole in its box: on one line, or, when it
// wraps, in as many lines as the box holds. Painting cuts what does not fit.
bool TextFits(const Field& f);

// Paints every page on a device already set up; false when painting failed.
bool Paint(const Document& doc, QPagedPaintDevice& device);

// Writes the PDF to a temporary file beside path and renames it over path,
// once mayCommit (if given) agrees; otherwise nothing is left (Withheld).
RenderError WritePdf(const Document& doc, const std::string& path, const std::function<bool()>& mayCommit = {});

// Whether the system has a printer to print on.
bool HasPrinter();

// Prints on the system's default printer, without a dialog.
RenderError Print(const Document& doc, const std::string& jobName);

}  // namespace report
