#pragma once

#include <string>

#include "Canvas.h"

namespace kov::wfexport {

// The picture as the bytes of a PNG file.
std::string EncodePng(const Canvas& canvas);

}  // namespace kov::wfexport
