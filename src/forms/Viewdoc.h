// Finding and opening the HTML user's manual.
#pragma once

#include <QString>

// The process's current directory when the program started; the first place
// the manual is looked for.
extern QString StartDirectory;

// Opens "<topic>.html" or "<topic>.htm" from `directory`, the current
// directory or the program's directory, the first found, with the desktop's
// handler. When none exists returns false, and unless `quiet` says so tells the user.
bool ViewDocument(const QString& topic, const QString& directory, bool quiet);
