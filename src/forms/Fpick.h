// A list to pick one of several places an ident or a name found.
#pragma once

#include <QStringList>

#include "forms/Formutil.h"

class QListWidget;
class QPushButton;

class TFormPickPlace : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormPickPlace(QWidget* parent = nullptr);

  QListWidget* ListPlaces;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;

  // The rows to choose from; the first is selected.
  void SetPlaces(const QStringList& places);
  int Chosen() const;  // -1 when none

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
};

// Shows the list modally; the chosen row's index, or -1 when cancelled.
int PickPlace(QWidget* parent, const QString& caption, const QStringList& places);
