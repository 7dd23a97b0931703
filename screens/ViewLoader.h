#pragma once
// Builds a screen's content from its Qt Designer file. The file's top-level
// widget stands for the screen itself (its class is the screen's class), so
// the file can wire its buttons to the screen's slots; our own widgets
// (FloatSlider, ImageView) are made by name like Qt's.
#include <QObject>
#include <QString>

class QWidget;

// Loads `resourcePath` into `owner`: children, layout and connections. Returns
// every object the file added to `owner`, or an empty list (after a one-line
// warning) when the file is missing or not a form for `owner`'s class.
QObjectList loadView(const QString &resourcePath, QWidget *owner);
