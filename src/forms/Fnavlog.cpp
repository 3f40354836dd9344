#include "forms/Fnavlog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <QTableView>
#include <QTimeZone>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "forms/Desktop.h"
#include "forms/PlanDocument.h"
#include "geo/daylight.h"
#include "plan/check.h"
#include "plan/columns.h"
#include "plan/fuel.h"
#include "plan/report.h"

const QColor NavLogModel::kBelowReserve(255, 204, 92);
const QColor NavLogModel::kExhausted(255, 128, 118);

namespace {

// The log's columns the window shows, and where each of them is.
struct WindowColumns {
  std::vector<LogColumn> shown;
  std::array<int, kLogColumnCount> index;
};
const WindowColumns& Shown() {
  static const WindowColumns columns = [] {
    WindowColumns made;
    made.index.fill(-1);
    for (const LogColumnInfo& info : LogColumns()) {
      if (info.window.width <= 0) continue;
      made.index[static_cast<std::size_t>(info.column)] = static_cast<int>(made.shown.size());
      made.shown.push_back(info.column);
    }
    return made;
  }();
  return columns;
}

const LogColumnInfo& InfoAt(int column) {
  return ColumnInfo(Shown().shown[static_cast<std::size_t>(column)]);
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Whether some leg's fuel shows other than its own figure rounded, to keep
// the legs adding up to the total.
bool FuelApportioned(const NavLog& log) {
  for (int32_t k = 0; k < log.LegCount(); ++k) {
    const LogColumn fuel = LogColumn::FuelUsed;
    if (LogCellText(ShownLeg(log, k), fuel, LogForm::Shown) !=
        LogCellText(log.legs[static_cast<std::size_t>(k)], fuel, LogForm::Shown))
      return true;
  }
  return false;
}

// The first leg lacks the value the pre-print check asks for under `info`.
bool Lacks(const LegResult& leg, const LogColumnInfo& info) {
  return info.check != MissingItem::None && info.value.whole != nullptr &&
         leg.*info.value.whole == NOT_ENTERED;
}

}  // namespace

// --- NavLogModel ---------------------------------------------------------------

int NavLogModel::ColumnCount() {
  return static_cast<int>(Shown().shown.size());
}

LogColumn NavLogModel::ColumnAt(int column) {
  return Shown().shown[static_cast<std::size_t>(column)];
}

int NavLogModel::ColumnOf(LogColumn column) {
  return Shown().index[static_cast<std::size_t>(column)];
}

NavLogModel::NavLogModel(PlanDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {}

const Plan& NavLogModel::PlanNow() const {
  return document_.plan();
}

const NavLog& NavLogModel::Log() const {
  return document_.Log();
}

int NavLogModel::RowsWanted() const {
  return PlanNow().route.empty() ? 1 : Log().LegCount() + 2;
}

void NavLogModel::Recompute() {
  // Rows come and go just above the Total row; everything else is repainted
  // in place, which keeps the view's scroll position and selection.
  const int wanted = RowsWanted();
  if (wanted > rows_) {
    beginInsertRows(QModelIndex(), rows_ - 1, wanted - 2);
    rows_ = wanted;
    endInsertRows();
  } else if (wanted < rows_) {
    beginRemoveRows(QModelIndex(), wanted - 1, rows_ - 2);
    rows_ = wanted;
    endRemoveRows();
  }
  emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount() - 1));
}

int NavLogModel::UnsolvedLegs() const {
  return Log().unsolved;
}

int NavLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int NavLogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount();
}

QString NavLogModel::CellText(int row, int column) const {
  const LogColumn shown = ColumnAt(column);
  if (row == TotalRow()) {
    return shown == LogColumn::Name ? QStringLiteral("Total") : Q(ShownTotalText(Log(), shown));
  }
  if (row == 0) return shown == LogColumn::Name ? Q(Log().departure) : QString();
  const int32_t k = row - 1;
  if (shown == LogColumn::FuelUsed)
    return Q(LogCellText(ShownLeg(Log(), k), shown, LogForm::Shown));
  return Q(LogCellText(Log().legs[static_cast<std::size_t>(k)], shown, LogForm::Shown));
}

std::string NavLogModel::Csv() const {
  std::vector<std::string> fields;
  for (LogColumn column : Shown().shown) fields.push_back(ColumnInfo(column).caption);
  std::string csv = CsvLine(fields);
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < ColumnCount(); ++column)
      fields[static_cast<std::size_t>(column)] = CellText(row, column).toStdString();
    csv += CsvLine(fields);
  }
  return csv;
}

bool NavLogModel::NotANumberAt(int row, int column) const {
  const int number = RowNumberIndex(InfoAt(column).input);
  if (row <= 0 || row >= TotalRow() || number < 0) return false;
  return (Log().legs[static_cast<std::size_t>(row - 1)].not_a_number >> number) & 1u;
}

bool NavLogModel::MissingAt(int row, int column) const {
  if (row <= 0 || row >= TotalRow()) return false;
  const LogRow& leg = Log().legs[static_cast<std::size_t>(row - 1)];
  // The first checkpoint's row, which a top of climb may follow.
  return leg.route_row == 1 && Lacks(leg, InfoAt(column));
}

std::vector<int> NavLogModel::RowsWithMarks() const {
  std::vector<int> rows;
  const NavLog& log = Log();
  for (int32_t k = 0; k < log.LegCount(); ++k) {
    const LogRow& leg = log.legs[static_cast<std::size_t>(k)];
    if (leg.status.problem != LegProblem::None || leg.not_a_number != 0 || leg.route_row == 1 ||
        leg.positions_give.Any())
      rows.push_back(k + 1);
  }
  if (UnsolvedLegs() > 0) rows.push_back(TotalRow());
  return rows;
}

bool NavLogModel::Marked(int row, int column) const {
  if (row == TotalRow()) return InfoAt(column).solved_only && UnsolvedLegs() > 0;
  if (row == 0) return false;
  const std::size_t k = static_cast<std::size_t>(row - 1);
  if (ColumnAt(column) == LogColumn::Name) return Log().legs[k].status.problem != LegProblem::None;
  return NotANumberAt(row, column) || MissingAt(row, column) ||
         !TypedOverText(Log().legs[k].positions_give, InfoAt(column).input).empty();
}

QString NavLogModel::ToolTip(int row, int column) const {
  QStringList lines;
  if (row == TotalRow()) {
    const int unsolved = UnsolvedLegs();
    if (unsolved > 0 && InfoAt(column).solved_only) {
      lines << QString("Leaves out the time and fuel of %1 %2 that could not be solved")
                   .arg(unsolved)
                   .arg(unsolved == 1 ? "leg" : "legs");
    }
    if (ColumnAt(column) == LogColumn::FuelUsed && FuelApportioned(Log())) {
      lines << QString(
          "The exact total to the tenth; each leg's fuel is rounded so that the legs add up to "
          "it");
    }
  } else if (row > 0) {
    const std::size_t k = static_cast<std::size_t>(row - 1);
    const LogRow& l = Log().legs[k];
    if (MissingAt(row, column))
      lines << QString("Missing Information: %1").arg(MissingItemName(InfoAt(column).check));
    if (NotANumberAt(row, column))
      lines << Q(NotANumberText(PlanNow(), {l.route_row, RowNumberIndex(InfoAt(column).input)}));
    const std::string typed_over = TypedOverText(l.positions_give, InfoAt(column).input);
    if (!typed_over.empty()) lines << Q(typed_over);
    const std::string problem = LegProblemText(l.status);
    if (!problem.empty()) lines << Q(problem);
    if (!l.fuel_warning.empty()) lines << Q(l.fuel_warning);
  }
  return lines.isEmpty() ? QString() : lines.join('\n');
}

QColor NavLogModel::FuelColour(int row) const {
  if (row <= 0 || row >= TotalRow()) return QColor();
  switch (Log().legs[static_cast<std::size_t>(row - 1)].fuel) {
    case FuelState::BelowReserve:
      return kBelowReserve;
    case FuelState::Exhausted:
      return kExhausted;
    default:
      return QColor();
  }
}

QVariant NavLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= ColumnCount()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return CellText(row, column);
    case Qt::ToolTipRole: {
      QString tip = ToolTip(row, column);
      return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::DecorationRole:
      if (!Marked(row, column)) return {};
      if (mark_.isNull()) mark_ = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
      return mark_;
    case Qt::BackgroundRole: {
      const QColor colour = FuelColour(row);
      return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole:
      // Dark text on the warning colours whatever the desktop's theme.
      return FuelColour(row).isValid() ? QVariant(QColor(Qt::black)) : QVariant();
    case Qt::FontRole:
      if (row == TotalRow()) {
        QFont bold = QApplication::font();
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::TextAlignmentRole:
      return int((InfoAt(column).window.left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant NavLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= ColumnCount())
    return {};
  return QString::fromLatin1(InfoAt(section).caption);
}

// --- TFormNavLog -----------------------------------------------------------------

namespace {

// Where the flight lands, when the route says.
std::optional<GeoPosition> ArrivalPlace(const Plan& plan) {
  for (auto row = plan.route.rbegin(); row != plan.route.rend(); ++row) {
    if (row->position) return row->position;
  }
  if (plan.airfields.empty()) return std::nullopt;
  return AirfieldPositionOnRoute(plan, plan.airfields.back());
}

}  // namespace

TFormNavLog::TFormNavLog(PlanDocument& document, QWidget* owner)
    : QWidget(owner, Qt::Window), document_(document), model_(new NavLogModel(document, this)) {
  setObjectName("FormNavLog");
  setWindowTitle("Navigation Log");

  LabelTitle = new QLabel(this);
  LabelReserve = new QLabel("Fuel reserve:", this);
  SpinReserve = new QSpinBox(this);
  SpinReserve->setObjectName("SpinReserve");
  SpinReserve->setRange(0, kMaxReserve);
  SpinReserve->setSuffix(" min");
  SpinReserve->setToolTip(
      "Fuel to keep at every checkpoint, in minutes of flight: 30 by day, "
      "45 at night");
  LabelReserve->setBuddy(SpinReserve);
  LabelReserveFuel = new QLabel(this);
  CheckDeparture = new QCheckBox("Departure:", this);
  CheckDeparture->setObjectName("CheckDeparture");
  EditDeparture = new QDateTimeEdit(this);
  EditDeparture->setObjectName("EditDeparture");
  EditDeparture->setTimeSpec(Qt::UTC);
  EditDeparture->setDisplayFormat("yyyy-MM-dd HH:mm'Z'");
  EditDeparture->setCalendarPopup(true);
  EditDeparture->setToolTip(
      "Date and time of departure, UTC: the log times the arrival against sunset and "
      "the end of civil twilight");

  LabelCheck = new QLabel(this);
  LabelCheck->setObjectName("LabelCheck");
  QFont bold = LabelCheck->font();
  bold.setBold(true);
  LabelCheck->setFont(bold);
  QPalette palette = LabelCheck->palette();
  palette.setColor(QPalette::WindowText, QColor(160, 60, 0));
  LabelCheck->setPalette(palette);

  GridLog = new QTableView(this);
  GridLog->setObjectName("GridLog");
  GridLog->setModel(model_);
  GridLog->setSelectionMode(QAbstractItemView::SingleSelection);
  GridLog->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridLog->setWordWrap(false);
  GridLog->verticalHeader()->hide();
  GridLog->verticalHeader()->setDefaultSectionSize(GridLog->fontMetrics().height() + 6);
  GridLog->horizontalHeader()->setStretchLastSection(false);
  for (int c = 0; c < NavLogModel::ColumnCount(); ++c)
    GridLog->setColumnWidth(c, InfoAt(c).window.width);

  LabelSummary = new QLabel(this);
  LabelSummary->setObjectName("LabelSummary");
  LabelSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LabelFuelPlan = new QLabel(this);
  LabelFuelPlan->setObjectName("LabelFuelPlan");
  LabelFuelPlan->setWordWrap(true);
  LabelFuelPlan->setTextFormat(Qt::RichText);
  LabelFuelPlan->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LabelFuelPlan->hide();

  Copy1 = new QAction("Copy as CSV", this);
  Copy1->setShortcut(QKeySequence::Copy);
  Copy1->setShortcutContext(Qt::WindowShortcut);
  connect(Copy1, &QAction::triggered, this, &TFormNavLog::Copy1Click);
  addAction(Copy1);
  GridLog->addAction(Copy1);
  GridLog->setContextMenuPolicy(Qt::ActionsContextMenu);
  // The view copies just its current cell on Ctrl+C; the pilot wants the log.
  GridLog->installEventFilter(this);

  auto* top = new QHBoxLayout;
  top->addWidget(LabelTitle, 1);
  top->addWidget(LabelReserve);
  top->addWidget(SpinReserve);
  top->addWidget(LabelReserveFuel);
  top->addSpacing(12);
  top->addWidget(CheckDeparture);
  top->addWidget(EditDeparture);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(LabelCheck);
  layout->addWidget(GridLog, 1);
  layout->addWidget(LabelSummary);
  layout->addWidget(LabelFuelPlan);

  connect(SpinReserve, qOverload<int>(&QSpinBox::valueChanged), this,
          &TFormNavLog::SpinReserveChanged);
  connect(CheckDeparture, &QCheckBox::toggled, this, &TFormNavLog::DepartureChanged);
  connect(EditDeparture, &QDateTimeEdit::dateTimeChanged, this, &TFormNavLog::DepartureChanged);
  connect(&document_, &PlanDocument::Changed, this, &TFormNavLog::PlanChanged);
  connect(&document_, &PlanDocument::SelectionChanged, this,
          &TFormNavLog::DocumentSelectionChanged);
  connect(GridLog->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TFormNavLog::OwnSelectionChanged);

  resize(1110, 440);
  PlanChanged();
}

bool TFormNavLog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GridLog &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    if (event->type() == QEvent::KeyPress) Copy1Click();
    event->accept();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TFormNavLog::PlanChanged() {
  const Plan& plan = document_.plan();
  const NavLog& log = document_.Log();
  model_->Recompute();
  WidenMarkedColumns();

  LabelTitle->setText(QString("%1   %2 %3, %4 gal, %5 gph")
                          .arg(Q(plan.title), Q(plan.aircraft.acnumber), Q(plan.aircraft.actype),
                               Q(FormatReal(plan.aircraft.acfullfuel, false)),
                               Q(FormatReal(plan.aircraft.acgph, false))));
  {
    const QSignalBlocker quiet(SpinReserve);  // showing the plan's value is no edit
    SpinReserve->setValue(plan.reserve);
  }
  LabelReserveFuel->setText(QString("= %1 gal").arg(Q(ReserveFuelText(plan))));
  const std::optional<Departure> departure = ParseDeparture(plan.departure);
  {
    const QSignalBlocker quiet_check(CheckDeparture);
    const QSignalBlocker quiet_edit(EditDeparture);
    CheckDeparture->setChecked(departure.has_value());
    EditDeparture->setEnabled(departure.has_value());
    if (departure) {
      EditDeparture->setDateTime(
          QDateTime(QDate(departure->date.year, departure->date.month, departure->date.day),
                    QTime(departure->minutes / 60, departure->minutes % 60), QTimeZone::utc()));
    } else if (!EditDeparture->dateTime().isValid() ||
               EditDeparture->dateTime().date().year() < 2000) {
      EditDeparture->setDateTime(QDateTime::currentDateTimeUtc());
    }
  }

  QString check;
  if (log.too_few) {
    check = kTooFewCheckpoints;
  } else if (MissingItem item = log.missing; item != MissingItem::None) {
    check = QString(
                "Missing Information: %1 on the first checkpoint; wind effects cannot be "
                "computed until it is entered")
                .arg(MissingItemName(item));
  }
  if (const NotANumber& found = log.not_a_number; found.row >= 0) {
    if (!check.isEmpty()) check += '\n';
    check += Q(NotANumberText(plan, found));
  }
  for (const std::string& warning : log.warnings) {
    if (!check.isEmpty()) check += '\n';
    check += Q(warning);
  }
  if (departure) {
    Plan timed = plan;
    const ArrivalCheck arrival = CheckArrival(timed, *departure, ArrivalPlace(timed));
    if (!arrival.warning.empty()) {
      if (!check.isEmpty()) check += '\n';
      check += QString("%1 (ETA %2): %3")
                   .arg(Q(plan.route.back().caption), Q(FormatUtcMinutes(*arrival.eta)),
                        Q(arrival.warning));
      if (arrival.night) check += QString("; the reserve is %1 minutes").arg(timed.reserve);
    }
  }
  LabelCheck->setText(check);
  LabelCheck->setVisible(!check.isEmpty());

  QString summary = Q(RouteSummary(plan, log.totals));
  const int unsolved = model_->UnsolvedLegs();
  if (unsolved > 0) {
    summary += QString("  (time and fuel leave out %1 %2 that could not be solved)")
                   .arg(unsolved)
                   .arg(unsolved == 1 ? "leg" : "legs");
  }
  LabelSummary->setText(summary);
  ShowFuelPlan(plan, log);
  DocumentSelectionChanged();
}

void TFormNavLog::ShowFuelPlan(const Plan& plan, const NavLog& log) {
  const bool shown = plan.performance.IsSet() || plan.loading.IsSet();
  LabelFuelPlan->setVisible(shown);
  if (!shown) return;
  const char* const labels[][2] = {
      {"taxi", "taxi"},           {"climb", "climb"},      {"cruise", "cruise"},
      {"descent", "descent"},     {"trip", "trip"},        {"contingency", "contingency"},
      {"alternate", "alternate"}, {"reserve", "reserve"},  {"extra", "extra"},
      {"required", "required"},   {"onboard", "on board"}, {"leftover", "left over"}};
  QStringList items;
  for (const auto& label : labels) {
    const FuelPlanLine* line = log.fuel_plan.Line(label[0]);
    if (!line) continue;
    QString item = QString("%1 %2").arg(label[1], Q(FormatReal(line->gallons, false)));
    if (line->minutes != 0) item += QString(" (%1 min)").arg(line->minutes);
    if (std::string(label[0]) == "required" && log.fuel_plan.short_of_fuel)
      item = "<b style=\"color:#c00000\">" + item + "</b>";
    items << item;
  }
  QString text = "Fuel plan, gal: " + items.join(", ");
  QStringList warnings;
  for (const std::string& w : log.fuel_plan.warnings) warnings << Q(w).toHtmlEscaped();
  if (plan.loading.IsSet()) {
    const WeightBalance wb = PlanWeightBalance(plan, log.fuel_plan);
    text += QString("<br>Takeoff %1 lb, CG %2 in; landing %3 lb, CG %4 in")
                .arg(FormatFixed(wb.takeoff.lb, 0), FormatFixed(wb.takeoff.cg, 2),
                     FormatFixed(wb.landing.lb, 0), FormatFixed(wb.landing.cg, 2));
    for (const std::string& w : wb.warnings) warnings << Q(w).toHtmlEscaped();
  }
  if (!warnings.isEmpty())
    text += "<br><span style=\"color:#c00000\">" + warnings.join("<br>") + "</span>";
  LabelFuelPlan->setText(text);
}

void TFormNavLog::WidenMarkedColumns() {
  // A mark takes room from its cell's text; the column grows to hold both,
  // so a flagged total stays readable with the mark beside it. Most edits
  // change neither the marks nor their texts, and measuring is not free.
  std::vector<std::tuple<int, int, QString>> marked;
  for (int r : model_->RowsWithMarks()) {
    for (int c = 0; c < NavLogModel::ColumnCount(); ++c) {
      if (model_->Marked(r, c)) marked.emplace_back(r, c, model_->CellText(r, c));
    }
  }
  if (marked == widened_for_) return;
  widened_for_ = std::move(marked);
  for (const auto& [r, c, text] : widened_for_) {
    // The hint leaves no room for the cell's margins beside the mark.
    const int need = GridLog->sizeHintForIndex(model_->index(r, c)).width() +
                     GridLog->fontMetrics().averageCharWidth();
    if (need > GridLog->columnWidth(c)) GridLog->setColumnWidth(c, need);
  }
}

void TFormNavLog::Copy1Click() {
  QApplication::clipboard()->setText(Q(model_->Csv()));
}

void TFormNavLog::SpinReserveChanged(int minutes) {
  if (document_.plan().reserve == minutes) return;
  // The steps of one spin come back in one undo.
  document_.Change(
      QStringLiteral("Reserve"), [minutes](Plan& plan) { plan.reserve = minutes; },
      PlanDocument::kReserveSteps);
}

void TFormNavLog::DepartureChanged() {
  EditDeparture->setEnabled(CheckDeparture->isChecked());
  std::string departure;
  if (CheckDeparture->isChecked()) {
    const QDateTime utc = EditDeparture->dateTime().toUTC();
    departure = FormatDeparture(
        Departure{CivilDate{utc.date().year(), utc.date().month(), utc.date().day()},
                  utc.time().hour() * 60 + utc.time().minute()});
  }
  if (departure == document_.plan().departure) return;
  document_.Change(QStringLiteral("Departure"), [&departure](Plan& plan) {
    plan.departure = departure;
    // A landing after civil twilight takes the night reserve, unless the
    // pilot keeps more.
    if (const std::optional<Departure> parsed = ParseDeparture(departure)) {
      Plan timed = plan;
      if (CheckArrival(timed, *parsed, ArrivalPlace(timed)).night) plan.reserve = timed.reserve;
    }
  });
}

void TFormNavLog::DocumentSelectionChanged() {
  if (syncing_) return;
  syncing_ = true;
  const int row = document_.SelectedRow();
  if (row >= 0 && row < model_->TotalRow()) {
    GridLog->setCurrentIndex(model_->index(row, 0));
  } else {
    GridLog->clearSelection();
  }
  syncing_ = false;
}

void TFormNavLog::OwnSelectionChanged() {
  if (syncing_) return;
  const QModelIndexList rows = GridLog->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  const int row = rows.first().row();
  if (row >= static_cast<int>(document_.plan().route.size())) return;  // the Total row
  syncing_ = true;
  document_.SelectRow(row);
  syncing_ = false;
}

TFormNavLog* ShowNavigationLog(QPointer<TFormNavLog>& window, QWidget* owner,
                               PlanDocument& document) {
  if (window.isNull()) {
    window = new TFormNavLog(document, owner);
    TFormNavLog* FormNavLog = window;
    // Below the main window where the screen has room, else as low as fits.
    const QRect main = owner->frameGeometry();
    const QSize screen = desktop().ScreenSize();
    int left = main.left();
    int top = main.bottom() + 1;
    if (top + FormNavLog->height() > screen.height() - 50)
      top = screen.height() - FormNavLog->height() - 50;
    if (left + FormNavLog->width() > screen.width()) left = screen.width() - FormNavLog->width();
    FormNavLog->move(std::max(left, 0), std::max(top, 0));
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}
