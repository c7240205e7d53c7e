// What the status bar and box:id say when the box cannot be used: what
// happened and what to do, in the window's language, with the driver's code
// in brackets at the end for whoever looks after the lab's boxes.
#pragma once

#include <string>

#include "device/d2xx.h"

namespace rovanel::app {

class Box;
class TFp;

// For a failed open (opened false) or a box that does not identify itself.
std::string BoxProblemText(const TFp& fp, const Box& box, device::Status status, bool opened);

}  // namespace rovanel::app
