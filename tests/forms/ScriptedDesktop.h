// A Desktop whose answers the test scripts in advance and whose questions it
// records, so the window commands run headless.
#pragma once

#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "forms/Desktop.h"

class ScriptedDesktop : public Desktop {
 public:
  struct Message {
    QString text;
    QString caption;
    MessageButtons buttons;
  };

  ScriptedDesktop();
  ~ScriptedDesktop() override;  // puts the previous Desktop back

  // Answers, used in order; a question with no answer left fails the test
  // (and answers Cancel / false).
  std::deque<int> message_answers;                          // mrOk, mrYes, mrNo, mrCancel
  std::deque<QString> file_answers;                         // chosen path; empty = cancel
  std::deque<bool> print_answers;                           // accept the print dialog?
  std::deque<std::function<int(QDialog*)>> dialog_answers;  // plays the user in a modal dialog
  std::deque<bool> preview_answers;  // print from the preview? none left: closes it

  // Where an accepted print dialog sends the output (a PDF file); empty: none set.
  QString print_to_pdf;
  // The paper an accepted print dialog chooses; Custom: the printer's own.
  QPageSize::PageSizeId print_paper = QPageSize::Custom;
  QSize screen{1280, 1024};
  bool open_url_succeeds = true;  // whether the desktop can open what it is asked to

  // What was asked.
  std::vector<Message> messages;
  std::vector<QString> file_dialog_proposals;  // the path each file dialog was opened with
  std::vector<QString> file_dialog_filters;
  std::vector<QString> opened_urls;
  std::vector<QDialog*> shown_dialogs;
  int print_dialogs = 0;
  int previews = 0;
  std::vector<QPrinter*> printers_used;    // by each print dialog and preview, in order
  std::vector<QString> print_file_offers;  // the output file each print dialog opened with

  int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                 MessageButtons buttons) override;
  bool OpenFileName(QWidget* parent, QString& path, const QString& filter) override;
  bool SaveFileName(QWidget* parent, QString& path, const QString& filter) override;
  bool ChooseFolder(QWidget* parent, QString& path) override;  // from file_answers, filter "folder"
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;
  bool PrintPreview(QWidget* parent, QPrinter& printer,
                    const std::function<void(QPrinter*)>& paint) override;
  int ExecModal(QDialog* dialog) override;
  bool OpenUrl(const QUrl& url) override;
  QSize ScreenSize() override { return screen; }

 private:
  bool FileAnswer(QString& path, const QString& filter);
  Desktop* previous_;
};
