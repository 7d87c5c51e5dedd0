#pragma once

#include <string>

#include "LevelSource.h"

namespace kov::sim {

// The instrument's answer to "GD" for the 10 MHz band around centreMHz: "GD ",
// the opening "/ ", `entries` entries like "F0450.0000L-087 " from 5 MHz below
// the centre, 10/320 MHz apart, and the closing "/ "; every line ends in CR
// LF. An entry without a level is only its frequency. Without markers both
// "/ " lines are left out. `pass` goes to the level source.
std::string GDReply(double centreMHz, int entries, int pass, bool markers,
                    const LevelSource& levels);

}  // namespace kov::sim
