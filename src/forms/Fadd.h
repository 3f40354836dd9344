// The checkpoint dialog: one en-route row of the route.
#pragma once

#include <optional>

#include "data/aviation_records.h"
#include "forms/Formutil.h"
#include "plan/plan.h"
#include "plan/route_row.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFormAdd : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAdd(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* EditCheckpointName;
  QLineEdit* EditDistance;
  QLineEdit* EditTrueCourse;
  QLineEdit* EditAltitude;
  QLineEdit* EditAirspeed;
  QGroupBox* GroupBox1;
  QLineEdit* EditWindDir;
  QLineEdit* EditWindSpeed;
  QLineEdit* EditTemperature;
  QGroupBox* GroupBox2;
  QLineEdit* EditFreq;
  QLineEdit* EditBear;
  QLineEdit* EditIdent;
  QRadioButton* RadioButtonTo;
  QRadioButton* RadioButtonFrom;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;
  QPushButton* ButtonHelp;
  QLineEdit* EditMagVar;
  QLineEdit* EditLookUp;  // an airport, navaid or fix ident, or LAT,LON
  QPushButton* ButtonLookUp;

  // Set before each showing: where the previous checkpoint lies, for the
  // nearest of several places and the leg to the one looked up.
  std::optional<GeoPosition> previous_position;
  // Set before each showing of an existing row: where it lies, so that a
  // Look Up elsewhere fills again a VOR text the data filled there.
  std::optional<GeoPosition> row_position;
  // Where the looked-up checkpoint lies; empty unless Look Up found it.
  std::optional<GeoPosition> position;
  // The airport looked up, which joins the airfields; empty for other places.
  std::optional<Airport> airport;

  // All twelve edits empty, "From" selected.
  void ClearEdits();

  // The edit the pilot types `number` in; nullptr for none.
  QLineEdit* EditOf(RowNumber number) const;

  CheckpointDialogTexts Texts() const;
  void SetTexts(const CheckpointDialogTexts& texts);

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
  void ButtonHelpClick();
  void ButtonLookUpClick();

 private:
  void KeepTabOnCheckedRadio();
  void ClearToFrom();
};
