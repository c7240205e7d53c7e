// Sketches of the four simulated set-ups, drawn with the painter: the laser
// on the left, the aperture (or the focused beam), the screen at distance L
// on the right with the intensity it receives, and the symbols of the
// simulation's parameters.
#pragma once

class QPainter;
class QRect;

namespace rovanel::gui {

// Page 0: one slit (a, L, λ); 1: two slits (a, d, L, λ); 2: a grating of N
// slits (a, d, L, λ, N); 3: a Gaussian beam and its waist (w). Paints only
// inside `area`; any other page paints nothing.
void DrawSetup(QPainter& p, const QRect& area, int page);

}  // namespace rovanel::gui
