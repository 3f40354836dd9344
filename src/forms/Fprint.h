// The print options dialog: row shading and page margins.
#pragma once

#include "forms/Formutil.h"
#include "plan/plan.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormPrintSettings : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormPrintSettings(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLabel* Label2;
  QCheckBox* CheckBoxShade;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;
  QGroupBox* GroupBox2;
  QLabel* Label3;
  QLabel* Label4;
  QLineEdit* EditTop;
  QLineEdit* EditLeft;
  QLineEdit* EditBottom;
  QLineEdit* EditRight;

  // Shading box and margins with two decimals.
  void LoadSettings(const PrintSettings& settings);
  // Shading 1 or 0, then top, bottom, left and right margins read as numbers.
  void StoreSettings(PrintSettings& settings) const;

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
};
