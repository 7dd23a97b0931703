#pragma once
// What assistive technology hears of the screens' own widgets: a float
// slider's handle gives the name of its label, its description and the value
// in the slider's units (0.637, or "4 passes") rather than the handle's
// internal position; the picture view is a graphic.

// Installs those interfaces; the first call does it, later calls do nothing.
void installScreenAccessibility();
