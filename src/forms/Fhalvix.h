// The main window: the route list, the plan title, the menus and every command
// that starts from here. It owns the one plan of the run.
#pragma once

#include <QAbstractTableModel>
#include <QMainWindow>
#include <memory>
#include <string>

#include "plan/plan.h"

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
struct PrintContext;

// The route rows of a plan as a list: column 0 is the checkpoint name (renamable
// in place), columns 1..9 the row's cells as typed.
class RouteListModel : public QAbstractTableModel {
 public:
  RouteListModel(Plan& plan, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Every change of the route goes through these, so the view follows.
  void Append(Checkpoint row);
  // The departure point: a name and nine empty cells.
  void AppendDeparture(const std::string& name);
  void Remove(int row);
  void Clear();
  void RowChanged(int row);
  // The route was replaced behind the model's back (a plan was loaded).
  void Reload();

 private:
  Plan& plan_;
};

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  Plan plan;

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
  QMenu* Checkpoints1;
  QAction* Add1;
  QAction* Edit1;
  QAction* Delete1;
  QAction* DeleteAll1;
  QAction* NavigationLog1;
  QAction* WindsAloft1;
  QMenu* Help1;
  QAction* UsersManual1;

  RouteListModel* RouteModel() const { return route_model_; }

  // The selected route row, or -1.
  int SelectedRow() const;

  // Shows the plan's title and rows after the plan was replaced.
  void PlanReplaced();

  // The printer of PrintDialog1: made on first use and kept for the whole
  // run, so the chosen printer, paper and copies hold from one print to the next.
  QPrinter& Printer();

  // Replaces the plan with the file at `path` and shows it; tells the user
  // when the file holds more rows than the plan keeps. On a read error it
  // says why and keeps the plan (false).
  bool LoadFile(const std::string& path);

 signals:
  // Anything the computed log depends on may have changed.
  void PlanChanged();

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
  void Add1Click() { ButtonAddClick(); }
  void Edit1Click() { ButtonEditClick(); }
  void Delete1Click();
  void DeleteAll1Click();
  void WindsAloft1Click();
  void NavigationLog1Click();
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
  // Scrolls the list so that `row` is in sight.
  void ShowRow(int row);
  // Saves to `path` and reports a refusal or failure; false when the plan
  // could not be written and must not be dropped.
  bool SaveTo(const std::string& path);
  // The pre-print check and the leg computation; false when printing stops.
  bool CheckAndCompute();
  // The print dialog on Printer(), with the plan's own PDF proposed for
  // printing to a file; false when cancelled.
  bool RunPrintDialog();

  RouteListModel* route_model_;
  std::unique_ptr<PrintContext> print_context_;
  std::unique_ptr<QPrinter> printer_;
};

extern TForm1* Form1;

// The product's home page and the page of its sibling product.
extern const char* const kHomePageUrl;
extern const char* const kSiblingPageUrl;

// The file a print to PDF proposes for the plan saved as `planfile`: its
// own name with ".pdf", beside it.
QString PrintFileProposal(const QString& planfile);

// The face and size the window layouts were drawn for, in a style that
// leaves out what start-up does not need.
void UseFormFont();

// Creates the eight windows in start-up order: Form1 first, then the dialogs
// with Form1 as their parent.
void CreateForms();

// Deletes every window CreateForms made and clears the globals.
void DestroyForms();
