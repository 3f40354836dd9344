// Everything a dialog or the operating system answers goes through Desktop,
// so the commands can be driven headless by scripting the answers.
#pragma once

#include <QSize>
#include <QString>
#include <QUrl>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

// The modal results the windows hand back (the values a dialog passes to done()).
enum ModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrYes = 6,
  mrNo = 7,
};

enum class MessageButtons { Ok, YesNo, YesNoCancel };

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal message box; returns mrOk, mrYes, mrNo or mrCancel.
  virtual int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                         MessageButtons buttons) = 0;

  // File dialogs: `path` goes in as the proposed name and comes back as the
  // chosen one; false when the user cancelled. `filter` is "Description (*.ext)".
  virtual bool OpenFileName(QWidget* parent, QString& path, const QString& filter) = 0;
  virtual bool SaveFileName(QWidget* parent, QString& path, const QString& filter) = 0;
  // A folder chooser, `path` in and out as above.
  virtual bool ChooseFolder(QWidget* parent, QString& path) = 0;

  // The print dialog on `printer`; false when cancelled.
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;

  // A print preview of what `paint` draws onto the printer it is given;
  // true when the user asked from it to print, which the caller does through
  // its own print dialog.
  virtual bool PrintPreview(QWidget* parent, QPrinter& printer,
                            const std::function<void(QPrinter*)>& paint) = 0;

  // Shows `dialog` modally and returns its modal result.
  virtual int ExecModal(QDialog* dialog) = 0;

  // Opens a document or web address with the desktop's default handler;
  // false when the desktop has nothing to open it with.
  virtual bool OpenUrl(const QUrl& url) = 0;

  // The screen's size in pixels.
  virtual QSize ScreenSize() = 0;
};

// The Desktop in use: the real one unless a test installed another.
Desktop& desktop();

// Installs `replacement` (not owned; null restores the real one) and returns
// the previous one.
Desktop* SetDesktop(Desktop* replacement);
