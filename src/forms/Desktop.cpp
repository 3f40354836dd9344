#include "forms/Desktop.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

namespace {

class QtDesktop : public Desktop {
 public:
  int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                 MessageButtons buttons) override {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, parent);
    switch (buttons) {
      case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
      case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return mrYes;
      case QMessageBox::No:
        return buttons == MessageButtons::YesNoCancel || buttons == MessageButtons::YesNo ? mrNo
                                                                                          : mrOk;
      case QMessageBox::Ok:
        return mrOk;
      default:
        return buttons == MessageButtons::YesNo ? mrNo
                                                : (buttons == MessageButtons::Ok ? mrOk : mrCancel);
    }
  }

  bool OpenFileName(QWidget* parent, QString& path, const QString& filter) override {
    QFileDialog dialog(parent, QString(), path, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.selectFile(path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
  }

  bool SaveFileName(QWidget* parent, QString& path, const QString& filter) override {
    QFileDialog dialog(parent, QString(), path, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Overwriting is the plan's normal way of saving; the dialog does not ask.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
  }

  bool ChooseFolder(QWidget* parent, QString& path) override {
    const QString chosen = QFileDialog::getExistingDirectory(parent, QString(), path);
    if (chosen.isEmpty()) return false;
    path = chosen;
    return true;
  }

  bool PrintDialog(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }

  bool PrintPreview(QWidget* parent, QPrinter& printer,
                    const std::function<void(QPrinter*)>& paint) override {
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* p) { paint(p); });
    // The whole page at once: a landscape log read by its width alone runs
    // off the bottom of the window.
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
      view->setZoomMode(QPrintPreviewWidget::FitInView);
    // The preview's own Print would print to a file it names itself; it
    // closes the preview instead, and the caller's print dialog takes over.
    bool print = false;
    const QString print_text = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : dialog.findChildren<QAction*>()) {
      if (action->text() != print_text) continue;
      QObject::disconnect(action, &QAction::triggered, &dialog, nullptr);
      QObject::connect(action, &QAction::triggered, &dialog, [&dialog, &print] {
        print = true;
        dialog.accept();
      });
    }
    dialog.exec();
    return print;
  }

  int ExecModal(QDialog* dialog) override { return dialog->exec(); }

  bool OpenUrl(const QUrl& url) override {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    // Without the desktop's opener Qt tries the browsers it knows of, and
    // says false when there is none.
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    // The opener tells that no program handles the address only by its exit
    // status, which Qt's detached launch never sees. It gives up within
    // moments; one still running after that is showing the document. Not
    // owned by anything: closing Halvix must not close the user's browser.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString()});
    constexpr int kVerdictMs = 1500;
    if (!process->waitForStarted(kVerdictMs)) {
      delete process;
      return false;
    }
    if (!process->waitForFinished(kVerdictMs)) return true;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
  }

  QSize ScreenSize() override {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
  }
};

QtDesktop& RealDesktop() {
  static QtDesktop real;
  return real;
}

Desktop* current = nullptr;

}  // namespace

Desktop& desktop() {
  return current ? *current : RealDesktop();
}

Desktop* SetDesktop(Desktop* replacement) {
  Desktop* previous = current ? current : &RealDesktop();
  current = replacement;
  return previous;
}
