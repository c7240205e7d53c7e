// Scopes a handler opens on the window model: a drawing held until the last
// one ends, and a finite loop that owns the data while it runs.
#pragma once

#include "app/main_window.h"

namespace rovanel::app {

// While one lives, DrawCurves only notes that a picture is due; the last
// one to end draws it, once.
class DrawingHeld {
 public:
  explicit DrawingHeld(TFp& fp);
  ~DrawingHeld();
  DrawingHeld(const DrawingHeld&) = delete;
  DrawingHeld& operator=(const DrawingHeld&) = delete;

 private:
  TFp& fp_;
};

// While a finite loop runs it owns the data: the clicks that would touch
// them wait for its end (RunsNow), and a second start is refused.
class LoopScope {
 public:
  explicit LoopScope(TFp& fp);
  // The last scope to end closes the box when the window closed meanwhile.
  ~LoopScope();
  LoopScope(const LoopScope&) = delete;
  LoopScope& operator=(const LoopScope&) = delete;

 private:
  TFp& fp_;
  bool was_;
};

}  // namespace rovanel::app
