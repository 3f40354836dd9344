// The one plan of a run, shared by every window that shows or edits it.
// Windows observe the document and never reach into one another: each
// listens to Changed, Replaced and SelectionChanged, and edits the plan
// through the document so that the others follow.
#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <optional>
#include <string>

#include "forms/Formutil.h"
#include "plan/legs.h"
#include "plan/plan.h"

class QItemSelectionModel;

// The route list's columns: captions and drawn widths.
constexpr int kRouteColumnCount = 10;
extern const ListColumn kRouteColumns[kRouteColumnCount];

// The route rows of a plan as a list: column 0 is the checkpoint name (renamable
// in place), columns 1..9 the row's cells as typed.
class RouteListModel : public QAbstractTableModel {
 public:
  RouteListModel(Plan& plan, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Every change of the route goes through these, so the views follow.
  void Append(Checkpoint row);
  // The departure point: a name and nine empty cells.
  void AppendDeparture(const std::string& name);
  void Remove(int row);
  void Clear();
  void RowChanged(int row) { RowsChanged(row, row); }
  void RowsChanged(int first, int last);
  // The route was replaced behind the model's back (a plan was loaded).
  void Reload();

 private:
  Plan& plan_;
};

class PlanDocument : public QObject {
  Q_OBJECT

 public:
  explicit PlanDocument(QObject* parent = nullptr);

  Plan& plan() { return plan_; }
  const Plan& plan() const { return plan_; }

  // The route as rows for a list view. Route edits go through it, and each
  // one is announced with Changed.
  RouteListModel* Route() const { return route_; }

  // The log of the plan as it is now: computed once after each change, and
  // the same value for every window, the printout and the pre-print check.
  const NavLog& Log() const;

  // Sets the plan's `modified` flag and announces the change.
  void Edited();
  // After a command rewrote route cells in place (winds, VOR cross-checks):
  // every view redraws, the selection holds, and the plan is marked modified.
  void RouteEdited();

  // Takes over `whole` in one move (Open, Import Route, New): every field of
  // the plan comes from it. The selection is cleared.
  void Replace(Plan whole);

  // The selected route row, -1 for none. Views of the route share the
  // selection model, so a row removed or moved keeps the selection right.
  int SelectedRow() const;
  void SelectRow(int row);
  QItemSelectionModel* Selection() const { return selection_; }

 signals:
  // Anything the computed log depends on may have changed.
  void Changed();
  // The whole plan was replaced: title, route, airfields and settings.
  void Replaced();
  // The selected route row changed (-1: none).
  void SelectionChanged(int row);

 private:
  Plan plan_;
  mutable std::optional<NavLog> log_;  // empty until asked for after a change
  RouteListModel* route_;
  QItemSelectionModel* selection_;
};
