// The processor's vector state left behind by other libraries' code.
#pragma once

namespace rovanel {

// Clears the upper halves of the AVX registers (vzeroupper) where the
// processor has them, and does nothing elsewhere.
//
// Qt's solid fills (QPainter::fillRect, QImage::fill, a solid pen's long
// spans) end in an AVX routine that returns with those halves still in
// use. Until they are cleared, Intel processors make every plain SSE
// instruction of the thread merge with them: the x86-64 code that comes
// after, ours and Qt's alike, runs two to three times slower. Called after
// such Qt calls, where heavy work follows on the same thread.
void ClearUpperVectorHalves();

// Whether the upper halves are in use on this thread now (false where the
// processor cannot tell).
bool UpperVectorHalvesInUse();

}  // namespace rovanel
