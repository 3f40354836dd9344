// The departure dialog: the name of the route's first row.
#pragma once

#include "forms/Formutil.h"

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

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
};

extern TFormAddFirst* FormAddFirst;
