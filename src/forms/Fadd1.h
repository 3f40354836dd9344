// The departure dialog: the name of the route's first row.
#pragma once

#include <optional>

#include "data/aviation_records.h"
#include "forms/Formutil.h"
#include "plan/plan.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFormAddFirst : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAddFirst(QWidget* parent = nullptr);

  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label1;
  QLineEdit* EditDeparture;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;
  QLineEdit* EditLookUp;  // an airport, navaid or fix ident, or LAT,LON
  QPushButton* ButtonLookUp;

  // Where the departure lies; empty unless Look Up found it. Reset with
  // ResetLookUp before each showing.
  std::optional<GeoPosition> position;
  // The airport looked up, which joins the airfields; empty for other places.
  std::optional<Airport> airport;
  // Set before each showing: the positions of the rest of the route, so that
  // the chooser offers the places nearest it first.
  std::vector<GeoPosition> route_positions;
  void ResetLookUp();

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
  void ButtonLookUpClick();
};
