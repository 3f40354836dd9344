#include "forms/Fair.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/Fwb.h"

TFormAircraft::TFormAircraft(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Aircraft & Pilot Info"), 219, 186) {
  SetEscapeCancels(false);
  EditPilotName = AddEdit(this, QStringLiteral("Pilot's Name:"), 8, 24, 201, 21);
  EditNNumber = AddEdit(this, QStringLiteral("N-Number"), 8, 72, 97, 21);
  EditType = AddEdit(this, QStringLiteral("Type:"), 112, 72, 97, 21);
  EditGPH = AddEdit(this, QStringLiteral("Gallons Per Hour:"), 8, 120, 97, 21);
  EditFullFuel = AddEdit(this, QStringLiteral("Full Fuel Gallons:"), 112, 120, 97, 21);
  ButtonOk = AddButton(this, QStringLiteral("Ok"), 8, 152, 75, 25, &TFormAircraft::ButtonOkClick);
  ButtonCancel =
      AddButton(this, QStringLiteral("Cancel"), 88, 152, 75, 25, &TFormAircraft::ButtonCancelClick);

  // The aircraft changes more often than the pilot: its fields come first.
  SetTabOrder(
      {EditNNumber, EditType, EditGPH, EditFullFuel, EditPilotName, ButtonOk, ButtonCancel});

  for (QLineEdit* edit : {EditPilotName, EditNNumber, EditType}) LimitBytes(edit, kLongTextMax);

  FitToTexts();
}

void TFormAircraft::LoadAircraft(const AircraftInfo& aircraft) {
  EditPilotName->setText(QString::fromStdString(aircraft.pilotname));
  EditNNumber->setText(QString::fromStdString(aircraft.acnumber));
  EditType->setText(QString::fromStdString(aircraft.actype));
  EditGPH->setText(FormatFixed(aircraft.acgph, 1));
  EditFullFuel->setText(FormatFixed(aircraft.acfullfuel, 1));
}

void TFormAircraft::StoreAircraft(AircraftInfo& aircraft) const {
  aircraft.pilotname = EditPilotName->text().toStdString();
  aircraft.acnumber = EditNNumber->text().toStdString();
  aircraft.actype = EditType->text().toStdString();
  aircraft.acgph = ReadNumber(EditGPH->text());
  aircraft.acfullfuel = ReadNumber(EditFullFuel->text());
}

void TFormAircraft::ButtonOkClick() {
  done(mrOk);
}

void TFormAircraft::ButtonCancelClick() {
  done(mrCancel);
}

// --- Performance and loading -------------------------------------------------

PasteGrid::PasteGrid(const QStringList& headers, QWidget* parent)
    : QTableWidget(0, static_cast<int>(headers.size()), parent) {
  setHorizontalHeaderLabels(headers);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  connect(this, &QTableWidget::itemChanged, this, [this] { KeepEmptyLastRow(); });
  KeepEmptyLastRow();
}

void PasteGrid::KeepEmptyLastRow() {
  const int rows = rowCount();
  bool last_empty = rows > 0;
  for (int c = 0; rows > 0 && c < columnCount(); ++c) {
    const QTableWidgetItem* cell = item(rows - 1, c);
    if (cell && !cell->text().trimmed().isEmpty()) last_empty = false;
  }
  if (!last_empty) insertRow(rows);
}

void PasteGrid::PasteText(const QString& text) {
  int row = std::max(0, currentRow());
  const int first_col = std::max(0, currentColumn());
  const QStringList lines = QString(text).replace("\r\n", "\n").replace('\r', '\n').split('\n');
  const QSignalBlocker quiet(this);
  for (const QString& line : lines) {
    if (line.trimmed().isEmpty()) continue;
    QStringList cells =
        line.contains('\t') ? line.split('\t') : line.simplified().split(' ', Qt::SkipEmptyParts);
    for (QString& cell : cells) cell = cell.trimmed();
    const int room = columnCount() - first_col;
    while (cells.size() > room && cells.size() > 1) {
      cells[0] += ' ' + cells[1];
      cells.removeAt(1);
    }
    if (row >= rowCount()) insertRow(rowCount());
    for (int c = 0; c < cells.size() && first_col + c < columnCount(); ++c) {
      setItem(row, first_col + c, new QTableWidgetItem(cells[c]));
    }
    ++row;
  }
  KeepEmptyLastRow();
}

QStringList PasteGrid::RowTexts() const {
  QStringList rows;
  for (int r = 0; r < rowCount(); ++r) {
    QStringList cells;
    bool any = false;
    for (int c = 0; c < columnCount(); ++c) {
      const QTableWidgetItem* cell = item(r, c);
      const QString text = cell ? cell->text().trimmed() : QString();
      any = any || !text.isEmpty();
      cells << (text.isEmpty() ? QStringLiteral("?") : text);
    }
    if (any) rows << cells.join(' ');
  }
  return rows;
}

void PasteGrid::SetRows(const std::vector<std::vector<QString>>& rows) {
  const QSignalBlocker quiet(this);
  setRowCount(0);
  for (const auto& cells : rows) {
    const int r = rowCount();
    insertRow(r);
    for (int c = 0; c < static_cast<int>(cells.size()) && c < columnCount(); ++c) {
      setItem(r, c, new QTableWidgetItem(cells[static_cast<std::size_t>(c)]));
    }
  }
  KeepEmptyLastRow();
}

void PasteGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QGuiApplication::clipboard()->text());
    return;
  }
  if (event->matches(QKeySequence::Delete) && !selectedItems().isEmpty() &&
      state() != QAbstractItemView::EditingState) {
    for (QTableWidgetItem* cell : selectedItems()) cell->setText(QString());
    return;
  }
  QTableWidget::keyPressEvent(event);
}

namespace {

QLineEdit* Field(QFormLayout* form, const QString& label, const QString& tip = QString()) {
  auto* edit = new QLineEdit;
  edit->setToolTip(tip);
  form->addRow(label, edit);
  return edit;
}

QString Shown(const std::optional<double>& value) {
  return value ? QString::fromStdString(FormatNumber(*value)) : QString();
}

std::string FormatRows(const std::vector<ClimbRow>& rows) {
  std::string text;
  for (const ClimbRow& row : rows) text += FormatClimbRow(row) + "\n";
  return text;
}

QString Shown(double value) {
  return QString::fromStdString(FormatNumber(value));
}

}  // namespace

TFormPerformance::TFormPerformance(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Aircraft Performance & Loading"));
  setFont(FormFont());
  auto* layout = new QVBoxLayout(this);
  Pages = new QTabWidget(this);
  layout->addWidget(Pages);

  auto* perf = new QWidget;
  auto* perf_layout = new QHBoxLayout(perf);
  auto* climb_box = new QVBoxLayout;
  climb_box->addWidget(new QLabel(QStringLiteral(
      "Time, fuel and distance to climb from sea level, as in the handbook (paste it here):")));
  GridClimb = new PasteGrid({QStringLiteral("Press. Alt ft"), QStringLiteral("Minutes"),
                             QStringLiteral("Gallons"), QStringLiteral("NM")},
                            perf);
  climb_box->addWidget(GridClimb);
  perf_layout->addLayout(climb_box, 3);
  auto* perf_form = new QFormLayout;
  EditClimbIsa = Field(perf_form, QStringLiteral("Climb, % per 10 \u00b0C hot:"),
                       QStringLiteral("Added to time, fuel and distance for each 10 \u00b0C above "
                                      "standard; 10 when empty"));
  EditDescentFpm =
      Field(perf_form, QStringLiteral("Descent ft/min:"), QStringLiteral("500 when empty"));
  EditDescentTas = Field(perf_form, QStringLiteral("Descent TAS kt:"),
                         QStringLiteral("The leg's true airspeed when empty"));
  EditDescentGph = Field(perf_form, QStringLiteral("Descent gal/h:"),
                         QStringLiteral("The cruise fuel flow when empty"));
  EditTaxiGal = Field(perf_form, QStringLiteral("Start, taxi, run-up gal:"));
  EditContingency = Field(perf_form, QStringLiteral("Contingency % of trip:"));
  EditExtraGal = Field(perf_form, QStringLiteral("Extra gal:"));
  EditAlternate = Field(perf_form, QStringLiteral("Alternate:"),
                        QStringLiteral("Ident or name; its place comes from the aviation data"));
  EditAlternateDist = Field(perf_form, QStringLiteral("Alternate NM:"),
                            QStringLiteral("From the destination, when not in the aviation data"));
  EditAlternateTc = Field(perf_form, QStringLiteral("Alternate course \u00b0T:"));
  EditAlternateAlt = Field(perf_form, QStringLiteral("Alternate altitude ft:"));
  perf_layout->addLayout(perf_form, 2);
  Pages->addTab(perf, QStringLiteral("Performance"));

  auto* load = new QWidget;
  auto* load_layout = new QHBoxLayout(load);
  auto* station_box = new QVBoxLayout;
  station_box->addWidget(new QLabel(QStringLiteral("Loading stations (seats, baggage):")));
  GridStations = new PasteGrid({QStringLiteral("Station"), QStringLiteral("Arm in"),
                                QStringLiteral("Max lb"), QStringLiteral("Load lb")},
                               load);
  station_box->addWidget(GridStations);
  load_layout->addLayout(station_box, 3);
  auto* load_form = new QFormLayout;
  EditEmptyLb = Field(load_form, QStringLiteral("Empty weight lb:"));
  EditEmptyArm = Field(load_form, QStringLiteral("Empty arm in:"));
  EditFuelArm = Field(load_form, QStringLiteral("Fuel arm in:"));
  EditFuelLbPerGal =
      Field(load_form, QStringLiteral("Fuel lb/gal:"), QStringLiteral("6.0 when empty"));
  EditMaxLb = Field(load_form, QStringLiteral("Max weight lb:"));
  EditEnvelope = Field(load_form, QStringLiteral("Envelope:"),
                       QStringLiteral("The normal category limits as ARM:LB points in order, "
                                      "e.g. 35:1500 35:1950 39.5:2400 47.3:2400 47.3:1500"));
  ButtonWeightBalance = new QPushButton(QStringLiteral("Weight and Balance\u2026"));
  ButtonWeightBalance->setAutoDefault(false);
  load_form->addRow(QString(), ButtonWeightBalance);
  load_layout->addLayout(load_form, 2);
  Pages->addTab(load, QStringLiteral("Loading"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ButtonOk = new QPushButton(QStringLiteral("Ok"));
  ButtonCancel = new QPushButton(QStringLiteral("Cancel"));
  for (QPushButton* b : {ButtonOk, ButtonCancel}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(ButtonOk, &QPushButton::clicked, this, &TFormPerformance::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormPerformance::ButtonCancelClick);
  connect(ButtonWeightBalance, &QPushButton::clicked, this,
          &TFormPerformance::ButtonWeightBalanceClick);
  resize(760, 440);
}

void TFormPerformance::LoadPerformance(const Performance& perf, const Loading& loading) {
  loaded_perf_ = perf;
  loaded_loading_ = loading;
  std::vector<std::vector<QString>> rows;
  for (const ClimbRow& r : perf.climb) {
    rows.push_back({Shown(r.alt_ft), Shown(r.minutes), Shown(r.gallons), Shown(r.nm)});
  }
  GridClimb->SetRows(rows);
  EditClimbIsa->setText(Shown(perf.climbisa));
  EditDescentFpm->setText(Shown(perf.descentfpm));
  EditDescentTas->setText(Shown(perf.descenttas));
  EditDescentGph->setText(Shown(perf.descentgph));
  EditTaxiGal->setText(Shown(perf.taxigal));
  EditContingency->setText(Shown(perf.contingency));
  EditExtraGal->setText(Shown(perf.extragal));
  EditAlternate->setText(QString::fromStdString(perf.alternate));
  EditAlternateDist->setText(Shown(perf.alternatedist));
  EditAlternateTc->setText(Shown(perf.alternatetc));
  EditAlternateAlt->setText(Shown(perf.alternatealt));

  rows.clear();
  for (const LoadStation& s : loading.stations) {
    rows.push_back({QString::fromStdString(s.name), Shown(s.arm), Shown(s.maxlb), Shown(s.lb)});
  }
  GridStations->SetRows(rows);
  EditEmptyLb->setText(Shown(loading.empty_lb));
  EditEmptyArm->setText(Shown(loading.empty_arm));
  EditFuelArm->setText(Shown(loading.fuelarm));
  EditFuelLbPerGal->setText(Shown(loading.fuellbpergal));
  EditMaxLb->setText(Shown(loading.maxlb));
  EditEnvelope->setText(QString::fromStdString(FormatEnvelope(loading.envelope)));
}

bool TFormPerformance::Refuse(QWidget* where, const QString& message) {
  for (int page = 0; page < Pages->count(); ++page) {
    if (Pages->widget(page)->isAncestorOf(where)) Pages->setCurrentIndex(page);
  }
  desktop().MessageBox(this, message, QStringLiteral("error"), MessageButtons::Ok);
  where->setFocus();
  return false;
}

bool TFormPerformance::StorePerformance(Performance& perf, Loading& loading) {
  Performance p = loaded_perf_;
  Loading l = loaded_loading_;
  struct Number {
    QLineEdit* edit;
    const char* key;
    std::optional<double>* target;
    bool (*ok)(double);
    const char* why;
  };
  const auto not_negative = [](double v) { return v >= 0.0; };
  const auto positive = [](double v) { return v > 0.0; };
  const auto any = [](double) { return true; };
  const auto course = [](double v) { return v >= 0.0 && v <= 360.0; };
  const Number numbers[] = {
      {EditClimbIsa, "climbisa", &p.climbisa, not_negative, "cannot be negative"},
      {EditDescentFpm, "descentfpm", &p.descentfpm, positive, "must be above 0"},
      {EditDescentTas, "descenttas", &p.descenttas, positive, "must be above 0"},
      {EditDescentGph, "descentgph", &p.descentgph, not_negative, "cannot be negative"},
      {EditTaxiGal, "taxigal", &p.taxigal, not_negative, "cannot be negative"},
      {EditContingency, "contingency", &p.contingency, not_negative, "cannot be negative"},
      {EditExtraGal, "extragal", &p.extragal, not_negative, "cannot be negative"},
      {EditAlternateDist, "alternatedist", &p.alternatedist, not_negative, "cannot be negative"},
      {EditAlternateTc, "alternatetc", &p.alternatetc, course, "a course is 0 to 360 degrees"},
      {EditAlternateAlt, "alternatealt", &p.alternatealt, any, ""},
      {EditFuelArm, "fuelarm", &l.fuelarm, any, ""},
      {EditFuelLbPerGal, "fuellbpergal", &l.fuellbpergal, positive, "must be above 0"},
      {EditMaxLb, "maxlb", &l.maxlb, positive, "must be above 0"},
  };
  for (const Number& n : numbers) {
    const std::string text = n.edit->text().trimmed().toStdString();
    std::set<std::string>& refused =
        n.target == &l.fuelarm || n.target == &l.fuellbpergal || n.target == &l.maxlb ? l.refused
                                                                                      : p.refused;
    if (text.empty()) {
      n.target->reset();
      continue;
    }
    double v = 0.0;
    if (!ParseNumber(text, v) || !n.ok(v)) {
      return Refuse(n.edit,
                    QString::fromStdString(std::string(n.key) + " " + text + ": " +
                                           (ParseNumber(text, v) ? n.why : "not a number")));
    }
    *n.target = v;
    refused.erase(n.key);
  }
  p.alternate = EditAlternate->text().trimmed().toStdString();
  if (!p.alternate.empty()) p.refused.erase("alternate");

  std::vector<ClimbRow> climb;
  const QStringList climb_rows = GridClimb->RowTexts();
  for (int k = 0; k < climb_rows.size(); ++k) {
    ClimbRow row;
    std::string why;
    if (!ParseClimbRow(climb_rows[k].toStdString(), row, why)) {
      return Refuse(GridClimb, QStringLiteral("climb row %1 (%2): %3")
                                   .arg(k + 1)
                                   .arg(climb_rows[k], QString::fromStdString(why)));
    }
    climb.push_back(row);
  }
  std::string why;
  const int bad = ClimbTableOutOfOrder(climb, why);
  if (bad >= 0) {
    return Refuse(GridClimb, QStringLiteral("climb row %1 (%2): %3")
                                 .arg(bad + 1)
                                 .arg(climb_rows[bad], QString::fromStdString(why)));
  }
  if (FormatRows(climb) != FormatRows(p.climb)) p.refused.erase("climb");
  p.climb = climb;

  std::vector<LoadStation> stations;
  const QStringList station_rows = GridStations->RowTexts();
  for (int k = 0; k < station_rows.size(); ++k) {
    LoadStation s;
    if (!ParseStation(station_rows[k].toStdString(), s, why)) {
      return Refuse(GridStations, QStringLiteral("station %1 (%2): %3")
                                      .arg(k + 1)
                                      .arg(station_rows[k], QString::fromStdString(why)));
    }
    stations.push_back(s);
  }
  l.refused.erase("station");
  l.stations = stations;

  const std::string empty_lb = EditEmptyLb->text().trimmed().toStdString();
  const std::string empty_arm = EditEmptyArm->text().trimmed().toStdString();
  if (empty_lb.empty() && empty_arm.empty()) {
    l.empty_lb.reset();
    l.empty_arm.reset();
  } else {
    double lb = 0.0;
    double arm = 0.0;
    if (!ParseEmptyWeight(empty_lb + " " + (empty_arm.empty() ? "?" : empty_arm), lb, arm, why)) {
      return Refuse(EditEmptyLb,
                    QString::fromStdString("empty " + empty_lb + " " + empty_arm + ": " + why));
    }
    l.empty_lb = lb;
    l.empty_arm = arm;
    l.refused.erase("empty");
  }
  const std::string envelope = EditEnvelope->text().trimmed().toStdString();
  if (envelope.empty()) {
    l.envelope.clear();
  } else {
    if (!ParseEnvelope(envelope, l.envelope, why)) {
      return Refuse(EditEnvelope, QString::fromStdString("envelope " + envelope + ": " + why));
    }
    l.refused.erase("envelope");
  }
  perf = p;
  loading = l;
  return true;
}

void TFormPerformance::ButtonOkClick() {
  Performance perf;
  Loading loading;
  if (!StorePerformance(perf, loading)) return;
  done(mrOk);
}

void TFormPerformance::ButtonCancelClick() {
  done(mrCancel);
}

void TFormPerformance::ButtonWeightBalanceClick() {
  Performance perf;
  Loading loading;
  if (!StorePerformance(perf, loading)) return;
  TFormWeightBalance dialog(this);
  dialog.Show(loading, fuel_gal - perf.taxigal.value_or(0.0), trip_gal);
  desktop().ExecModal(&dialog);
}
