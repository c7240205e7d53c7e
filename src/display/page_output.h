// The printed page written to a file: a PDF (vectors) or a PNG raster.
#pragma once

#include <string>

#include "display/print_page.h"

namespace rovanel::display {

struct PageSetup {
  PaperSize paper = PaperSize::A4;
  bool landscape = false;
};

// A PDF of the page (vectors, 1200 dpi resolution), title set to page.title.
// On failure `error` is a short reason (without the file name) and the file
// is as it was.
bool WritePagePdf(const std::string& path, const PrintPage& page, const PageStyle& style,
                  const PageSetup& setup, std::string& error);

// A raster of the page at `dpi` (1 to 600; 150 serves most uses), white
// background, PNG. Same failure rule as WritePagePdf.
bool WritePagePng(const std::string& path, const PrintPage& page, const PageStyle& style,
                  const PageSetup& setup, int dpi, std::string& error);

}  // namespace rovanel::display
