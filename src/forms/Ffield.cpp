#include "forms/Ffield.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "forms/Faddfld.h"
#include "forms/PlanDocument.h"
#include "geo/daylight.h"

TFormFields::TFormFields(PlanDocument& document, QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Fields"), 562, 259 + 70),
      document_(document),
      model_(document.Airfields()) {
  SetEscapeCancels(false);
  ListViewFields = new QTreeView(this);
  ListViewFields->setGeometry(8, 8, 545, 209);
  ListViewFields->setModel(model_);
  ListViewFields->setRootIsDecorated(false);
  ListViewFields->setItemsExpandable(false);
  ListViewFields->setUniformRowHeights(true);
  ListViewFields->setAllColumnsShowFocus(true);
  ListViewFields->setSelectionMode(QAbstractItemView::SingleSelection);
  ListViewFields->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListViewFields->setEditTriggers(QAbstractItemView::SelectedClicked |
                                  QAbstractItemView::EditKeyPressed);
  ListViewFields->setItemDelegateForColumn(0, new ByteLimitDelegate(kLongTextMax, this));
  ListViewFields->header()->setSectionsMovable(false);
  // The selection shows only while the list has the focus.
  selection_shown_ = ListViewFields->palette();
  selection_hidden_ = selection_shown_;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    selection_hidden_.setColor(group, QPalette::Highlight,
                               selection_hidden_.color(group, QPalette::Base));
    selection_hidden_.setColor(group, QPalette::HighlightedText,
                               selection_hidden_.color(group, QPalette::Text));
  }
  ListViewFields->setPalette(selection_hidden_);
  ListViewFields->installEventFilter(this);

  ButtonAdd = AddButton(this, QStringLiteral("Add"), 8, 224, 75, 25, &TFormFields::ButtonAddClick);
  ButtonEdit =
      AddButton(this, QStringLiteral("Edit"), 88, 224, 75, 25, &TFormFields::ButtonEditClick);
  ButtonDelete =
      AddButton(this, QStringLiteral("Delete"), 168, 224, 75, 25, &TFormFields::ButtonDeleteClick);
  ButtonDone =
      AddButton(this, QStringLiteral("Done"), 480, 224, 75, 25, &TFormFields::ButtonDoneClick);
  SetTabOrder({ListViewFields, ButtonAdd, ButtonEdit, ButtonDelete, ButtonDone});
  LabelDaylight = new QLabel(this);
  LabelDaylight->setObjectName("LabelDaylight");
  LabelDaylight->setGeometry(8, 256, 545, 66);
  LabelDaylight->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LabelDaylight->setTextInteractionFlags(Qt::TextSelectableByMouse);

  FitToTexts();
  // Widths follow what the cells hold, as rows come, change and go.
  auto fit = [this] { FitColumnsToContent(ListViewFields, kFieldColumns, kAirfieldColumns); };
  connect(model_, &QAbstractItemModel::modelReset, this, fit);
  connect(model_, &QAbstractItemModel::rowsInserted, this, fit);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, fit);
  connect(model_, &QAbstractItemModel::dataChanged, this, fit);
  fit();
  connect(model_, &QAbstractItemModel::modelReset, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::dataChanged, this, &TFormFields::ShowDaylight);
  connect(&document_, &PlanDocument::Changed, this, &TFormFields::ShowDaylight);
  connect(&document_, &PlanDocument::Replaced, this, &TFormFields::ShowDaylight);
  ShowDaylight();
}

void TFormFields::ShowDaylight() {
  const Plan* plan = &document_.plan();
  const std::optional<Departure> departure = ParseDeparture(plan->departure);
  const CivilDate date = departure ? departure->date : Today();
  QStringList lines;
  for (const AirfieldInfo& field : plan->airfields) {
    const std::string line = AirfieldDaylightLine(*plan, field, date);
    if (!line.empty()) lines << QString::fromStdString(line);
  }
  LabelDaylight->setText(
      lines.isEmpty() ? QStringLiteral("Daylight (UTC): the route places none of the airfields.")
                      : "Daylight (UTC):\n" + lines.join('\n'));
}

TFormAddField* TFormFields::FormAddField() {
  return MadeOnFirstUse(add_field_, this);
}

bool TFormFields::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListViewFields) {
    if (event->type() == QEvent::FocusIn) ListViewFields->setPalette(selection_shown_);
    if (event->type() == QEvent::FocusOut) ListViewFields->setPalette(selection_hidden_);
  }
  return HalvixDialog::eventFilter(watched, event);
}

int TFormFields::SelectedRow() const {
  const QModelIndexList rows = ListViewFields->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

namespace {

void NoSelection(QWidget* parent) {
  desktop().MessageBox(parent, QStringLiteral("Please select an item in the list first!"),
                       QStringLiteral("Error"), MessageButtons::Ok);
}

std::vector<GeoPosition> RoutePositions(const Plan& plan) {
  std::vector<GeoPosition> positions;
  for (const Checkpoint& row : plan.route)
    if (row.position) positions.push_back(*row.position);
  return positions;
}

}  // namespace

void TFormFields::ButtonAddClick() {
  TFormAddField* dialog = FormAddField();
  PlaceDialog(this, dialog);
  dialog->ClearEdits();
  dialog->name_required = true;
  dialog->route_positions = RoutePositions(document_.plan());
  dialog->FocusEdit(dialog->EditName);
  if (desktop().ExecModal(dialog) != mrOk) return;
  AirfieldInfo field;
  dialog->DialogToFieldRow(field);
  if (!HasFieldName(field)) return;
  document_.Change(QStringLiteral("Add Field"),
                   [&field](Plan& plan) { plan.airfields.push_back(field); });
  ListViewFields->scrollTo(model_->index(model_->rowCount() - 1, 0));
}

void TFormFields::ButtonEditClick() {
  const int row = SelectedRow();
  if (row < 0) {
    NoSelection(this);
    return;
  }
  TFormAddField* dialog = FormAddField();
  PlaceDialog(this, dialog);
  dialog->FieldRowToDialog(document_.plan().airfields[static_cast<std::size_t>(row)]);
  // Emptying a row is the user's own choice here; Reset offers it.
  dialog->name_required = false;
  dialog->route_positions = RoutePositions(document_.plan());
  dialog->FocusEdit(dialog->EditName);
  if (desktop().ExecModal(dialog) != mrOk) return;
  AirfieldInfo field;
  dialog->DialogToFieldRow(field);
  document_.Change(QStringLiteral("Edit Field"), [row, &field](Plan& plan) {
    plan.airfields[static_cast<std::size_t>(row)] = field;
  });
  ListViewFields->scrollTo(model_->index(row, 0));
}

void TFormFields::ButtonDeleteClick() {
  const int row = SelectedRow();
  if (row < 0) {
    NoSelection(this);
    return;
  }
  const QString name =
      QString::fromStdString(document_.plan().airfields[static_cast<std::size_t>(row)].name);
  if (desktop().MessageBox(this,
                           QStringLiteral("Are you sure you wish to delete field %1 ?").arg(name),
                           QStringLiteral("Confirm"), MessageButtons::YesNo) != mrYes) {
    return;
  }
  document_.Change(QStringLiteral("Delete Field"),
                   [row](Plan& plan) { plan.airfields.erase(plan.airfields.begin() + row); });
}

void TFormFields::ButtonDoneClick() {
  done(mrOk);
}
