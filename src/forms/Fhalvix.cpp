#include "forms/Fhalvix.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QUrl>

#include "data/aviation_fill.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Fair.h"
#include "forms/Faskc.h"
#include "forms/Fchart.h"
#include "forms/Ffield.h"
#include "forms/FileCommands.h"
#include "forms/Fnavlog.h"
#include "forms/Formutil.h"
#include "forms/Fprint.h"
#include "forms/Fwb.h"
#include "forms/Fwinds.h"
#include "forms/Importroute.h"
#include "forms/PrintCommands.h"
#include "forms/Viewdoc.h"
#include "halvix_version.h"
#include "plan/fuel_plan.h"
#include "plan/planfile.h"
#include "plan/route_row.h"

const char* const kHomePageUrl = "https://www.halvix.example/";
const char* const kSiblingPageUrl = "https://www.halvix.example/logbook/";

namespace {

const char* const kSelectFirst = "Please select an item in the list first!";

// An airport looked up for the route joins the airfields, as a route built
// from the data on the command line or the chart has them.
void JoinAirfields(Plan& plan, const std::optional<Airport>& airport) {
  std::vector<std::string> notes;
  if (airport) AddAirfieldOf(plan, *airport, notes);
}

// The margins last set in Print Settings, which a new plan starts with.
const char* const kMarginKeys[] = {"print/topmargin", "print/bottommargin", "print/leftmargin",
                                   "print/rightmargin"};

void RememberMargins(const PrintSettings& print) {
  QSettings settings = UserSettings();
  const double margins[] = {print.topmargin, print.bottommargin, print.leftmargin,
                            print.rightmargin};
  for (int k = 0; k < 4; ++k) settings.setValue(kMarginKeys[k], margins[k]);
}

// None set yet: the plan file's own default, a tenth of an inch.
void RecallMargins(PrintSettings& print) {
  const QSettings settings = UserSettings();
  double* margins[] = {&print.topmargin, &print.bottommargin, &print.leftmargin,
                       &print.rightmargin};
  for (int k = 0; k < 4; ++k) *margins[k] = settings.value(kMarginKeys[k], 0.1).toDouble();
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

// --- TForm1 --------------------------------------------------------------------

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      document_(new PlanDocument(this)),
      plan(document_->plan()),
      printing_(std::make_unique<PlanPrinting>(
          *document_,
          CheckDialogs{[this] { return FormAskContinue(); }, [this] { return FormAdd(); },
                       [this] { return !winds_.isNull() && winds_->HasForecast(); },
                       [this] { WindsAloft1Click(); }})) {
  setWindowTitle("Cross Country Flight Planner");
  BuildClientArea();
  BuildMenus();
  // The client area is fixed; the menu bar sits above it.
  setFixedSize(643, 312 + menuBar()->sizeHint().height());

  TimerAutoLoad = new QTimer(this);
  TimerAutoLoad->setObjectName("TimerAutoLoad");
  TimerAutoLoad->setInterval(100);
  connect(TimerAutoLoad, &QTimer::timeout, this, &TForm1::TimerAutoLoadTimer);
  TimerAutoLoad->start();

  connect(document_, &PlanDocument::Changed, this, &TForm1::ShowTitle);

  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildClientArea() {
  auto* client = new QWidget(this);
  client->setFixedSize(643, 312);
  setCentralWidget(client);

  Bevel1 = new QFrame(client);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(0, 0, 641, 2);

  auto label = [client](const char* text, int left, int top) {
    auto* l = new QLabel(text, client);
    l->move(left, top);
    l->adjustSize();
    return l;
  };
  Label1 = label("Cross Country Title:", 8, 16);

  EditTitle = new QLineEdit(client);
  EditTitle->setObjectName("EditTitle");
  EditTitle->setGeometry(8, 32, 305, 21);
  // A plan file keeps 255 bytes of the title.
  LimitBytes(EditTitle, kLongTextMax);
  connect(EditTitle, &QLineEdit::textEdited, this, &TForm1::EditTitleEdited);

  Label2 = label("Route:", 8, 64);

  ListViewPlan = new QTreeView(client);
  ListViewPlan->setObjectName("ListViewPlan");
  ListViewPlan->setGeometry(8, 80, 625, 185);
  ListViewPlan->setModel(document_->Route());
  // The document's selection: every window that shows the route shares it.
  QItemSelectionModel* own = ListViewPlan->selectionModel();
  ListViewPlan->setSelectionModel(document_->Selection());
  delete own;
  ListViewPlan->setRootIsDecorated(false);
  ListViewPlan->setItemsExpandable(false);
  ListViewPlan->setUniformRowHeights(true);
  ListViewPlan->setAllColumnsShowFocus(true);
  ListViewPlan->setSelectionMode(QAbstractItemView::SingleSelection);
  ListViewPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListViewPlan->setEditTriggers(QAbstractItemView::SelectedClicked |
                                QAbstractItemView::EditKeyPressed);
  ListViewPlan->setItemDelegateForColumn(0, new ByteLimitDelegate(kShortTextMax, ListViewPlan));
  ListViewPlan->header()->setSectionsMovable(false);
  FitColumns(ListViewPlan, kRouteColumns, kRouteColumnCount);
  // The pilot edits the selected row from the buttons, so it must stay plain
  // to see while a button has the focus.
  QPalette palette = ListViewPlan->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  ListViewPlan->setPalette(palette);

  auto button = [client](const char* text, const char* name, int left) {
    auto* b = new QPushButton(text, client);
    b->setObjectName(name);
    b->setGeometry(left, 280, 75, 25);
    b->setAutoDefault(false);
    return b;
  };
  ButtonAdd = button("Add", "ButtonAdd", 8);
  ButtonEdit = button("Edit", "ButtonEdit", 88);
  ButtonDelete = button("Delete", "ButtonDelete", 168);
  ButtonAircraft = button("Aircraft", "ButtonAircraft", 248);
  ButtonFields = button("Fields", "ButtonFields", 328);
  ButtonPrint = button("Print", "ButtonPrint", 408);
  ButtonHelp = button("Help", "ButtonHelp", 488);
  connect(ButtonAdd, &QPushButton::clicked, this, &TForm1::ButtonAddClick);
  connect(ButtonEdit, &QPushButton::clicked, this, &TForm1::ButtonEditClick);
  connect(ButtonDelete, &QPushButton::clicked, this, &TForm1::ButtonDeleteClick);
  connect(ButtonAircraft, &QPushButton::clicked, this, &TForm1::ButtonAircraftClick);
  connect(ButtonFields, &QPushButton::clicked, this, &TForm1::ButtonFieldsClick);
  connect(ButtonPrint, &QPushButton::clicked, this, &TForm1::ButtonPrintClick);
  connect(ButtonHelp, &QPushButton::clicked, this, &TForm1::ButtonHelpClick);
  QPushButton* button_chart = button("Chart", "ButtonChart", 568);
  button_chart->setGeometry(568, 280, 67, 25);
  connect(button_chart, &QPushButton::clicked, this,
          [this] { ShowRouteChart(chart_, this, *document_); });

  auto raisedPanel = [client](int left, int top, int width, int height) {
    auto* p = new QFrame(client);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setLineWidth(1);
    p->setGeometry(left, top, width, height);
    return p;
  };
  auto linkLook = [](QWidget* w) {
    QFont font = w->font();
    font.setUnderline(true);
    w->setFont(font);
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    w->setPalette(palette);
    w->setCursor(Qt::PointingHandCursor);
  };

  Panel1 = raisedPanel(320, 16, 169, 49);
  LabelVersion = new QLabel(Panel1);
  LabelVersion->setGeometry(8, 8, 153, 13);
  LabelVersion->setAlignment(Qt::AlignCenter);
  linkLook(LabelVersion);
  LabelVersion->installEventFilter(this);
  LabelCopyright = new QLabel(Panel1);
  LabelCopyright->setGeometry(8, 28, 153, 13);
  LabelCopyright->setAlignment(Qt::AlignCenter);

  Panel2 = raisedPanel(496, 16, 137, 49);
  linkLook(Panel2);
  Panel2->installEventFilter(this);
  Label3 = new QLabel("Keep every flight hour in order with Halvix Logbook", Panel2);
  Label3->setGeometry(2, 8, 133, 33);
  Label3->setAlignment(Qt::AlignCenter);
  Label3->setWordWrap(true);
  Label3->installEventFilter(this);

  setTabOrder(ButtonPrint, ListViewPlan);
  setTabOrder(ListViewPlan, ButtonAdd);
  setTabOrder(ButtonAdd, ButtonEdit);
  setTabOrder(ButtonEdit, ButtonAircraft);
  setTabOrder(ButtonAircraft, ButtonDelete);
  setTabOrder(ButtonDelete, ButtonHelp);
  setTabOrder(ButtonHelp, ButtonFields);
  setTabOrder(ButtonFields, EditTitle);
  ButtonPrint->setFocus();
}

void TForm1::BuildMenus() {
  File1 = menuBar()->addMenu("File");
  New1 = File1->addAction("New", this, &TForm1::New1Click);
  Open1 = File1->addAction("&Open", this, &TForm1::Open1Click);
  File1->addSeparator();
  Save1 = File1->addAction("&Save", this, &TForm1::Save1Click);
  Save1->setShortcut(QKeySequence::Save);
  SaveAs1 = File1->addAction("Save &As ...", this, &TForm1::SaveAs1Click);
  ImportRoute1 =
      File1->addAction(QString::fromUtf8("Import Route\u2026"), this, &TForm1::ImportRoute1Click);
  File1->addAction(QString::fromUtf8("Export Route\u2026"), this,
                   [this] { ExportPlanRoute(this, plan); });
  File1->addAction(QString::fromUtf8("Aviation Data Folder\u2026"), this,
                   [this] { ChooseAviationFolder(this); });
  File1->addSeparator();
  PrintSettings1 = File1->addAction("Print Settings", this, &TForm1::PrintSettings1Click);
  Print1 = File1->addAction("Print", this, &TForm1::Print1Click);
  PrintBlankForm1 = File1->addAction("Print Blank Form", this, &TForm1::PrintBlankForm1Click);
  PrintPreview1 = File1->addAction("Print Preview", this, &TForm1::PrintPreview1Click);
  File1->addSeparator();
  Quit1 = File1->addAction("&Quit", this, &TForm1::Quit1Click);
  Quit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  // The actions name the change they undo or redo.
  EditMenu1 = menuBar()->addMenu("Edit");
  Undo1 = document_->UndoStack()->createUndoAction(this, "&Undo");
  Undo1->setShortcut(QKeySequence::Undo);
  Redo1 = document_->UndoStack()->createRedoAction(this, "&Redo");
  Redo1->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  EditMenu1->addAction(Undo1);
  EditMenu1->addAction(Redo1);

  Checkpoints1 = menuBar()->addMenu("Checkpoints");
  Add1 = Checkpoints1->addAction("Add", this, &TForm1::Add1Click);
  Edit1 = Checkpoints1->addAction("Edit", this, &TForm1::Edit1Click);
  Delete1 = Checkpoints1->addAction("Delete", this, &TForm1::Delete1Click);
  Checkpoints1->addSeparator();
  DeleteAll1 = Checkpoints1->addAction("Delete All", this, &TForm1::DeleteAll1Click);
  FillVor1 = Checkpoints1->addAction("Fill VOR Cross-Checks", this, [this] {
    document_->ChangeIf("Fill VOR Cross-Checks", [this](Plan& edited) {
      return FillVorCrossChecksCommand(this, edited) > 0;
    });
  });
  Checkpoints1->addSeparator();
  WindsAloft1 = Checkpoints1->addAction(QString::fromUtf8("Winds Aloft\u2026"), this,
                                        &TForm1::WindsAloft1Click);
  Checkpoints1->addAction("Route Chart", this,
                          [this] { ShowRouteChart(chart_, this, *document_); });
  // The aircraft's book figures change the log as the winds do.
  Performance1 = Checkpoints1->addAction(QString::fromUtf8("Aircraft Performance && Loading\u2026"),
                                         this, &TForm1::Performance1Click);
  WeightBalance1 = Checkpoints1->addAction(QString::fromUtf8("Weight and Balance\u2026"), this,
                                           &TForm1::WeightBalance1Click);
  Checkpoints1->addSeparator();
  NavigationLog1 = Checkpoints1->addAction("Navigation Log", this, &TForm1::NavigationLog1Click);

  Help1 = menuBar()->addMenu("Help");
  UsersManual1 = Help1->addAction("User's Manual", this, &TForm1::UsersManual1Click);
}

void TForm1::FormCreate() {
  std::string dir = QDir::currentPath().toStdString();
  Plan first;
  first.filename = AppendDirSeparator(dir) + "default.flt";
  first.aircraft = AircraftInfo();
  first.aircraft.pilotname = "Pat Example";
  first.aircraft.acnumber = "12345";
  first.aircraft.actype = "C172/U";
  first.aircraft.acgph = 9.0;
  first.aircraft.acfullfuel = 38.0;
  RecallMargins(first.print);
  document_->Replace(std::move(first));
  LabelVersion->setText(QStringLiteral("Halvix Version " HALVIX_VERSION));
  LabelCopyright->setText("\u00a9 The Halvix developers");
}

void TForm1::TimerAutoLoadTimer() {
  TimerAutoLoad->stop();
  if (!PathExists(plan.filename)) return;
  LoadPlanFile(this, *document_, plan.filename);
}

void TForm1::ShowTitle() {
  const QString title = Q(plan.title);
  if (EditTitle->text() != title) EditTitle->setText(title);
}

void TForm1::EditTitleEdited() {
  // The edit's own text: the byte limit may have cut what the signal carried.
  const std::string title = EditTitle->text().toStdString();
  if (title == plan.title) return;
  document_->Change(
      "Title", [&title](Plan& edited) { edited.title = title; }, PlanDocument::kTitleTyping);
}

bool TForm1::FormCloseQuery() {
  return AskToSaveChanges(this, *document_);
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == LabelVersion) {
      LabelVersionClick();
      return true;
    }
    if (watched == Panel2) {
      Panel2Click();
      return true;
    }
    if (watched == Label3) {
      Label3Click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  // Outside a dialog Qt's buttons leave Enter to their window.
  if (PressFocusedButton(this, event)) return;
  QMainWindow::keyPressEvent(event);
}

void TForm1::New1Click() {
  NewPlan(this, *document_);
}

void TForm1::Open1Click() {
  OpenPlan(this, *document_);
}

void TForm1::Save1Click() {
  SavePlanTo(this, *document_, plan.filename);
}

void TForm1::Quit1Click() {
  // Closing asks about unsaved changes.
  close();
}

void TForm1::SaveAs1Click() {
  SavePlanAs(this, *document_);
}

void TForm1::ImportRoute1Click() {
  ImportRouteIntoPlan(this, *document_);
}

void TForm1::Delete1Click() {
  int row = SelectedRow();
  if (row < 0) {
    desktop().MessageBox(this, kSelectFirst, "Error", MessageButtons::Ok);
    return;
  }
  const std::string& name = plan.route[static_cast<std::size_t>(row)].caption;
  if (desktop().MessageBox(this,
                           QString("Are you sure you wish to delete checkpoint %1 ?").arg(Q(name)),
                           "Confirm", MessageButtons::YesNo) != mrYes)
    return;
  // The leg that then ends at the next row follows the positions.
  const VariationSource variation = row > 0 ? DesktopVariation() : VariationSource();
  document_->Change("Delete Checkpoint", [row, &variation](Plan& edited) {
    if (!RemoveCheckpoint(edited, row, variation)) edited.route.erase(edited.route.begin() + row);
  });
}

void TForm1::DeleteAll1Click() {
  if (desktop().MessageBox(this, "Are you SURE you want to DELETE all checkpoints?", "Confirm",
                           MessageButtons::YesNo) != mrYes)
    return;
  if (plan.route.empty()) return;
  document_->Change("Delete All Checkpoints", [](Plan& edited) { edited.route.clear(); });
}

void TForm1::ButtonAddClick() {
  if (plan.route.size() >= static_cast<std::size_t>(kMaxRoute)) {
    desktop().MessageBox(
        this,
        QString("The route already holds %1 checkpoints, the most a plan can hold.").arg(kMaxRoute),
        "Error", MessageButtons::Ok);
    return;
  }
  if (plan.route.empty()) {
    TFormAddFirst* departure = FormAddFirst();
    departure->EditDeparture->clear();
    departure->ResetLookUp();
    departure->FocusEdit(departure->EditDeparture);
    PlaceDialog(this, departure);
    if (desktop().ExecModal(departure) != mrOk) return;
    const std::string name = departure->EditDeparture->text().toStdString();
    const std::optional<GeoPosition> position = departure->position;
    const std::optional<Airport> airport = departure->airport;
    document_->Change("Add Departure", [&](Plan& edited) {
      AddRow(edited, RowBuilder(name).position(position));
      JoinAirfields(edited, airport);
    });
  } else {
    TFormAdd* dialog = FormAdd();
    dialog->ClearEdits();
    dialog->previous_position = plan.route.back().position;
    dialog->FocusEdit(dialog->EditCheckpointName);
    PlaceDialog(this, dialog);
    if (desktop().ExecModal(dialog) != mrOk) return;
    Checkpoint row;
    DialogToRow(dialog->Texts(), row);
    row.position = dialog->position;
    const std::optional<Airport> airport = dialog->airport;
    document_->Change("Add Checkpoint", [&](Plan& edited) {
      edited.route.push_back(std::move(row));
      JoinAirfields(edited, airport);
    });
  }
  ShowRow(document_->Route()->rowCount() - 1);
}

void TForm1::ShowRow(int row) {
  ListViewPlan->scrollTo(document_->Route()->index(row, 0));
}

void TForm1::ButtonEditClick() {
  int row = SelectedRow();
  if (row < 0) {
    desktop().MessageBox(this, kSelectFirst, "Error", MessageButtons::Ok);
    return;
  }
  const auto at = static_cast<std::size_t>(row);
  if (row == 0) {
    TFormAddFirst* departure = FormAddFirst();
    departure->EditDeparture->setText(Q(plan.route[at].caption));
    departure->ResetLookUp();
    for (const Checkpoint& checkpoint : plan.route)
      if (checkpoint.position) departure->route_positions.push_back(*checkpoint.position);
    departure->FocusEdit(departure->EditDeparture);
    PlaceDialog(this, departure);
    if (desktop().ExecModal(departure) != mrOk) return;
    const std::string name = departure->EditDeparture->text().toStdString();
    const std::optional<GeoPosition> position = departure->position;
    const std::optional<Airport> airport = departure->airport;
    document_->Change("Edit Departure", [&](Plan& edited) {
      const Plan before = edited;
      edited.route[at].caption = name;
      if (!position) return;
      edited.route[at].position = position;
      FollowMovedCheckpoint(edited, before, row, DesktopVariation());
      JoinAirfields(edited, airport);
    });
  } else {
    TFormAdd* dialog = FormAdd();
    CheckpointDialogTexts texts;
    RowToDialog(plan.route[at], texts);
    dialog->SetTexts(texts);
    dialog->previous_position = plan.route[at - 1].position;
    dialog->row_position = plan.route[at].position;
    dialog->FocusEdit(dialog->EditCheckpointName);
    PlaceDialog(this, dialog);
    if (desktop().ExecModal(dialog) != mrOk) return;
    const CheckpointDialogTexts typed = dialog->Texts();
    const std::optional<GeoPosition> position = dialog->position;
    const std::optional<Airport> airport = dialog->airport;
    document_->Change("Edit Checkpoint", [&](Plan& edited) {
      const Plan before = edited;
      DialogToRow(typed, edited.route[at]);
      if (!position) return;
      edited.route[at].position = position;
      FollowMovedCheckpoint(edited, before, row, DesktopVariation());
      JoinAirfields(edited, airport);
    });
  }
  ShowRow(row);
}

void TForm1::ButtonAircraftClick() {
  TFormAircraft* dialog = FormAircraft();
  dialog->LoadAircraft(plan.aircraft);
  // The registration is first in tab order: the value most often changed.
  dialog->FocusEdit(dialog->EditNNumber);
  PlaceDialog(this, dialog);
  if (desktop().ExecModal(dialog) != mrOk) return;
  document_->Change("Aircraft", [dialog](Plan& edited) { dialog->StoreAircraft(edited.aircraft); });
}

void TForm1::PrintSettings1Click() {
  TFormPrintSettings* dialog = FormPrintSettings();
  PlaceDialog(this, dialog);
  dialog->LoadSettings(plan.print);
  if (desktop().ExecModal(dialog) != mrOk) return;
  document_->Change("Print Settings",
                    [dialog](Plan& edited) { dialog->StoreSettings(edited.print); });
  RememberMargins(plan.print);
}

void TForm1::ButtonFieldsClick() {
  TFormFields* dialog = FormFields();
  PlaceDialog(this, dialog);
  desktop().ExecModal(dialog);
}

QPrinter& TForm1::Printer() {
  return printing_->Printer();
}

void TForm1::ButtonPrintClick() {
  printing_->Print(this);
}

void TForm1::PrintBlankForm1Click() {
  printing_->PrintBlank(this);
}

void TForm1::PrintPreview1Click() {
  printing_->Preview(this);
}

void TForm1::NavigationLog1Click() {
  ShowNavigationLog(navlog_, this, *document_);
}

void TForm1::Performance1Click() {
  TFormPerformance dialog(this);
  dialog.LoadPerformance(plan.performance, plan.loading);
  dialog.fuel_gal = plan.aircraft.acfullfuel;
  dialog.trip_gal = document_->Log().fuel_plan.trip;
  PlaceDialog(this, &dialog);
  if (desktop().ExecModal(&dialog) != mrOk) return;
  // The dialog checked every value before it closed with Ok.
  document_->Change(QStringLiteral("Aircraft Performance"), [&dialog](Plan& changed) {
    dialog.StorePerformance(changed.performance, changed.loading);
  });
}

void TForm1::WeightBalance1Click() {
  TFormWeightBalance dialog(this);
  dialog.Show(plan.loading, plan.aircraft.acfullfuel - plan.performance.taxigal.value_or(0.0),
              document_->Log().fuel_plan.trip);
  PlaceDialog(this, &dialog);
  desktop().ExecModal(&dialog);
}

void TForm1::WindsAloft1Click() {
  ShowWindsAloft(winds_, this, *document_);
}

void TForm1::ButtonHelpClick() {
  ViewDocument("halvix", StartDirectory, false);
}

void TForm1::UsersManual1Click() {
  ButtonHelpClick();
}

void TForm1::LabelVersionClick() {
  OpenWithDesktop(this, QUrl(kHomePageUrl));
}

void TForm1::Panel2Click() {
  OpenWithDesktop(this, QUrl(kSiblingPageUrl));
}

void TForm1::Label3Click() {
  Panel2Click();
}

TFormAdd* TForm1::FormAdd() {
  return MadeOnFirstUse(add_, this);
}

TFormAddFirst* TForm1::FormAddFirst() {
  return MadeOnFirstUse(add_first_, this);
}

TFormAircraft* TForm1::FormAircraft() {
  return MadeOnFirstUse(aircraft_, this);
}

TFormPrintSettings* TForm1::FormPrintSettings() {
  return MadeOnFirstUse(print_settings_, this);
}

TFormAskContinue* TForm1::FormAskContinue() {
  return MadeOnFirstUse(ask_continue_, this);
}

TFormFields* TForm1::FormFields() {
  return MadeOnFirstUse(fields_, *document_, this);
}

TFormNavLog* TForm1::FormNavLog() const {
  return navlog_;
}

TFormWinds* TForm1::FormWinds() {
  return MadeOnFirstUse(winds_, this);
}

// --- Start-up -----------------------------------------------------------------

namespace {

// The menu bar asks the style for the icon of its overflow button the moment
// it is made, and the file icon that is drawn from makes Qt load every image
// format plugin it has. The fixed-size window's three menus never overflow,
// so start-up does without it.
class FormStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (pixmap == SP_ToolBarHorizontalExtensionButton) return QIcon();
    return QProxyStyle::standardIcon(pixmap, option, widget);
  }
};

}  // namespace

void UseFormFont() {
  if (dynamic_cast<FormStyle*>(QApplication::style()) == nullptr)
    QApplication::setStyle(new FormStyle);
  QApplication::setFont(FormFont());
}
