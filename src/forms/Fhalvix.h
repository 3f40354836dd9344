// The main window: the route list, the plan title, the menus and every command
// that starts from here. It makes the plan document of the run, which every
// other window observes, and owns the dialogs, each made on its first use.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

#include "forms/PlanDocument.h"

class QAction;
class QCloseEvent;
class QKeyEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QTimer;
class QTreeView;
class PlanPrinting;
class TFormAdd;
class TFormAddFirst;
class TFormAircraft;
class TFormAskContinue;
class TFormChart;
class TFormFields;
class TFormNavLog;
class TFormPrintSettings;
class TFormWinds;

class TForm1 : public QMainWindow {
  Q_OBJECT

  // First of the members: `plan` refers into it.
  PlanDocument* document_;

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  PlanDocument& Document() const { return *document_; }
  // The document's plan, which this window shows.
  const Plan& plan;

  // The dialogs and windows, made on first use.
  TFormAdd* FormAdd();
  TFormAddFirst* FormAddFirst();
  TFormAircraft* FormAircraft();
  TFormPrintSettings* FormPrintSettings();
  TFormAskContinue* FormAskContinue();
  TFormFields* FormFields();
  TFormWinds* FormWinds();
  // The Navigation Log window when it is open (null before its first use).
  TFormNavLog* FormNavLog() const;

  // Client area.
  QFrame* Bevel1;
  QLabel* Label1;
  QLineEdit* EditTitle;
  QLabel* Label2;
  QTreeView* ListViewPlan;
  QPushButton* ButtonAdd;
  QPushButton* ButtonEdit;
  QPushButton* ButtonDelete;
  QPushButton* ButtonAircraft;
  QPushButton* ButtonFields;
  QPushButton* ButtonPrint;
  QPushButton* ButtonHelp;
  QFrame* Panel1;
  QLabel* LabelVersion;
  QLabel* LabelCopyright;
  QFrame* Panel2;
  QLabel* Label3;
  QTimer* TimerAutoLoad;

  // Menus.
  QMenu* File1;
  QAction* New1;
  QAction* Open1;
  QAction* Save1;
  QAction* SaveAs1;
  QAction* ImportRoute1;
  QAction* PrintSettings1;
  QAction* Print1;
  QAction* PrintBlankForm1;
  QAction* PrintPreview1;
  QAction* Quit1;
  QMenu* EditMenu1;
  QAction* Undo1;
  QAction* Redo1;
  QMenu* Checkpoints1;
  QAction* Add1;
  QAction* Edit1;
  QAction* Delete1;
  QAction* DeleteAll1;
  QAction* FillVor1;
  QAction* NavigationLog1;
  QAction* WindsAloft1;
  QAction* Performance1;
  QAction* WeightBalance1;
  QMenu* Help1;
  QAction* UsersManual1;

  RouteListModel* RouteModel() const { return document_->Route(); }

  // The selected route row, or -1.
  int SelectedRow() const { return document_->SelectedRow(); }

  // The printer of PrintDialog1: made on first use and kept for the whole
  // run, so the chosen printer, paper and copies hold from one print to the next.
  QPrinter& Printer();

 public slots:
  void FormCreate();
  void TimerAutoLoadTimer();
  // The save-changes prompt; true when the caller may go on.
  bool FormCloseQuery();

  void New1Click();
  void Open1Click();
  void Save1Click();
  void SaveAs1Click();
  void ImportRoute1Click();
  void PrintSettings1Click();
  void Print1Click() { ButtonPrintClick(); }
  void PrintBlankForm1Click();
  void PrintPreview1Click();
  void Quit1Click();
  void Add1Click() { ButtonAddClick(); }
  void Edit1Click() { ButtonEditClick(); }
  void Delete1Click();
  void DeleteAll1Click();
  void WindsAloft1Click();
  void NavigationLog1Click();
  void Performance1Click();
  void WeightBalance1Click();
  void UsersManual1Click();

  void ButtonAddClick();
  void ButtonEditClick();
  void ButtonDeleteClick() { Delete1Click(); }
  void ButtonAircraftClick();
  void ButtonFieldsClick();
  void ButtonPrintClick();
  void ButtonHelpClick();

  void LabelVersionClick();
  void Panel2Click();
  void Label3Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildClientArea();
  void BuildMenus();
  void EditTitleEdited();
  // Shows the plan's title when it is not what the edit holds.
  void ShowTitle();
  // Scrolls the list so that `row` is in sight.
  void ShowRow(int row);

  std::unique_ptr<PlanPrinting> printing_;
  QPointer<TFormAdd> add_;
  QPointer<TFormAddFirst> add_first_;
  QPointer<TFormAircraft> aircraft_;
  QPointer<TFormPrintSettings> print_settings_;
  QPointer<TFormAskContinue> ask_continue_;
  QPointer<TFormFields> fields_;
  QPointer<TFormWinds> winds_;
  QPointer<TFormNavLog> navlog_;
  QPointer<TFormChart> chart_;
};

// The product's home page and the page of its sibling product.
extern const char* const kHomePageUrl;
extern const char* const kSiblingPageUrl;

// The face and size the window layouts were drawn for, in a style that
// leaves out what start-up does not need.
void UseFormFont();
