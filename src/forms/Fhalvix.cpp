#include "forms/Fhalvix.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Faddfld.h"
#include "forms/Fair.h"
#include "forms/Faskc.h"
#include "forms/Ffield.h"
#include "forms/Fnavlog.h"
#include "forms/Formutil.h"
#include "forms/Fprint.h"
#include "forms/Fwinds.h"
#include "forms/Importroute.h"
#include "forms/Viewdoc.h"
#include "halvix_version.h"
#include "plan/fileio.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "print/navlog_qt.h"
#include "print/printjob.h"

TForm1* Form1 = nullptr;

QString PrintFileProposal(const QString& planfile) {
  const QFileInfo plan(planfile.isEmpty() ? QStringLiteral("newplan.flt") : planfile);
  const QString base =
      plan.completeBaseName().isEmpty() ? QStringLiteral("newplan") : plan.completeBaseName();
  return QDir(plan.absolutePath()).filePath(base + ".pdf");
}

const char* const kHomePageUrl = "https://www.halvix.example/";
const char* const kSiblingPageUrl = "https://www.halvix.example/logbook/";

namespace {

const char* const kFilter = "Halvix Flight Plans (*.flt)";
const char* const kSelectFirst = "Please select an item in the list first!";

const ListColumn kRouteColumns[] = {
    {"To: Checkpoint", 95}, {"Dist", 48}, {"Course", 48}, {"Altitude", 48}, {"Wind Dir", 55},
    {"Wind Vel", 55},       {"Temp", 48}, {"TAS", 48},    {"Mag Var", 55},  {"VOR", 120},
};
constexpr int kRouteColumnCount = sizeof(kRouteColumns) / sizeof(kRouteColumns[0]);

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

// --- RouteListModel ----------------------------------------------------------

RouteListModel::RouteListModel(Plan& plan, QObject* parent)
    : QAbstractTableModel(parent), plan_(plan) {}

int RouteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(plan_.route.size());
}

int RouteListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRouteColumnCount;
}

QVariant RouteListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
  const Checkpoint& row = plan_.route[static_cast<std::size_t>(index.row())];
  return Q(index.column() == 0 ? row.caption : row.SubItem(index.column() - 1));
}

QVariant RouteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kRouteColumnCount)
    return QVariant();
  return QString::fromLatin1(kRouteColumns[section].caption);
}

Qt::ItemFlags RouteListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) f |= Qt::ItemIsEditable;
  return f;
}

bool RouteListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount())
    return false;
  // The name must fit the printed log's name field, so a long one is cut here.
  std::string name = CutUtf8(value.toString().toStdString(), kShortTextMax);
  Checkpoint& row = plan_.route[static_cast<std::size_t>(index.row())];
  if (row.caption != name) {
    row.caption = name;
    plan_.modified = 1;
  }
  emit dataChanged(index, index);
  return true;
}

void RouteListModel::Append(Checkpoint row) {
  int at = rowCount();
  beginInsertRows(QModelIndex(), at, at);
  plan_.route.push_back(std::move(row));
  endInsertRows();
}

void RouteListModel::AppendDeparture(const std::string& name) {
  int at = rowCount();
  beginInsertRows(QModelIndex(), at, at);
  AddRow(plan_, name, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
         NOT_ENTERED, NOT_ENTERED);
  endInsertRows();
}

void RouteListModel::Remove(int row) {
  if (row < 0 || row >= rowCount()) return;
  beginRemoveRows(QModelIndex(), row, row);
  plan_.route.erase(plan_.route.begin() + row);
  endRemoveRows();
}

void RouteListModel::Clear() {
  beginResetModel();
  plan_.route.clear();
  endResetModel();
}

void RouteListModel::RowChanged(int row) {
  emit dataChanged(index(row, 0), index(row, kRouteColumnCount - 1));
}

void RouteListModel::Reload() {
  beginResetModel();
  endResetModel();
}

// --- TForm1 --------------------------------------------------------------------

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      route_model_(new RouteListModel(plan, this)),
      print_context_(std::make_unique<PrintContext>()) {
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

  // Every route change passes through the list's model.
  connect(route_model_, &QAbstractItemModel::rowsInserted, this, &TForm1::PlanChanged);
  connect(route_model_, &QAbstractItemModel::rowsRemoved, this, &TForm1::PlanChanged);
  connect(route_model_, &QAbstractItemModel::modelReset, this, &TForm1::PlanChanged);
  connect(route_model_, &QAbstractItemModel::dataChanged, this, &TForm1::PlanChanged);

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
  ListViewPlan->setModel(route_model_);
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
    if (FillVorCrossChecksCommand(this, plan) > 0) plan.modified = 1, PlanReplaced();
  });
  Checkpoints1->addSeparator();
  WindsAloft1 = Checkpoints1->addAction(QString::fromUtf8("Winds Aloft\u2026"), this,
                                        &TForm1::WindsAloft1Click);
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
  LoadFile(plan.filename);
}

bool TForm1::LoadFile(const std::string& path) {
  // Read into a plan of its own: a file that cannot be read leaves the plan
  // that is open as it was, rather than putting defaults under its name.
  Plan loaded;
  const LoadResult result = LoadPlan(loaded, path);
  if (!result.ok) {
    desktop().MessageBox(this, QString("Unable to open %1\n%2").arg(Q(path), Q(result.error)),
                         "Error", MessageButtons::Ok);
    return false;
  }
  plan.title = std::move(loaded.title);
  plan.route = std::move(loaded.route);
  plan.airfields = std::move(loaded.airfields);
  plan.aircraft = loaded.aircraft;
  plan.print = loaded.print;
  plan.reserve = loaded.reserve;
  plan.filename = path;
  plan.modified = 0;
  PlanReplaced();
  const std::string dropped = RowsDroppedWarning(result);
  if (!dropped.empty()) desktop().MessageBox(this, Q(dropped), "Warning", MessageButtons::Ok);
  return true;
}

void TForm1::PlanReplaced() {
  route_model_->Reload();
  EditTitle->setText(Q(plan.title));
  if (FormFields) FormFields->PlanReplaced();
  emit PlanChanged();
}

int TForm1::SelectedRow() const {
  const QModelIndexList rows = ListViewPlan->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm1::EditTitleEdited() {
  // The edit's own text: the byte limit may have cut what the signal carried.
  plan.title = EditTitle->text().toStdString();
  plan.modified = 1;
  emit PlanChanged();
}

bool TForm1::SaveTo(const std::string& path) {
  SaveResult result = SavePlan(plan, path);
  switch (result.status) {
    case SaveStatus::Saved:
      return true;
    case SaveStatus::NothingToSave:
      desktop().MessageBox(this, kNoDataMessage, "Error", MessageButtons::Ok);
      return true;
    case SaveStatus::Failed:
      break;
  }
  plan.modified = 1;
  desktop().MessageBox(this, QString("Unable to save %1\n%2").arg(Q(path), Q(result.error)),
                       "Error", MessageButtons::Ok);
  return false;
}

bool TForm1::FormCloseQuery() {
  if (!plan.modified) return true;
  int answer = desktop().MessageBox(
      this, QString("Do you wish to save changes to %1 ? ").arg(Q(plan.filename)), "Confirm",
      MessageButtons::YesNoCancel);
  if (answer == mrCancel) return false;
  // A plan that could not be written is kept open rather than dropped.
  if (answer == mrYes) return SaveTo(plan.filename);
  return true;
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
  if (!FormCloseQuery()) return;
  route_model_->Clear();
  plan.title.clear();
  EditTitle->clear();
  plan.airfields.clear();
  if (FormFields) FormFields->PlanReplaced();
  plan.filename = "newplan.flt";
  emit PlanChanged();
}

void TForm1::Open1Click() {
  if (!FormCloseQuery()) return;
  QString path = Q(plan.filename);
  if (!desktop().OpenFileName(this, path, kFilter)) return;
  std::string chosen = path.toStdString();
  if (!PathExists(chosen)) {
    std::string candidate = chosen + ".flt";
    if (PathExists(candidate)) chosen = candidate;
  }
  LoadFile(chosen);
}

void TForm1::Save1Click() {
  SaveTo(plan.filename);
}

void TForm1::SaveAs1Click() {
  QString path = Q(plan.filename);
  if (!desktop().SaveFileName(this, path, kFilter)) return;
  plan.filename = path.toStdString();
  if (plan.filename.find('.') == std::string::npos) plan.filename += ".flt";
  SaveTo(plan.filename);
}

void TForm1::ImportRoute1Click() {
  if (!FormCloseQuery()) return;
  if (ImportRouteFile(this, plan, Today())) PlanReplaced();
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
  route_model_->Remove(row);
  plan.modified = 1;
}

void TForm1::DeleteAll1Click() {
  if (desktop().MessageBox(this, "Are you SURE you want to DELETE all checkpoints?", "Confirm",
                           MessageButtons::YesNo) != mrYes)
    return;
  if (plan.route.empty()) return;
  route_model_->Clear();
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
    FormAddFirst->EditDeparture->clear();
    FormAddFirst->ResetLookUp();
    FormAddFirst->FocusEdit(FormAddFirst->EditDeparture);
    PlaceDialog(this, FormAddFirst);
    if (desktop().ExecModal(FormAddFirst) != mrOk) return;
    route_model_->AppendDeparture(FormAddFirst->EditDeparture->text().toStdString());
    plan.route.back().position = FormAddFirst->position;
  } else {
    FormAdd->ClearEdits();
    FormAdd->previous_position = plan.route.back().position;
    FormAdd->FocusEdit(FormAdd->EditCheckpointName);
    PlaceDialog(this, FormAdd);
    if (desktop().ExecModal(FormAdd) != mrOk) return;
    Checkpoint row;
    DialogToRow(FormAdd->Texts(), row);
    row.position = FormAdd->position;
    route_model_->Append(std::move(row));
  }
  ShowRow(route_model_->rowCount() - 1);
  plan.modified = 1;
}

void TForm1::ShowRow(int row) {
  ListViewPlan->scrollTo(route_model_->index(row, 0));
}

void TForm1::ButtonEditClick() {
  int row = SelectedRow();
  if (row < 0) {
    desktop().MessageBox(this, kSelectFirst, "Error", MessageButtons::Ok);
    return;
  }
  Checkpoint& checkpoint = plan.route[static_cast<std::size_t>(row)];
  if (row == 0) {
    FormAddFirst->EditDeparture->setText(Q(checkpoint.caption));
    FormAddFirst->ResetLookUp();
    FormAddFirst->FocusEdit(FormAddFirst->EditDeparture);
    PlaceDialog(this, FormAddFirst);
    if (desktop().ExecModal(FormAddFirst) != mrOk) return;
    checkpoint.caption = FormAddFirst->EditDeparture->text().toStdString();
    if (FormAddFirst->position) checkpoint.position = FormAddFirst->position;
  } else {
    CheckpointDialogTexts texts;
    RowToDialog(checkpoint, texts);
    FormAdd->SetTexts(texts);
    FormAdd->previous_position = plan.route[static_cast<std::size_t>(row) - 1].position;
    FormAdd->FocusEdit(FormAdd->EditCheckpointName);
    PlaceDialog(this, FormAdd);
    if (desktop().ExecModal(FormAdd) != mrOk) return;
    DialogToRow(FormAdd->Texts(), checkpoint);
    if (FormAdd->position) checkpoint.position = FormAdd->position;
  }
  route_model_->RowChanged(row);
  ShowRow(row);
  plan.modified = 1;
}

void TForm1::ButtonAircraftClick() {
  FormAircraft->LoadAircraft(plan.aircraft);
  // The registration is first in tab order: the value most often changed.
  FormAircraft->FocusEdit(FormAircraft->EditNNumber);
  PlaceDialog(this, FormAircraft);
  if (desktop().ExecModal(FormAircraft) != mrOk) return;
  FormAircraft->StoreAircraft(plan.aircraft);
  plan.modified = 1;
  emit PlanChanged();
}

void TForm1::PrintSettings1Click() {
  PlaceDialog(this, FormPrintSettings);
  FormPrintSettings->LoadSettings(plan.print);
  if (desktop().ExecModal(FormPrintSettings) != mrOk) return;
  FormPrintSettings->StoreSettings(plan.print);
  plan.modified = 1;
}

void TForm1::ButtonFieldsClick() {
  PlaceDialog(this, FormFields);
  desktop().ExecModal(FormFields);
}

bool TForm1::CheckAndCompute() {
  bool go_on = CheckRoute(plan, this);
  // The prompt may have had row 1 edited in the checkpoint dialog; a reset of
  // the whole list would lose the user's selection.
  if (plan.route.size() >= 2) route_model_->RowChanged(1);
  if (!go_on) return false;
  ComputeLegs(plan);
  return true;
}

QPrinter& TForm1::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageOrientation(QPageLayout::Landscape);
  }
  return *printer_;
}

bool TForm1::RunPrintDialog() {
  QPrinter& printer = Printer();
  const QString proposal = PrintFileProposal(QString::fromStdString(plan.filename));
  printer.setDocName(QFileInfo(proposal).completeBaseName());
  // The dialog offers the printer's output file when printing to a file.
  // Setting it switches the printer to PDF output, so a chosen printer is
  // selected again afterwards; the dialog clears the file when it prints to
  // a printer.
  const bool to_file = printer.outputFormat() == QPrinter::PdfFormat;
  const QString device = printer.printerName();
  printer.setOutputFileName(proposal);
  if (!to_file && !device.isEmpty()) printer.setPrinterName(device);
  const bool accepted = desktop().PrintDialog(this, printer);
  if (!accepted && !to_file && printer.outputFormat() == QPrinter::NativeFormat) {
    printer.setOutputFileName(QString());  // never print to the proposal unasked
  }
  if (accepted && printer.outputFormat() == QPrinter::PdfFormat &&
      !printer.outputFileName().isEmpty()) {
    // The printer writes the file itself: a device, a directory or a
    // read-only file must be refused before it starts.
    const std::string path = printer.outputFileName().toStdString();
    std::string target;
    std::string error;
    if (!ResolveWriteTarget(path, target, error)) {
      desktop().MessageBox(this, QString("Unable to print to %1\n%2").arg(Q(path), Q(error)),
                           "Error", MessageButtons::Ok);
      return false;
    }
  }
  return accepted;
}

void TForm1::ButtonPrintClick() {
  if (!CheckAndCompute()) return;
  if (!RunPrintDialog()) return;
  PrintFilledLog(Printer(), plan, *print_context_);
}

void TForm1::PrintBlankForm1Click() {
  if (!RunPrintDialog()) return;
  PrintBlankForm(Printer(), plan, *print_context_);
}

void TForm1::PrintPreview1Click() {
  if (!CheckAndCompute()) return;
  desktop().PrintPreview(this, Printer(), [this](QPrinter* target) {
    PrintFilledLog(*target, plan, *print_context_);
  });
}

void TForm1::NavigationLog1Click() {
  ShowNavigationLog(this);
}

void TForm1::WindsAloft1Click() {
  if (ShowWindsAloft(this, plan)) route_model_->Reload();
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
  FormAdd = new TFormAdd(Form1);
  FormAircraft = new TFormAircraft(Form1);
  FormAddFirst = new TFormAddFirst(Form1);
  FormPrintSettings = new TFormPrintSettings(Form1);
  FormAskContinue = new TFormAskContinue(Form1);
  FormFields = new TFormFields(Form1);
  FormAddField = new TFormAddField(Form1);
  FormFields->SetPlan(&Form1->plan);
}

void DestroyForms() {
  delete Form1;  // the dialogs are its children
  Form1 = nullptr;
  FormAdd = nullptr;
  FormAircraft = nullptr;
  FormAddFirst = nullptr;
  FormPrintSettings = nullptr;
  FormAskContinue = nullptr;
  FormFields = nullptr;
  FormAddField = nullptr;
  FormNavLog = nullptr;
  FormWinds = nullptr;
}
