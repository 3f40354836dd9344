// Finding and opening the HTML user's manual.
#pragma once

#include <QString>

class QUrl;
class QWidget;

// The process's current directory when the program started; the first place
// the manual is looked for.
extern QString StartDirectory;

// The path of "<topic>.html" or "<topic>.htm", the first found in the manual
// installed beside the program, `directory`, the current directory and the
// program's directory; empty when there is none.
QString FindDocument(const QString& topic, const QString& directory);

// Opens the document FindDocument finds with the desktop's handler. When none
// exists returns false, and unless `quiet` says so tells the user.
// A failed open is told too, unless `quiet`.
bool ViewDocument(const QString& topic, const QString& directory, bool quiet);

// Opens `url` with the desktop's handler. When the desktop cannot, tells the
// user where the document or page is, so it can be opened by hand, and
// returns false.
bool OpenWithDesktop(QWidget* parent, const QUrl& url, bool quiet = false);
