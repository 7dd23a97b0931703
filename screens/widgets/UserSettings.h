#pragma once
// What the application remembers between runs, in the user's configuration
// folder: the live switch, the window, each tab's sliders, the last folder.
#include <QSettings>
#include <QString>

QSettings userSettings();

// The folder Open and Save last used; the pictures folder before the first.
QString lastFolder();
// Remembers the folder of the file at `path` for the next Open or Save.
void rememberFolderOf(const QString &path);
