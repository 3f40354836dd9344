// Dialog placement, the manual lookup, number reading, byte-limited edits and
// texts that fit their controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "DialogsTestUtil.h"
#include "ScriptedDesktop.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Faddfld.h"
#include "forms/Fair.h"
#include "forms/Faskc.h"
#include "forms/Ffield.h"
#include "forms/Formutil.h"
#include "forms/Fprint.h"
#include "forms/PlanDocument.h"
#include "forms/Viewdoc.h"

namespace {

// Places a dialog of the given size over an owner at the given geometry.
QPoint Place(QRect owner_rect, QSize dialog_size) {
  QWidget owner;
  owner.setGeometry(owner_rect);
  QWidget dialog;
  dialog.setGeometry(QRect(QPoint(0, 0), dialog_size));
  PlaceDialog(&owner, &dialog);
  return dialog.pos();
}

TEST(PlaceDialogTest, CentresOverTheOwnerAndKeepsOnScreen) {
  ScriptedDesktop desk;
  desk.screen = QSize(1024, 768);
  // Half the width difference: 100 + (651 - 300) / 2.
  EXPECT_EQ(Place(QRect(100, 100, 651, 300), QSize(300, 200)).x(), 275);
  // -101 / 2 truncates to -50: left -30, raised to 0.
  EXPECT_EQ(Place(QRect(20, 100, 300, 300), QSize(401, 200)).x(), 0);
  // Nearly the owner's width: nudged 15 to the right (2 + 15).
  EXPECT_EQ(Place(QRect(100, 100, 400, 300), QSize(395, 200)).x(), 117);
  // Nearly the owner's height: nudged 15 down.
  EXPECT_EQ(Place(QRect(100, 100, 400, 300), QSize(200, 295)).y(), 102 + 15);
  // Computed top 350 ends at 750, which reaches 768 - 50: moved up to 318.
  EXPECT_EQ(Place(QRect(100, 150, 400, 800), QSize(200, 400)).y(), 318);
  // Past the right edge of the screen: flush with it.
  EXPECT_EQ(Place(QRect(900, 100, 300, 300), QSize(200, 100)).x(), 1024 - 200);
}

TEST(PlaceDialogTest, ADialogLargerThanTheScreenMayEndUpAboveIt) {
  ScriptedDesktop desk;
  desk.screen = QSize(1024, 768);
  EXPECT_EQ(Place(QRect(0, 0, 400, 300), QSize(200, 900)), QPoint(100, 768 - 900 - 50));
}

TEST(PlaceDialogTest, MissingWindowChangesNothing) {
  ScriptedDesktop desk;
  QWidget dialog;
  dialog.setGeometry(33, 44, 100, 100);
  PlaceDialog(nullptr, &dialog);
  EXPECT_EQ(dialog.pos(), QPoint(33, 44));
  PlaceDialog(&dialog, nullptr);  // must not crash
}

TEST(ReadNumberTest, ReadsLikeAtofInTheCLocale) {
  EXPECT_DOUBLE_EQ(ReadNumber("9.5"), 9.5);
  EXPECT_DOUBLE_EQ(ReadNumber("  -0.25in"), -0.25);
  EXPECT_DOUBLE_EQ(ReadNumber("+3"), 3.0);
  EXPECT_DOUBLE_EQ(ReadNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ReadNumber("1e1"), 10.0);
  EXPECT_DOUBLE_EQ(ReadNumber("1/2"), 1.0);
  EXPECT_DOUBLE_EQ(ReadNumber("0,5"), 0.0);  // only the point separates decimals
  EXPECT_DOUBLE_EQ(ReadNumber("abc"), 0.0);
  EXPECT_DOUBLE_EQ(ReadNumber(""), 0.0);
  EXPECT_DOUBLE_EQ(ReadNumber("--5"), 0.0);
  EXPECT_DOUBLE_EQ(ReadNumber("1e999"), 0.0);  // no infinities into sums and geometry
  EXPECT_DOUBLE_EQ(ReadNumber("nan"), 0.0);
}

TEST(LimitBytesTest, TypingStopsAtTheByteLimitWithoutSplittingCharacters) {
  QLineEdit edit;
  LimitBytes(&edit, 5);
  Type(&edit, "abcd");
  Type(&edit, QString::fromUtf8("é"));  // two bytes: 6 > 5, refused whole
  EXPECT_EQ(edit.text(), "abcd");
  Type(&edit, "e");
  EXPECT_EQ(edit.text(), "abcde");
  Type(&edit, "f");
  EXPECT_EQ(edit.text(), "abcde");
}

TEST(LimitBytesTest, APasteIsCutAndTheTextAfterTheCursorKept) {
  QLineEdit edit;
  LimitBytes(&edit, 10);
  Type(&edit, "ab");
  Type(&edit, "yz");
  edit.setCursorPosition(2);
  edit.insert(QString::fromUtf8("ééééé"));  // 10 bytes where 6 are left
  EXPECT_EQ(edit.text(), QString::fromUtf8("abéééyz"));
  EXPECT_EQ(edit.cursorPosition(), 5);
  EXPECT_LE(edit.text().toUtf8().size(), 10);
}

TEST(LimitBytesTest, ASharedBudgetIsAskedOnEveryEdit) {
  QLineEdit first;
  QLineEdit second;
  LimitBytes(&second, [&first] { return 6 - Utf8Bytes(first.text()); });
  first.setText("abcd");
  Type(&second, "123");
  EXPECT_EQ(second.text(), "12");
}

// Creates a file at `path` and returns the URL ViewDocument would open for it.
QString MakeFile(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<html></html>");
  return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}

class ViewDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = QDir::currentPath();
    ASSERT_TRUE(docs_.isValid());
    ASSERT_TRUE(cwd_.isValid());
    QDir::setCurrent(cwd_.path());
  }
  void TearDown() override { QDir::setCurrent(saved_cwd_); }

  QTemporaryDir docs_;
  QTemporaryDir cwd_;
  QString saved_cwd_;
  ScriptedDesktop desk_;
};

TEST_F(ViewDocumentTest, SearchesTheInstalledManualThenTheDirectoryThenCurrentThenProgram) {
  const QString topic = "dialogs_probe_topic";
  // Where an installed program keeps its manual, relative to its directory.
  const QString installed_dir =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" + HALVIX_MANUAL_FROM_PROGRAM);
  QString made;  // the highest directory this test creates, removed at the end
  for (QString dir = installed_dir; !QDir(dir).exists(); dir = QFileInfo(dir).path()) made = dir;
  ASSERT_TRUE(QDir().mkpath(installed_dir));
  const QString installed = MakeFile(installed_dir + "/" + topic + ".html");
  const QString in_program =
      MakeFile(QCoreApplication::applicationDirPath() + "/" + topic + ".htm");
  const QString in_cwd_htm = MakeFile(cwd_.filePath(topic + ".htm"));
  const QString in_cwd = MakeFile(cwd_.filePath(topic + ".html"));
  const QString in_dir_htm = MakeFile(docs_.filePath(topic + ".htm"));
  const QString in_dir = MakeFile(docs_.filePath(topic + ".html"));

  // Each run removes the file it found, uncovering the next candidate.
  for (const QString& expected : {installed, in_dir, in_dir_htm, in_cwd, in_cwd_htm, in_program}) {
    desk_.opened_urls.clear();
    EXPECT_EQ(FindDocument(topic, docs_.path()), QUrl(expected).toLocalFile());
    ASSERT_TRUE(ViewDocument(topic, docs_.path(), false));
    ASSERT_EQ(desk_.opened_urls.size(), 1u);
    EXPECT_EQ(desk_.opened_urls[0], expected);
    QFile::remove(QUrl(expected).toLocalFile());
  }
  if (!made.isEmpty()) QDir(made).removeRecursively();
  EXPECT_TRUE(desk_.messages.empty());

  EXPECT_FALSE(ViewDocument(topic, docs_.path(), true));
  EXPECT_TRUE(desk_.messages.empty());
}

TEST_F(ViewDocumentTest, NothingFoundSaysSoUnlessQuiet) {
  desk_.message_answers.push_back(mrOk);
  EXPECT_FALSE(ViewDocument("dialogs_no_such_topic", docs_.path(), false));
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].text, "Unable to find documentation");
  EXPECT_EQ(desk_.messages[0].caption, "error");
  EXPECT_EQ(desk_.messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(desk_.opened_urls.empty());
}

TEST_F(ViewDocumentTest, TrailingSeparatorIsNotDoubledAndDirectoriesAreNotDocuments) {
  QDir(docs_.path()).mkdir("guide.html");  // a directory, not a document
  const QString htm = MakeFile(docs_.filePath("guide.htm"));
  ASSERT_TRUE(ViewDocument("guide", docs_.path() + "/", false));
  ASSERT_EQ(desk_.opened_urls.size(), 1u);
  EXPECT_EQ(desk_.opened_urls[0], htm);
  EXPECT_FALSE(desk_.opened_urls[0].contains("//guide"));
}

TEST(DialogKeysTest, EnterClosesOnlyTheDialogsThatHaveADefaultButton) {
  ScriptedDesktop desk;
  TFormAircraft aircraft;
  TFormPrintSettings settings;
  TFormAskContinue prompt;
  PlanDocument document;
  TFormFields fields(document);
  TFormAddField field;
  // Where the caret or the focus is when the user presses Enter.
  const std::vector<std::pair<QDialog*, QWidget*>> no_default = {
      {&aircraft, aircraft.EditNNumber},
      {&settings, settings.EditTop},
      {&settings, settings.CheckBoxShade},
      {&prompt, prompt.LabelParam},
      {&fields, fields.ListViewFields},
      {&field, field.EditName},
      {&field, field.EditATC}};
  for (const auto& [dialog, control] : no_default) {
    dialog->show();
    dialog->setResult(mrNone);
    PressKey(control, Qt::Key_Return);
    PressKey(control, Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible()) << dialog->windowTitle().toStdString();
    EXPECT_EQ(dialog->result(), mrNone) << dialog->windowTitle().toStdString();
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
      EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    dialog->hide();
  }

  // A button that has the focus answers Enter itself.
  prompt.show();
  prompt.setResult(mrNone);
  prompt.Button2->setFocus();
  PressKey(prompt.Button2, Qt::Key_Return);
  EXPECT_FALSE(prompt.isVisible());
  EXPECT_EQ(prompt.result(), mrOk);
  aircraft.show();
  aircraft.ButtonCancel->setFocus();
  PressKey(aircraft.ButtonCancel, Qt::Key_Return);
  EXPECT_EQ(aircraft.result(), mrCancel);

  // The checkpoint and departure dialogs close with Ok from any edit.
  TFormAddFirst departure;
  departure.show();
  departure.EditDeparture->setText("Home");
  PressKey(departure.EditDeparture, Qt::Key_Return);
  EXPECT_FALSE(departure.isVisible());
  EXPECT_EQ(departure.result(), mrOk);
  TFormAdd checkpoint;
  checkpoint.show();
  checkpoint.EditCheckpointName->setText("Lake");
  checkpoint.EditDistance->setText("12");
  PressKey(checkpoint.EditMagVar, Qt::Key_Return);
  EXPECT_EQ(checkpoint.result(), mrOk);
  // ...except from a button of their own, which does its own job.
  checkpoint.show();
  checkpoint.ButtonCancel->setFocus();
  PressKey(checkpoint.ButtonCancel, Qt::Key_Return);
  EXPECT_EQ(checkpoint.result(), mrCancel);
}

TEST(DialogLayoutTest, EveryTextFitsItsControl) {
  PlanDocument document;
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.emplace_back(new TFormAdd);
  dialogs.emplace_back(new TFormAddFirst);
  dialogs.emplace_back(new TFormAircraft);
  dialogs.emplace_back(new TFormPrintSettings);
  dialogs.emplace_back(new TFormAskContinue);
  dialogs.emplace_back(new TFormFields(document));
  dialogs.emplace_back(new TFormAddField);
  static_cast<TFormAskContinue*>(dialogs[4].get())
      ->LabelParam->setText("Missing Information: Predicted Wind Direction");
  for (const auto& dialog : dialogs) {
    const QString name = dialog->windowTitle();
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << name.toStdString();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      const QRect box = label->contentsRect();
      const QRect needed = label->fontMetrics().boundingRect(
          QRect(0, 0, box.width(), 100000), label->wordWrap() ? Qt::TextWordWrap : 0,
          label->text());
      EXPECT_LE(needed.height(), box.height())
          << name.toStdString() << ": " << label->text().toStdString();
      EXPECT_LE(needed.width(), box.width())
          << name.toStdString() << ": " << label->text().toStdString();
      // Inside the window, not cut off by its edge.
      const QRect in_window(label->mapTo(dialog.get(), QPoint(0, 0)), label->size());
      EXPECT_TRUE(dialog->rect().contains(in_window)) << label->text().toStdString();
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
      EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width())
          << name.toStdString() << ": " << button->text().toStdString();
    }
  }
}

}  // namespace
