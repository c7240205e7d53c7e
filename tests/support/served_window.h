// Started windows for the tests: over a scripted box that serves chosen
// frames, or over no box, on virtual time.
#pragma once

#include "app/main_window.h"
#include "support/frame_server.h"
#include "support/recording_port.h"
#include "support/scripted_driver.h"

namespace rovanel::support {

struct ServedRig {
  // English texts: the messages the tests read.
  ServedRig() {
    fp.SetForcedLanguage(2);
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

// The window model with no box at all, started, on virtual time.
inline app::BoxOptions NoBoxOptions() {
  app::BoxOptions o;
  o.kind = app::BoxKind::None;
  return o;
}

struct NoBoxRig {
  NoBoxRig() {
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
  }
  device::ManualClock clock{1000};
  app::Box box{NoBoxOptions(), clock};
  RecordingPort port;
  app::TFp fp{box, port};
};

}  // namespace rovanel::support
