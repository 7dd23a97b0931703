#pragma once
// Pictures and icons shipped inside the program, looked up by name.
#include <QIcon>
#include <QImage>
#include <QString>

// The picture called `name` in the resources; a name without an extension is
// looked up as a .png. A null image when there is none.
QImage imageNamed(const QString &name);

// The same picture as an icon (empty when there is none).
QIcon iconNamed(const QString &name);
