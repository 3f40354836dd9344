// The airfield dialog: one airfield's name, altitudes, runways and frequencies.
#pragma once

#include "forms/Formutil.h"
#include "plan/plan.h"

class QGroupBox;
class QLabel;
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
  QPushButton* ButtonLookUp;  // fills the edits from the aviation data
  QLabel* LabelLookUp;        // what the pilot should check after a Look Up

  // Set before each showing. An airfield being added needs a name: a row
  // without one cannot be seen in the list, yet it prints and takes leg rows
  // from every page.
  bool name_required = false;
  // Set before each showing: the route's checkpoints, so that the airport
  // chooser offers the fields nearest the route first.
  std::vector<GeoPosition> route_positions;

  void ClearEdits();
  void FieldRowToDialog(const AirfieldInfo& field);
  void DialogToFieldRow(AirfieldInfo& field) const;

 public slots:
  void Button1Click();
  void Button2Click();
  void ButtonResetClick();
  void ButtonLookUpClick();
};

// False for a name that is empty or blanks only.
bool HasFieldName(const AirfieldInfo& field);
