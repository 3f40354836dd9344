#include "forms/PlanDocument.h"

#include <QItemSelectionModel>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <utility>

#include "forms/Aviationdata.h"
#include "plan/route_row.h"

const ListColumn kRouteColumns[kRouteColumnCount] = {
    {"To: Checkpoint", 95}, {"Dist", 48}, {"Course", 48}, {"Altitude", 48}, {"Wind Dir", 55},
    {"Wind Vel", 55},       {"Temp", 48}, {"TAS", 48},    {"Mag Var", 55},  {"VOR", 120},
};

const ListColumn kFieldColumns[kAirfieldColumns] = {
    {"Field Name", 150}, {"Elevation", 60}, {"TPA", 60},    {"Runways", 100}, {"ATC", 60},
    {"CTAF", 50},        {"ATIS", 50},      {"Ground", 50}, {"Unicom", 50}};

namespace {

bool Same(const Checkpoint& a, const Checkpoint& b) {
  if (a.caption != b.caption || a.subitems != b.subitems) return false;
  if (a.position.has_value() != b.position.has_value()) return false;
  return !a.position || (a.position->lat == b.position->lat && a.position->lon == b.position->lon);
}

bool Same(const AirfieldInfo& a, const AirfieldInfo& b) {
  for (int c = 0; c < kAirfieldColumns; ++c) {
    if (AirfieldColumn(a, c) != AirfieldColumn(b, c)) return false;
  }
  return true;
}

// One row in or out at a single place is told as such, so that a view keeps
// its selection on the rows that stayed; anything larger is a reset.
template <class Row>
RowsEdit Compare(const std::vector<Row>& before, const std::vector<Row>& after) {
  const int n = static_cast<int>(before.size());
  const int m = static_cast<int>(after.size());
  if (n == m) {
    // Only the rows that differ are drawn again: an edit of one row need
    // not repaint the list.
    int first = 0;
    while (first < n &&
           Same(before[static_cast<std::size_t>(first)], after[static_cast<std::size_t>(first)]))
      ++first;
    int last = n - 1;
    while (last > first &&
           Same(before[static_cast<std::size_t>(last)], after[static_cast<std::size_t>(last)]))
      --last;
    return {RowsEdit::Same, first, first < n ? last : -1};
  }
  if (n == 0) return {RowsEdit::Inserted, 0, m - 1};
  if (m == 0) return {RowsEdit::Removed, 0, n - 1};
  if (m != n + 1 && m != n - 1) return {RowsEdit::Reset, 0, -1};
  const int shorter = std::min(n, m);
  int k = 0;
  while (k < shorter &&
         Same(before[static_cast<std::size_t>(k)], after[static_cast<std::size_t>(k)]))
    ++k;
  return m > n ? RowsEdit{RowsEdit::Inserted, k, k} : RowsEdit{RowsEdit::Removed, k, k};
}

// Holds the other state of the plan: the one before the change while the
// change is done, the one after it while it is undone.
class PlanChange : public QUndoCommand {
 public:
  PlanChange(PlanDocument& document, const QString& what, Plan other, bool with_filename, int merge)
      : QUndoCommand(what),
        document_(document),
        other_(std::move(other)),
        with_filename_(with_filename),
        merge_(merge) {}

  void redo() override { document_.Swap(other_, with_filename_); }
  void undo() override { document_.Swap(other_, with_filename_); }
  int id() const override { return merge_; }
  // The plan already holds the later state; this one keeps the earliest.
  bool mergeWith(const QUndoCommand* next) override { return next->text() == text(); }

 private:
  PlanDocument& document_;
  Plan other_;
  bool with_filename_;
  int merge_;
};

}  // namespace

// --- PlanListModel -------------------------------------------------------------

PlanListModel::PlanListModel(const PlanDocument& document, int columns, QObject* parent)
    : QAbstractTableModel(parent), document_(document), columns_(columns) {}

const Plan& PlanListModel::plan() const {
  return document_.plan();
}

int PlanListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

Qt::ItemFlags PlanListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) f |= Qt::ItemIsEditable;
  return f;
}

void PlanListModel::Begin(const RowsEdit& edit) {
  switch (edit.kind) {
    case RowsEdit::Inserted:
      beginInsertRows(QModelIndex(), edit.first, edit.last);
      break;
    case RowsEdit::Removed:
      beginRemoveRows(QModelIndex(), edit.first, edit.last);
      break;
    case RowsEdit::Reset:
      beginResetModel();
      break;
    case RowsEdit::Same:
      break;
  }
}

void PlanListModel::End(const RowsEdit& edit) {
  switch (edit.kind) {
    case RowsEdit::Inserted:
      endInsertRows();
      break;
    case RowsEdit::Removed:
      endRemoveRows();
      break;
    case RowsEdit::Reset:
      endResetModel();
      return;
    case RowsEdit::Same:
      if (edit.last >= edit.first)
        emit dataChanged(index(edit.first, 0), index(edit.last, columns_ - 1));
      return;
  }
  // Rows that stayed may have changed too: every shown row is drawn again.
  const int rows = rowCount();
  if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, columns_ - 1));
}

// --- RouteListModel ------------------------------------------------------------

RouteListModel::RouteListModel(PlanDocument& document, QObject* parent)
    : PlanListModel(document, kRouteColumnCount, parent), editor_(document) {}

int RouteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(plan().route.size());
}

QVariant RouteListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
  const Checkpoint& row = plan().route[static_cast<std::size_t>(index.row())];
  // The name, the eight numbers as typed, then the VOR text.
  const std::size_t column = static_cast<std::size_t>(index.column());
  if (column == 0) return QString::fromStdString(row.caption);
  if (column <= kRowNumbers.size())
    return QString::fromStdString(TypedText(row, kRowNumbers[column - 1]));
  return QString::fromStdString(TypedVor(row));
}

QVariant RouteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kRouteColumnCount)
    return QVariant();
  return QString::fromLatin1(kRouteColumns[section].caption);
}

bool RouteListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount())
    return false;
  // The name must fit the printed log's name field, so a long one is cut here.
  const std::string name = CutUtf8(value.toString().toStdString(), kShortTextMax);
  const auto row = static_cast<std::size_t>(index.row());
  editor_.ChangeIf(QStringLiteral("Rename Checkpoint"), [&](Plan& plan) {
    if (plan.route[row].caption == name) return false;
    plan.route[row].caption = name;
    return true;
  });
  return true;
}

// --- AirfieldModel -------------------------------------------------------------

AirfieldModel::AirfieldModel(PlanDocument& document, QObject* parent)
    : PlanListModel(document, kAirfieldColumns, parent), editor_(document) {}

int AirfieldModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(plan().airfields.size());
}

QVariant AirfieldModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const AirfieldInfo& field = plan().airfields[static_cast<std::size_t>(index.row())];
  return QString::fromStdString(AirfieldColumn(field, index.column()));
}

bool AirfieldModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 ||
      index.row() >= rowCount()) {
    return false;
  }
  const std::string name = CutUtf8(value.toString().toStdString(), kLongTextMax);
  const auto row = static_cast<std::size_t>(index.row());
  editor_.ChangeIf(QStringLiteral("Rename Field"), [&](Plan& plan) {
    if (plan.airfields[row].name == name) return false;
    plan.airfields[row].name = name;
    return true;
  });
  return true;
}

QVariant AirfieldModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kAirfieldColumns) {
    return {};
  }
  return QString::fromLatin1(kFieldColumns[section].caption);
}

// --- PlanDocument --------------------------------------------------------------

PlanDocument::PlanDocument(QObject* parent)
    : QObject(parent),
      undo_(new QUndoStack(this)),
      route_(new RouteListModel(*this, this)),
      airfields_(new AirfieldModel(*this, this)),
      selection_(new QItemSelectionModel(route_, this)) {
  connect(selection_, &QItemSelectionModel::selectionChanged, this,
          [this] { emit SelectionChanged(SelectedRow()); });
}

void PlanDocument::Change(const QString& what, const std::function<void(Plan&)>& edit,
                          MergeKey merge) {
  Plan next = plan_;
  edit(next);
  undo_->push(new PlanChange(*this, what, std::move(next), false, merge));
}

bool PlanDocument::ChangeIf(const QString& what, const std::function<bool(Plan&)>& edit) {
  Plan next = plan_;
  if (!edit(next)) return false;
  undo_->push(new PlanChange(*this, what, std::move(next), false, kOwnStep));
  return true;
}

void PlanDocument::ReplaceAsChange(const QString& what, Plan whole) {
  undo_->push(new PlanChange(*this, what, std::move(whole), true, kOwnStep));
}

void PlanDocument::Replace(Plan whole) {
  Swap(whole, true);
  undo_->clear();
}

void PlanDocument::SetFileName(const std::string& path) {
  plan_.filename = path;
}

bool PlanDocument::IsModified() const {
  return !undo_->isClean();
}

void PlanDocument::MarkSaved() {
  undo_->setClean();
}

void PlanDocument::MarkUnsaved() {
  undo_->resetClean();
}

void PlanDocument::Swap(Plan& other, bool with_filename) {
  // A plan that takes the place of another starts with nothing selected.
  const RowsEdit reset{RowsEdit::Reset, 0, -1};
  if (!with_filename) other.filename = plan_.filename;
  const RowsEdit route = with_filename ? reset : Compare(plan_.route, other.route);
  const RowsEdit fields = with_filename ? reset : Compare(plan_.airfields, other.airfields);
  route_->Begin(route);
  airfields_->Begin(fields);
  std::swap(plan_, other);
  // Every observer of the change reads the new log.
  log_.reset();
  airfields_->End(fields);
  route_->End(route);
  if (with_filename) emit Replaced();
  emit Changed();
}

const NavLog& PlanDocument::Log() const {
  if (!log_) {
    log_ = ComputeLog(plan_);
    // The model is read only for a plan whose legs run between positions.
    const auto placed = [](const Checkpoint& row) { return row.position.has_value(); };
    if (std::count_if(plan_.route.begin(), plan_.route.end(), placed) >= 2)
      MarkTypedOverPositions(plan_, DesktopVariation(), *log_);
  }
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
