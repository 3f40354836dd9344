#include "forms/PlanDocument.h"

#include <QItemSelectionModel>

const ListColumn kRouteColumns[kRouteColumnCount] = {
    {"To: Checkpoint", 95}, {"Dist", 48}, {"Course", 48}, {"Altitude", 48}, {"Wind Dir", 55},
    {"Wind Vel", 55},       {"Temp", 48}, {"TAS", 48},    {"Mag Var", 55},  {"VOR", 120},
};

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
  return QString::fromStdString(index.column() == 0 ? row.caption
                                                    : row.SubItem(index.column() - 1));
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

void RouteListModel::RowsChanged(int first, int last) {
  emit dataChanged(index(first, 0), index(last, kRouteColumnCount - 1));
}

void RouteListModel::Reload() {
  beginResetModel();
  endResetModel();
}

// --- PlanDocument --------------------------------------------------------------

PlanDocument::PlanDocument(QObject* parent)
    : QObject(parent),
      route_(new RouteListModel(plan_, this)),
      selection_(new QItemSelectionModel(route_, this)) {
  // Connected first, so every observer of a change reads the new log.
  connect(this, &PlanDocument::Changed, this, [this] { log_.reset(); });
  connect(this, &PlanDocument::Replaced, this, [this] { log_.reset(); });
  // Every route change passes through the list's model.
  connect(route_, &QAbstractItemModel::rowsInserted, this, &PlanDocument::Changed);
  connect(route_, &QAbstractItemModel::rowsRemoved, this, &PlanDocument::Changed);
  connect(route_, &QAbstractItemModel::modelReset, this, &PlanDocument::Changed);
  connect(route_, &QAbstractItemModel::dataChanged, this, &PlanDocument::Changed);
  connect(selection_, &QItemSelectionModel::selectionChanged, this,
          [this] { emit SelectionChanged(SelectedRow()); });
}

void PlanDocument::Edited() {
  plan_.modified = 1;
  emit Changed();
}

void PlanDocument::RouteEdited() {
  plan_.modified = 1;
  // The redraw announces the change.
  if (route_->rowCount() > 0)
    route_->RowsChanged(0, route_->rowCount() - 1);
  else
    emit Changed();
}

void PlanDocument::Replace(Plan whole) {
  plan_ = std::move(whole);
  // The reset clears the selection and announces Changed.
  route_->Reload();
  emit Replaced();
}

const NavLog& PlanDocument::Log() const {
  if (!log_) log_ = ComputeLog(plan_);
  return *log_;
}

int PlanDocument::SelectedRow() const {
  const QModelIndexList rows = selection_->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void PlanDocument::SelectRow(int row) {
  if (row == SelectedRow()) return;
  if (row < 0 || row >= route_->rowCount()) {
    selection_->clear();
    return;
  }
  selection_->setCurrentIndex(route_->index(row, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
