#pragma once

#include <windows.h>

#include <memory>

#include "display/RasterSurface.h"
#include "window/Layout.h"

namespace kov::win32 {

// A graph's pixels in a top-down 32-bit DIB section, drawn by the shared
// raster surface and copied to the screen as they are.
class DibSurface {
 public:
  explicit DibSurface(const window::GraphPixels& pixels);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  display::RasterSurface& Surface() { return *surface_; }
  // Copies the pixels to the device context at (0, 0).
  void CopyTo(HDC dc);

 private:
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::unique_ptr<display::RasterSurface> surface_;
};

}  // namespace kov::win32
