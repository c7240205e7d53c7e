// The window model over a scripted box that serves chosen frames, on
// virtual time, started as the program starts.
#pragma once

#include "app/main_window.h"
#include "support/frame_server.h"
#include "support/recording_port.h"
#include "support/scripted_driver.h"

namespace rovanel::support {

struct ServedRig {
  ServedRig() {
    fp.FormCreate();
    fp.FormShow();
  }
  device::ManualClock clock{1};
  ScriptedDriver driver{&clock};
  FrameServer server{driver};
  app::Box box{driver, clock, app::BoxKind::Usb};
  RecordingPort port;
  app::TFp fp{box, port};
};

}  // namespace rovanel::support
