#pragma once
// The key to the hysteresis classes view: each class's colour and name, short
// enough for the tool bar, and in full with how many pixels each holds.
#include <QString>

#include "imaging/PixelAnalysis.h"

// Rich text for a label: a swatch and a word each.
QString classLegend();
// What puts a pixel in each class and how many there are, numbers in the user's locale.
QString classCounts(const PixelAnalysis &analysis);
