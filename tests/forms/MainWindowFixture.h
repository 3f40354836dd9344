// A fresh set of windows in a temporary start-up directory, with the
// desktop's answers scripted, for driving the main window's commands.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <string>

#include "ScriptedDesktop.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Faddfld.h"
#include "forms/Fair.h"
#include "forms/Faskc.h"
#include "forms/Ffield.h"
#include "forms/Fhalvix.h"
#include "forms/Fprint.h"
#include "forms/Viewdoc.h"

// The main window under test; each test makes its own.
inline TForm1* Form1 = nullptr;

inline void CreateForms() {
  Form1 = new TForm1;
}

// The windows made on first use are its children and go with it.
inline void DestroyForms() {
  delete Form1;
  Form1 = nullptr;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_cwd_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    old_start_ = StartDirectory;
    StartDirectory = dir_.path();
    UseFormFont();
    // What an earlier test chose (paper, margins, folders) is not this one's.
    UserSettings().clear();
    CreateForms();
    // The start-up load is tested on its own; elsewhere it must not fire.
    Form1->TimerAutoLoad->stop();
  }

  void TearDown() override {
    DestroyForms();
    StartDirectory = old_start_;
    QDir::setCurrent(old_cwd_);
  }

  // Every dialog, made as its command makes it: start-up makes none.
  static void MakeDialogs() {
    Form1->FormAdd();
    Form1->FormAddFirst();
    Form1->FormAircraft();
    Form1->FormPrintSettings();
    Form1->FormAskContinue();
    Form1->FormFields()->FormAddField();
  }

  // Shows the plan as `edit` leaves it, as if it had been opened so.
  static void ShowPlan(const std::function<void(Plan&)>& edit = nullptr) {
    Plan next = Form1->plan;
    if (edit) edit(next);
    Form1->Document().Replace(std::move(next));
  }

  // A change the save prompt will ask about.
  static void MarkModified() {
    Form1->Document().Change("Edit", [](Plan& plan) { plan.title += " "; });
  }

  std::string Path(const QString& name) const { return dir_.filePath(name).toStdString(); }
  QString QPath(const QString& name) const { return dir_.filePath(name); }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  static std::string ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::string();
    return file.readAll().toStdString();
  }

  // A plan file of `rows` route rows (the first the departure) and `fields`
  // airfields; row 1 carries everything the pre-print check asks for.
  static std::string PlanText(const std::string& title, int rows, int fields) {
    std::string text = "[misc]\r\ntitle=" + title + "\r\ncount=" + std::to_string(rows) +
                       "\r\nfieldcount=" + std::to_string(fields) + "\r\n";
    for (int i = 0; i < rows; ++i) {
      text += "[dest" + std::to_string(i) + "]\r\ntoname=Point " + std::to_string(i) + "\r\n";
      if (i > 0)
        text +=
            "dist=20\r\ntc=90\r\nalt=4500\r\nwinddir=270\r\nwindvel=10\r\ntemp=5\r\n"
            "tas=100\r\nvar=12\r\nvortext=112.3/ 068/ CDL/ To\r\n";
    }
    for (int j = 0; j < fields; ++j)
      text += "[field" + std::to_string(j) + "]\r\nname=Field " + std::to_string(j) +
              "\r\nelevation=500\r\n";
    return text;
  }

  // Plays the departure dialog: types `name`, presses Ok.
  void AnswerDeparture(const QString& name) {
    desk.dialog_answers.push_back([name](QDialog* d) {
      auto* form = static_cast<TFormAddFirst*>(d);
      form->EditDeparture->setText(name);
      form->ButtonOkClick();
      return d->result();
    });
  }

  // Plays the checkpoint dialog: fills it with `texts`, presses Ok.
  void AnswerCheckpoint(const CheckpointDialogTexts& texts) {
    desk.dialog_answers.push_back([texts](QDialog* d) {
      auto* form = static_cast<TFormAdd*>(d);
      form->SetTexts(texts);
      form->ButtonOkClick();
      return d->result();
    });
  }

  void AnswerCancel() {
    desk.dialog_answers.push_back([](QDialog*) { return int(mrCancel); });
  }

  static CheckpointDialogTexts Texts(const std::string& name, const std::string& dist) {
    CheckpointDialogTexts t;
    t.EditCheckpointName = name;
    t.EditDistance = dist;
    return t;
  }

  // A departure and `more` checkpoints through the Add command, then a clean plan.
  void AddRoute(int more) {
    AnswerDeparture("Home");
    Form1->ButtonAddClick();
    for (int i = 1; i <= more; ++i) {
      AnswerCheckpoint(Texts("Point " + std::to_string(i), std::to_string(10 * i)));
      Form1->ButtonAddClick();
    }
    Form1->Document().MarkSaved();
  }

  void Select(int row) { Form1->ListViewPlan->setCurrentIndex(Form1->RouteModel()->index(row, 0)); }

  QString Caption(int row) const { return Form1->RouteModel()->index(row, 0).data().toString(); }

  ScriptedDesktop desk;
  QTemporaryDir dir_;

 private:
  QString old_cwd_;
  QString old_start_;
};
