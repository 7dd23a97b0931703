#pragma once
// The `canny` command line that gives the same edge map as the screen: every
// value written with just the digits that read back as the very float the
// detector got.
#include <QString>

#include "imaging/EdgeStages.h"

// The shortest decimal that reads back as exactly `value`.
QString shortestDecimal(float value);

// `canny --t1 .. --t2 .. --sigma .. --steps .. INPUT OUTPUT`, with the file
// names quoted for a POSIX shell where they need it.
QString cannyCommand(const EdgeSettings &settings, const QString &input, const QString &output);
