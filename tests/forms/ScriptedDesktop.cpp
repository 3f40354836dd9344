#include "ScriptedDesktop.h"

#include <gtest/gtest.h>

#include <QDialog>

ScriptedDesktop::ScriptedDesktop() : previous_(SetDesktop(this)) {}

ScriptedDesktop::~ScriptedDesktop() {
  SetDesktop(previous_);
}

int ScriptedDesktop::MessageBox(QWidget*, const QString& text, const QString& caption,
                                MessageButtons buttons) {
  messages.push_back({text, caption, buttons});
  if (message_answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << caption.toStdString() << ": "
                  << text.toStdString();
    return buttons == MessageButtons::Ok ? mrOk : mrCancel;
  }
  int answer = message_answers.front();
  message_answers.pop_front();
  return answer;
}

bool ScriptedDesktop::FileAnswer(QString& path, const QString& filter) {
  file_dialog_proposals.push_back(path);
  file_dialog_filters.push_back(filter);
  if (file_answers.empty()) {
    ADD_FAILURE() << "unexpected file dialog";
    return false;
  }
  QString answer = file_answers.front();
  file_answers.pop_front();
  if (answer.isEmpty()) return false;
  path = answer;
  return true;
}

bool ScriptedDesktop::OpenFileName(QWidget*, QString& path, const QString& filter) {
  return FileAnswer(path, filter);
}

bool ScriptedDesktop::SaveFileName(QWidget*, QString& path, const QString& filter) {
  return FileAnswer(path, filter);
}

bool ScriptedDesktop::ChooseFolder(QWidget*, QString& path) {
  return FileAnswer(path, QStringLiteral("folder"));
}

bool ScriptedDesktop::PrintDialog(QWidget*, QPrinter& printer) {
  ++print_dialogs;
  printers_used.push_back(&printer);
  print_file_offers.push_back(printer.outputFileName());
  if (print_answers.empty()) {
    ADD_FAILURE() << "unexpected print dialog";
    return false;
  }
  bool accept = print_answers.front();
  print_answers.pop_front();
  if (accept && !print_to_pdf.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_to_pdf);
  }
  if (accept && print_paper != QPageSize::Custom) printer.setPageSize(QPageSize(print_paper));
  return accept;
}

bool ScriptedDesktop::PrintPreview(QWidget*, QPrinter& printer,
                                   const std::function<void(QPrinter*)>& paint) {
  ++previews;
  printers_used.push_back(&printer);
  if (!print_to_pdf.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_to_pdf);
  }
  paint(&printer);
  if (preview_answers.empty()) return false;
  const bool print = preview_answers.front();
  preview_answers.pop_front();
  return print;
}

int ScriptedDesktop::ExecModal(QDialog* dialog) {
  shown_dialogs.push_back(dialog);
  if (dialog_answers.empty()) {
    ADD_FAILURE() << "unexpected modal dialog: " << dialog->windowTitle().toStdString();
    return mrCancel;
  }
  auto play = dialog_answers.front();
  dialog_answers.pop_front();
  dialog->setResult(mrNone);  // as a real showing starts
  return play(dialog);
}

bool ScriptedDesktop::OpenUrl(const QUrl& url) {
  opened_urls.push_back(url.toString());
  return open_url_succeeds;
}
