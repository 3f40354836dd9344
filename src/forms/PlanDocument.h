// The one plan of a run, shared by every window that shows or edits it.
// Windows observe the document and never reach into one another: each
// listens to Changed, Replaced and SelectionChanged. Every change is one
// command on the document's undo stack: a window edits a copy of the plan
// and hands the document the change, which the others then follow.
#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "forms/Formutil.h"
#include "plan/legs.h"
#include "plan/plan.h"

class QItemSelectionModel;
class QUndoStack;
class PlanDocument;

// The route list's columns: captions and drawn widths.
constexpr int kRouteColumnCount = 10;
extern const ListColumn kRouteColumns[kRouteColumnCount];
// The airfield list's columns.
extern const ListColumn kFieldColumns[kAirfieldColumns];

// How a list of the plan went from one state to the next, so that its views
// keep their selection and scroll position where they can.
struct RowsEdit {
  enum Kind { Same, Inserted, Removed, Reset };
  Kind kind = Same;
  int first = 0;
  int last = -1;
};

// A list of the plan's rows as a table. Its rows change only through the
// document, which brackets each change with Begin and End.
class PlanListModel : public QAbstractTableModel {
 public:
  PlanListModel(const PlanDocument& document, int columns, QObject* parent);

  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void Begin(const RowsEdit& edit);
  void End(const RowsEdit& edit);

 protected:
  const Plan& plan() const;
  const PlanDocument& document_;

 private:
  int columns_;
};

// The route rows as a list: column 0 is the checkpoint name (renamable in
// place), columns 1..9 the row's cells as typed.
class RouteListModel : public PlanListModel {
 public:
  RouteListModel(PlanDocument& document, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  PlanDocument& editor_;
};

// The airfields as a list: the name (renamable in place), then the eight cells.
class AirfieldModel : public PlanListModel {
 public:
  AirfieldModel(PlanDocument& document, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  PlanDocument& editor_;
};

class PlanDocument : public QObject {
  Q_OBJECT

 public:
  explicit PlanDocument(QObject* parent = nullptr);

  const Plan& plan() const { return plan_; }

  // The route and the airfields as rows for list views; an in-place rename
  // through them is a change like any other.
  RouteListModel* Route() const { return route_; }
  AirfieldModel* Airfields() const { return airfields_; }

  // Changes that follow one another with the same key and the same name
  // become one undo step: the keystrokes of a title, the steps of a spin box.
  enum MergeKey { kOwnStep = -1, kTitleTyping = 1, kReserveSteps = 2 };

  // The log of the plan as it is now: computed once after each change, and
  // the same value for every window, the printout and the pre-print check.
  const NavLog& Log() const;

  // One undoable change named `what` ("Add Checkpoint"): `edit` works on a
  // copy of the plan, which then becomes the plan. The file name is not part
  // of a change.
  void Change(const QString& what, const std::function<void(Plan&)>& edit,
              MergeKey merge = kOwnStep);
  // As Change, when `edit` may find nothing to do: nothing is recorded when
  // it returns false.
  bool ChangeIf(const QString& what, const std::function<bool(Plan&)>& edit);
  // An undoable change to a whole other plan, file name included (Import Route).
  void ReplaceAsChange(const QString& what, Plan whole);

  // A new history: the plan read from a file, or a new plan. It counts as
  // saved; the selection is cleared.
  void Replace(Plan whole);

  // Where the next Save writes; no change of the plan.
  void SetFileName(const std::string& path);

  // Whether the plan differs from what was last saved or opened.
  bool IsModified() const;
  // The plan as it stands is what its file holds.
  void MarkSaved();
  // Its file does not hold it (a save failed): the save prompt asks until it does.
  void MarkUnsaved();
  QUndoStack* UndoStack() const { return undo_; }

  // The selected route row, -1 for none. Views of the route share the
  // selection model, so a row removed or moved keeps the selection right.
  int SelectedRow() const;
  void SelectRow(int row);
  QItemSelectionModel* Selection() const { return selection_; }

  // The undo stack's commands swap their copy with the plan through this.
  void Swap(Plan& other, bool with_filename);

 signals:
  // Anything the computed log depends on may have changed.
  void Changed();
  // The whole plan was replaced: title, route, airfields and settings.
  void Replaced();
  // The selected route row changed (-1: none).
  void SelectionChanged(int row);

 private:
  Plan plan_;
  QUndoStack* undo_;
  mutable std::optional<NavLog> log_;  // empty until asked for after a change
  RouteListModel* route_;
  AirfieldModel* airfields_;
  QItemSelectionModel* selection_;
};
