#pragma once
// The key to the hysteresis classes view: each class's colour, what puts a
// pixel in it, and how many pixels it holds.
#include <QString>

#include "imaging/PixelAnalysis.h"

// Rich text for a label, numbers in the user's locale.
QString classLegend(const PixelAnalysis &analysis);
