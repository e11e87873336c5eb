// Printing a report display list on a printer chosen by device name.
// Needs a QGuiApplication.
#pragma once

#include <string>

#include "platform/report/display_list.h"

class QPrinter;
class QPrinterInfo;

namespace kvt::qt {

// The installed printer called `device_name`, or the system's default
// printer when the name is empty or no printer has it; a null QPrinterInfo
// when there are no printers at all.
QPrinterInfo ResolvePrinter(const std::string& device_name);

// Points `printer` at the resolved printer and sets paper and document name
// for `document` (full page: the display list carries its own margins).
// Raises 482 when there is no printer at all.
void PreparePrinter(QPrinter& printer, const report::Document& document,
                    const std::string& device_name);

// Paints every page of `document` on `printer`, which sends the job when
// the painting ends. Raises 482 when the printer refuses the job.
void PaintOnPrinter(const report::Document& document, QPrinter& printer);

}  // namespace kvt::qt
