// Finding and opening the HTML user's manual.
#pragma once

#include <QString>

// The process's current directory when the program started; the first place
// the manual is looked for.
extern QString StartDirectory;

// The path of "<topic>.html" or "<topic>.htm", the first found in `directory`,
// the current directory, the program's directory and the manual installed
// beside the program; empty when there is none.
QString FindDocument(const QString& topic, const QString& directory);

// Opens the document FindDocument finds with the desktop's handler. When none
// exists returns false, and unless `quiet` says so tells the user.
bool ViewDocument(const QString& topic, const QString& directory, bool quiet);
