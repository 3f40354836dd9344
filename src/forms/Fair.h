// The aircraft and pilot dialog.
#pragma once

#include "forms/Formutil.h"
#include "plan/plan.h"

class QLineEdit;
class QPushButton;

class TFormAircraft : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAircraft(QWidget* parent = nullptr);

  QLineEdit* EditPilotName;
  QLineEdit* EditNNumber;
  QLineEdit* EditType;
  QLineEdit* EditGPH;
  QLineEdit* EditFullFuel;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;

  // Texts as they are, fuel values with one decimal.
  void LoadAircraft(const AircraftInfo& aircraft);
  // Texts as typed, fuel values read as numbers (no number gives 0).
  void StoreAircraft(AircraftInfo& aircraft) const;

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
};
