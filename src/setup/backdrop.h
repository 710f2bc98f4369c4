// The full-screen backdrop: gradient, title with its shadow, logo and the maker's notice.
#pragma once

namespace tidemark {

// Paints the whole backdrop straight to its window, whatever part needs repainting.
void PaintBackdrop();

}  // namespace tidemark
