#include "forms/Ffield.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "forms/Faddfld.h"
#include "forms/PlanDocument.h"
#include "geo/daylight.h"

TFormFields* FormFields = nullptr;

namespace {

constexpr ListColumn kColumns[kAirfieldColumns] = {
    {"Field Name", 150}, {"Elevation", 60}, {"TPA", 60},    {"Runways", 100}, {"ATC", 60},
    {"CTAF", 50},        {"ATIS", 50},      {"Ground", 50}, {"Unicom", 50}};

}  // namespace

AirfieldModel::AirfieldModel(QObject* parent) : QAbstractTableModel(parent) {}

void AirfieldModel::SetPlan(Plan* plan) {
  beginResetModel();
  plan_ = plan;
  endResetModel();
}

void AirfieldModel::Reset() {
  beginResetModel();
  endResetModel();
}

void AirfieldModel::Append(const AirfieldInfo& field) {
  const int row = rowCount();
  beginInsertRows(QModelIndex(), row, row);
  plan_->airfields.push_back(field);
  plan_->modified = 1;
  endInsertRows();
}

void AirfieldModel::Replace(int row, const AirfieldInfo& field) {
  plan_->airfields[static_cast<std::size_t>(row)] = field;
  plan_->modified = 1;
  emit dataChanged(index(row, 0), index(row, kAirfieldColumns - 1));
}

void AirfieldModel::Remove(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  plan_->airfields.erase(plan_->airfields.begin() + row);
  plan_->modified = 1;
  endRemoveRows();
}

int AirfieldModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || plan_ == nullptr) return 0;
  return static_cast<int>(plan_->airfields.size());
}

int AirfieldModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kAirfieldColumns;
}

QVariant AirfieldModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const AirfieldInfo& field = plan_->airfields[static_cast<std::size_t>(index.row())];
  return QString::fromStdString(AirfieldColumn(field, index.column()));
}

bool AirfieldModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 ||
      index.row() >= rowCount()) {
    return false;
  }
  const std::string name = CutUtf8(value.toString().toStdString(), kLongTextMax);
  std::string& current = plan_->airfields[static_cast<std::size_t>(index.row())].name;
  if (name == current) return true;
  current = name;
  plan_->modified = 1;
  emit dataChanged(index, index);
  return true;
}

QVariant AirfieldModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kAirfieldColumns) {
    return {};
  }
  return QString::fromLatin1(kColumns[section].caption);
}

Qt::ItemFlags AirfieldModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) flags |= Qt::ItemIsEditable;
  return flags;
}

TFormFields::TFormFields(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Fields"), 562, 259 + 70),
      model_(new AirfieldModel(this)) {
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
  auto fit = [this] { FitColumnsToContent(ListViewFields, kColumns, kAirfieldColumns); };
  connect(model_, &QAbstractItemModel::modelReset, this, fit);
  connect(model_, &QAbstractItemModel::rowsInserted, this, fit);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, fit);
  connect(model_, &QAbstractItemModel::dataChanged, this, fit);
  fit();
  connect(model_, &QAbstractItemModel::modelReset, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &TFormFields::ShowDaylight);
  connect(model_, &QAbstractItemModel::dataChanged, this, &TFormFields::ShowDaylight);
  ShowDaylight();
}

void TFormFields::ShowDaylight() {
  const Plan* plan = model_->plan();
  if (plan == nullptr) {
    LabelDaylight->clear();
    return;
  }
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

void TFormFields::SetPlan(Plan* plan) {
  model_->SetPlan(plan);
}

void TFormFields::PlanReplaced() {
  model_->Reset();
  ShowDaylight();
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

}  // namespace

void TFormFields::ButtonAddClick() {
  if (model_->plan() == nullptr) return;
  TFormAddField* dialog = MadeOnFirstUse(FormAddField, parentWidget());
  PlaceDialog(this, dialog);
  dialog->ClearEdits();
  dialog->name_required = true;
  dialog->FocusEdit(dialog->EditName);
  if (desktop().ExecModal(dialog) != mrOk) return;
  AirfieldInfo field;
  dialog->DialogToFieldRow(field);
  if (!HasFieldName(field)) return;
  model_->Append(field);
  ListViewFields->scrollTo(model_->index(model_->rowCount() - 1, 0));
}

void TFormFields::ButtonEditClick() {
  const int row = SelectedRow();
  if (row < 0) {
    NoSelection(this);
    return;
  }
  TFormAddField* dialog = MadeOnFirstUse(FormAddField, parentWidget());
  PlaceDialog(this, dialog);
  dialog->FieldRowToDialog(model_->plan()->airfields[static_cast<std::size_t>(row)]);
  // Emptying a row is the user's own choice here; Reset offers it.
  dialog->name_required = false;
  dialog->FocusEdit(dialog->EditName);
  if (desktop().ExecModal(dialog) != mrOk) return;
  AirfieldInfo field;
  dialog->DialogToFieldRow(field);
  model_->Replace(row, field);
  ListViewFields->scrollTo(model_->index(row, 0));
}

void TFormFields::ButtonDeleteClick() {
  const int row = SelectedRow();
  if (row < 0) {
    NoSelection(this);
    return;
  }
  const QString name =
      QString::fromStdString(model_->plan()->airfields[static_cast<std::size_t>(row)].name);
  if (desktop().MessageBox(this,
                           QStringLiteral("Are you sure you wish to delete field %1 ?").arg(name),
                           QStringLiteral("Confirm"), MessageButtons::YesNo) != mrYes) {
    return;
  }
  model_->Remove(row);
}

void TFormFields::ButtonDoneClick() {
  done(mrOk);
}

TFormFields* FieldsDialog(QWidget* owner, PlanDocument& document) {
  if (FormFields == nullptr) {
    MadeOnFirstUse(FormFields, owner);
    FormFields->SetPlan(&document.plan());
    QObject::connect(&document, &PlanDocument::Replaced, FormFields, &TFormFields::PlanReplaced);
    QObject::connect(&document, &PlanDocument::Changed, FormFields, &TFormFields::ShowDaylight);
  }
  return FormFields;
}
