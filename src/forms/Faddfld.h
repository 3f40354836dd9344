// The airfield dialog: one airfield's name, altitudes, runways and frequencies.
#pragma once

#include "forms/Formutil.h"
#include "plan/plan.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

class TFormAddField : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAddField(QWidget* parent = nullptr);

  QLineEdit* EditName;
  QLineEdit* EditElevation;
  QLineEdit* EditTPA;
  QLineEdit* EditRunways;
  QPushButton* Button1;  // "Ok"
  QPushButton* Button2;  // "Cancel"
  QGroupBox* GroupBox1;
  QLineEdit* EditATC;
  QLineEdit* EditTraffic;
  QLineEdit* EditATIS;
  QLineEdit* EditGround;
  QLineEdit* EditUnicom;
  QPushButton* ButtonReset;

  void ClearEdits();
  void FieldRowToDialog(const AirfieldInfo& field);
  void DialogToFieldRow(AirfieldInfo& field) const;

 public slots:
  void Button1Click();
  void Button2Click();
  void ButtonResetClick();
};

extern TFormAddField* FormAddField;
