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
#include <QUrl>

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
#include "forms/Fwinds.h"
#include "forms/PrintCommands.h"
#include "forms/Viewdoc.h"
#include "halvix_version.h"
#include "plan/planfile.h"

TForm1* Form1 = nullptr;

const char* const kHomePageUrl = "https://www.halvix.example/";
const char* const kSiblingPageUrl = "https://www.halvix.example/logbook/";

namespace {

const char* const kSelectFirst = "Please select an item in the list first!";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

// --- TForm1 --------------------------------------------------------------------

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      document_(new PlanDocument(this)),
      plan(document_->plan()),
      printing_(std::make_unique<PlanPrinting>(*document_)) {
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

  connect(document_, &PlanDocument::Replaced, this, &TForm1::PlanReplaced);

  plan.modified = 0;
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
  connect(button_chart, &QPushButton::clicked, this, [this] { ShowRouteChart(this, *document_); });

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
  SaveAs1 = File1->addAction("Save &As ...", this, &TForm1::SaveAs1Click);
  ImportRoute1 =
      File1->addAction(QString::fromUtf8("Import Route\u2026"), this, &TForm1::ImportRoute1Click);
  File1->addAction(QString::fromUtf8("Aviation Data Folder\u2026"), this,
                   [this] { ChooseAviationFolder(this); });
  File1->addSeparator();
  PrintSettings1 = File1->addAction("Print Settings", this, &TForm1::PrintSettings1Click);
  Print1 = File1->addAction("Print", this, &TForm1::Print1Click);
  PrintBlankForm1 = File1->addAction("Print Blank Form", this, &TForm1::PrintBlankForm1Click);
  PrintPreview1 = File1->addAction("Print Preview", this, &TForm1::PrintPreview1Click);

  Checkpoints1 = menuBar()->addMenu("Checkpoints");
  Add1 = Checkpoints1->addAction("Add", this, &TForm1::Add1Click);
  Edit1 = Checkpoints1->addAction("Edit", this, &TForm1::Edit1Click);
  Delete1 = Checkpoints1->addAction("Delete", this, &TForm1::Delete1Click);
  Checkpoints1->addSeparator();
  DeleteAll1 = Checkpoints1->addAction("Delete All", this, &TForm1::DeleteAll1Click);
  Checkpoints1->addAction("Fill VOR Cross-Checks", this, [this] {
    if (FillVorCrossChecksCommand(this, plan) > 0) document_->RouteEdited();
  });
  Checkpoints1->addSeparator();
  WindsAloft1 = Checkpoints1->addAction(QString::fromUtf8("Winds Aloft\u2026"), this,
                                        &TForm1::WindsAloft1Click);
  Checkpoints1->addAction("Route Chart", this, [this] { ShowRouteChart(this, *document_); });
  Checkpoints1->addSeparator();
  NavigationLog1 = Checkpoints1->addAction("Navigation Log", this, &TForm1::NavigationLog1Click);

  Help1 = menuBar()->addMenu("Help");
  UsersManual1 = Help1->addAction("User's Manual", this, &TForm1::UsersManual1Click);
}

void TForm1::FormCreate() {
  std::string dir = QDir::currentPath().toStdString();
  plan.filename = AppendDirSeparator(dir) + "default.flt";
  plan.aircraft = AircraftInfo();
  plan.aircraft.pilotname = "Pat Example";
  plan.aircraft.acnumber = "12345";
  plan.aircraft.actype = "C172/U";
  plan.aircraft.acgph = 9.0;
  plan.aircraft.acfullfuel = 38.0;
  LabelVersion->setText(QStringLiteral("Halvix Version " HALVIX_VERSION));
  LabelCopyright->setText("\u00a9 The Halvix developers");
}

void TForm1::TimerAutoLoadTimer() {
  TimerAutoLoad->stop();
  if (!PathExists(plan.filename)) return;
  LoadPlanFile(this, *document_, plan.filename);
}

void TForm1::PlanReplaced() {
  EditTitle->setText(Q(plan.title));
}

void TForm1::EditTitleEdited() {
  // The edit's own text: the byte limit may have cut what the signal carried.
  plan.title = EditTitle->text().toStdString();
  document_->Edited();
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
  document_->Route()->Remove(row);
  plan.modified = 1;
}

void TForm1::DeleteAll1Click() {
  if (desktop().MessageBox(this, "Are you SURE you want to DELETE all checkpoints?", "Confirm",
                           MessageButtons::YesNo) != mrYes)
    return;
  if (plan.route.empty()) return;
  document_->Route()->Clear();
  plan.modified = 1;
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
    TFormAddFirst* departure = MadeOnFirstUse(FormAddFirst, this);
    departure->EditDeparture->clear();
    departure->ResetLookUp();
    departure->FocusEdit(departure->EditDeparture);
    PlaceDialog(this, departure);
    if (desktop().ExecModal(departure) != mrOk) return;
    document_->Route()->AppendDeparture(departure->EditDeparture->text().toStdString());
    plan.route.back().position = departure->position;
  } else {
    TFormAdd* dialog = MadeOnFirstUse(FormAdd, this);
    dialog->ClearEdits();
    dialog->previous_position = plan.route.back().position;
    dialog->FocusEdit(dialog->EditCheckpointName);
    PlaceDialog(this, dialog);
    if (desktop().ExecModal(dialog) != mrOk) return;
    Checkpoint row;
    DialogToRow(dialog->Texts(), row);
    row.position = dialog->position;
    document_->Route()->Append(std::move(row));
  }
  ShowRow(document_->Route()->rowCount() - 1);
  plan.modified = 1;
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
  Checkpoint& checkpoint = plan.route[static_cast<std::size_t>(row)];
  if (row == 0) {
    TFormAddFirst* departure = MadeOnFirstUse(FormAddFirst, this);
    departure->EditDeparture->setText(Q(checkpoint.caption));
    departure->ResetLookUp();
    departure->FocusEdit(departure->EditDeparture);
    PlaceDialog(this, departure);
    if (desktop().ExecModal(departure) != mrOk) return;
    checkpoint.caption = departure->EditDeparture->text().toStdString();
    if (departure->position) checkpoint.position = departure->position;
  } else {
    TFormAdd* dialog = MadeOnFirstUse(FormAdd, this);
    CheckpointDialogTexts texts;
    RowToDialog(checkpoint, texts);
    dialog->SetTexts(texts);
    dialog->previous_position = plan.route[static_cast<std::size_t>(row) - 1].position;
    dialog->FocusEdit(dialog->EditCheckpointName);
    PlaceDialog(this, dialog);
    if (desktop().ExecModal(dialog) != mrOk) return;
    DialogToRow(dialog->Texts(), checkpoint);
    if (dialog->position) checkpoint.position = dialog->position;
  }
  document_->Route()->RowChanged(row);
  ShowRow(row);
  plan.modified = 1;
}

void TForm1::ButtonAircraftClick() {
  TFormAircraft* dialog = MadeOnFirstUse(FormAircraft, this);
  dialog->LoadAircraft(plan.aircraft);
  // The registration is first in tab order: the value most often changed.
  dialog->FocusEdit(dialog->EditNNumber);
  PlaceDialog(this, dialog);
  if (desktop().ExecModal(dialog) != mrOk) return;
  dialog->StoreAircraft(plan.aircraft);
  document_->Edited();
}

void TForm1::PrintSettings1Click() {
  TFormPrintSettings* dialog = MadeOnFirstUse(FormPrintSettings, this);
  PlaceDialog(this, dialog);
  dialog->LoadSettings(plan.print);
  if (desktop().ExecModal(dialog) != mrOk) return;
  dialog->StoreSettings(plan.print);
  plan.modified = 1;
}

void TForm1::ButtonFieldsClick() {
  TFormFields* dialog = FieldsDialog(this, *document_);
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
  ShowNavigationLog(this, *document_);
}

void TForm1::WindsAloft1Click() {
  if (ShowWindsAloft(this, plan)) document_->RouteEdited();
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

void CreateForms() {
  Form1 = new TForm1;
}

void DestroyForms() {
  delete Form1;  // the windows made on first use are its children and go with it
  Form1 = nullptr;
  FormWinds = nullptr;  // made on first use as a child of the main window
}
