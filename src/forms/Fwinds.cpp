#include "forms/Fwinds.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "forms/Formutil.h"
#include "session/planning_session.h"

TFormWinds* FormWinds = nullptr;

namespace {

const char* const kForecastFilter =
    "Winds aloft forecasts (*.txt *.grib2 *.grb2 *.grb);;All files (*)";

enum Column {
  kName,
  kDir,
  kVel,
  kTemp,
  kNewDir,
  kNewVel,
  kNewTemp,
  kSource,
  kTime,
  kNote,
  kColumns
};

QString Cell(int32_t value) {
  return value == NOT_ENTERED ? QString() : QString::number(value);
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TFormWinds::TFormWinds(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Winds Aloft");
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  ButtonOpen = new QPushButton(QString::fromUtf8("Open Forecast\u2026"), this);
  LabelForecast = new QLabel("No forecast read yet.", this);
  LabelForecast->setWordWrap(true);
  top->addWidget(ButtonOpen);
  top->addWidget(LabelForecast, 1);
  layout->addLayout(top);

  MemoBulletin = new QPlainTextEdit(this);
  // The groups stand under their levels by column.
  MemoBulletin->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  MemoBulletin->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoBulletin->setPlaceholderText("Or paste a winds aloft bulletin (FB) here");
  MemoBulletin->setFixedHeight(110);
  layout->addWidget(MemoBulletin);

  auto* middle = new QHBoxLayout;
  ButtonReadText = new QPushButton("Read Pasted Text", this);
  auto* label_depart = new QLabel("Departure (UTC, HHMM):", this);
  EditDepart = new QLineEdit(this);
  EditDepart->setMaxLength(5);
  EditDepart->setFixedWidth(60);
  EditDepart->setPlaceholderText("HHMM");
  label_depart->setBuddy(EditDepart);
  middle->addWidget(ButtonReadText);
  middle->addStretch(1);
  middle->addWidget(label_depart);
  middle->addWidget(EditDepart);
  layout->addLayout(middle);

  GridLegs = new QTableWidget(0, kColumns, this);
  GridLegs->setHorizontalHeaderLabels({"Checkpoint", "Wind Dir", "Wind Vel", "Temp", "New Dir",
                                       "New Vel", "New Temp", "Source", "Forecast", "Note"});
  GridLegs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridLegs->setSelectionMode(QAbstractItemView::NoSelection);
  GridLegs->verticalHeader()->setVisible(false);
  GridLegs->verticalHeader()->setDefaultSectionSize(GridLegs->fontMetrics().height() + 6);
  GridLegs->horizontalHeader()->setStretchLastSection(true);
  const int widths[kColumns] = {120, 58, 58, 44, 58, 58, 64, 230, 110, 160};
  for (int c = 0; c < kColumns; ++c) GridLegs->setColumnWidth(c, widths[c]);
  layout->addWidget(GridLegs, 1);

  auto* buttons = new QHBoxLayout;
  ButtonOk = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonOk->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(ButtonOk);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);

  connect(ButtonOpen, &QPushButton::clicked, this, &TFormWinds::ButtonOpenClick);
  connect(ButtonReadText, &QPushButton::clicked, this, &TFormWinds::ButtonReadTextClick);
  connect(EditDepart, &QLineEdit::editingFinished, this, &TFormWinds::EditDepartChange);
  connect(ButtonOk, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  resize(980, 520);
}

TFormWinds::~TFormWinds() = default;

bool TFormWinds::Execute(Plan& plan, const StationLocator& locate) {
  plan_ = &plan;
  locate_ = locate;
  source_.reset();
  fill_ = CurrentWinds(plan);
  LabelForecast->setText("No forecast read yet.");
  ShowFill();
  const int result = desktop().ExecModal(this);
  // The forecast and the data it placed stations with belong to this showing.
  plan_ = nullptr;
  source_.reset();
  locate_ = nullptr;
  if (result != mrOk) return false;
  return ApplyWinds(plan, fill_);
}

void TFormWinds::ButtonOpenClick() {
  if (plan_ == nullptr) return;
  QString path;
  if (!desktop().OpenFileName(this, path, kForecastFilter)) return;
  Use(LoadWindForecast(path.toStdString(), *plan_, locate_), path);
}

void TFormWinds::ButtonReadTextClick() {
  Use(DecodeWindBulletin(MemoBulletin->toPlainText().toStdString(), locate_), "the pasted text");
}

void TFormWinds::EditDepartChange() {
  const QString text = EditDepart->text().trimmed();
  if (!text.isEmpty() && !ParseDepartTime(text.toStdString())) {
    desktop().MessageBox(this, "The departure time is four digits, HHMM, in UTC.", "error",
                         MessageButtons::Ok);
    return;
  }
  Propose();
}

// A forecast that cannot be read changes nothing, not even the one before.
void TFormWinds::Use(WindForecastLoad load, const QString& what) {
  if (!load.ok) {
    desktop().MessageBox(this, QString("Unable to read %1\n%2").arg(what, Q(load.error)), "Error",
                         MessageButtons::Ok);
    return;
  }
  source_ = std::move(load.source);
  QString text = load.grib ? QString("GRIB forecast: %1").arg(what)
                           : QString("Winds aloft bulletin: %1").arg(what);
  for (const Finding& finding : load.report.findings()) {
    if (finding.severity == Finding::Severity::Warning) {
      text +=
          "\n" + Q(finding.line > 0 ? "line " + std::to_string(finding.line) + ": " + finding.text
                                    : finding.text);
    }
  }
  QStringList unplaced;
  for (const std::string& warning : load.warnings) unplaced << Q(warning);
  if (!load.unplaced.empty()) {
    text += QString("\n%1 of its stations cannot be placed").arg(load.unplaced.size());
  }
  LabelForecast->setText(text);
  LabelForecast->setToolTip(unplaced.join('\n'));
  Propose();
}

void TFormWinds::Propose() {
  if (source_ == nullptr || plan_ == nullptr) return;
  WindFillOptions options;
  options.depart_minutes = ParseDepartTime(EditDepart->text().trimmed().toStdString());
  fill_ = ProposeWinds(*plan_, *source_, options);
  ShowFill();
}

void TFormWinds::ShowFill() {
  GridLegs->setRowCount(static_cast<int>(fill_.legs.size()));
  int filled = 0;
  for (int r = 0; r < static_cast<int>(fill_.legs.size()); ++r) {
    const WindProposal& leg = fill_.legs[static_cast<std::size_t>(r)];
    const QString texts[kColumns] = {
        plan_ ? Q(plan_->route[static_cast<std::size_t>(leg.row)].caption) : QString(),
        Cell(leg.current.winddir),
        Cell(leg.current.windvel),
        Cell(leg.current.temp),
        leg.filled ? Cell(leg.wind.winddir) : QString(),
        leg.filled ? Cell(leg.wind.windvel) : QString(),
        leg.filled ? Cell(leg.wind.temp) : QString(),
        Q(leg.source),
        Q(leg.time),
        Q(leg.note)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(texts[c]);
      if (c >= kSource) item->setToolTip(texts[c]);  // long station lists and notes
      if (c >= kNewDir && c <= kNewTemp) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      GridLegs->setItem(r, c, item);
    }
    if (leg.filled) ++filled;
  }
  ButtonOk->setEnabled(filled > 0);
}

bool ShowWindsAloft(QWidget* owner, Plan& plan) {
  if (FormWinds == nullptr) FormWinds = new TFormWinds(owner);
  PlaceDialog(owner, FormWinds);
  // The aviation data is opened when a bulletin's first station is placed: a
  // GRIB file needs none, and a pilot without a data folder is told so once.
  return FormWinds->Execute(plan, StationsFor(plan, [] { return UseAviationData(FormWinds); }));
}
