#pragma once
// What assistive technology hears of a float slider's handle: the name of its
// label, its description, and the value in the slider's own units (0.637, or
// "4 passes") rather than the handle's internal position.

// Makes every FloatSlider's handle report through that interface; the first
// call does it, later calls do nothing.
void installFloatSliderAccessibility();
