// Helpers every dialog shares: placing a dialog over its owner, the window
// font, the byte limits of the edits and the common dialog behaviour.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QString>
#include <QStyledItemDelegate>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "forms/Desktop.h"
#include "print/margins.h"

class QKeyEvent;
class QLabel;
class QTreeView;
class QLineEdit;
class QWidget;

// The window held in `slot`, made on its first use from `args` (its owner
// among them): start-up makes only the main window. `slot` empties itself
// when the window goes.
template <typename Window, typename... Args>
Window* MadeOnFirstUse(QPointer<Window>& slot, Args&&... args) {
  if (slot.isNull()) slot = new Window(std::forward<Args>(args)...);
  return slot;
}

// Positions `dialog` centred over `owner` (with a 15 pixel nudge when the two
// are nearly the same size) and keeps it on the screen. Does nothing when
// either is missing.
void PlaceDialog(QWidget* owner, QWidget* dialog);

// The user's settings of the program (folders, paper, margins last used).
QSettings UserSettings();

// The 8-point sans face the windows' pixel layout was drawn for.
QFont FormFont();

// Size in bytes of the text as it is stored (UTF-8).
std::size_t Utf8Bytes(const QString& text);

// Keeps what the user types or pastes into `edit` within `budget()` bytes of
// UTF-8, removing the excess from the text just inserted and never splitting
// a character. The budget is asked on every edit, so edits that share one
// stored field can share it.
void LimitBytes(QLineEdit* edit, std::function<std::size_t()> budget);
void LimitBytes(QLineEdit* edit, std::size_t max_bytes);

// Reads a number the way the C library's atof does in the "C" locale, whatever
// the user's locale: leading blanks, sign, digits with '.', exponent; reading
// stops at the first character that cannot continue the number; no number
// at the start gives 0.
double ReadNumber(const QString& text);

// printf's "%.<decimals>f" in the "C" locale: ties round as the C library
// rounds them (0.125 gives "0.12"), and the point stays a point in any locale.
QString FormatFixed(double value, int decimals);

// Checks `margins` on letter and A4 alike, the page a log goes to being
// unknown until it prints; margins that leave the form too small to be read
// are refused in a message box over `owner`.
MarginCheck RefuseUnreadableMargins(QWidget* owner, const PrintSettings& margins);

// Enter on a focused push button presses it, as Space does. True when the
// key was Enter (or the keypad's) and a button of `window` answered it.
bool PressFocusedButton(QWidget* window, QKeyEvent* event);

// One column of a report-style list: its caption and drawn width in pixels.
struct ListColumn {
  const char* caption;
  int width;
};

// Gives the columns of `list` their drawn widths, narrowed where the list is
// too small for them so that every column fits beside a vertical scroll bar
// (each keeping room for its caption). The last column takes what is left.
// A list of fixed size must not hide a column behind a horizontal bar.
void FitColumns(QTreeView* list, const ListColumn* columns, int count);

// As FitColumns, each column first widened to what its caption and its cells
// need. Narrowing takes from the room beyond that need first, so a short
// text such as a frequency is cut only when the cells cannot all fit.
void FitColumnsToContent(QTreeView* list, const ListColumn* columns, int count);

// An in-place editor for a list's first column that keeps names within a byte limit.
class ByteLimitDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  ByteLimitDelegate(std::size_t max_bytes, QObject* parent);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;

 private:
  std::size_t max_bytes_;
};

// A fixed-size modal dialog that hands back the modal results: closing it by
// its frame (or Escape, where it has a cancel button) ends it with mrCancel.
class HalvixDialog : public QDialog {
  Q_OBJECT
 public:
  HalvixDialog(QWidget* parent, const QString& caption, int client_width, int client_height);

  void reject() override;

  // The next showing opens with the focus in `edit` and its whole text
  // selected, so what the user types replaces it. Without this a dialog
  // reopens with the focus where it was left, often on a button.
  void FocusEdit(QLineEdit* edit);

 protected:
  // Dialogs without a cancel button ignore Escape. Enter presses the focused
  // button, else the dialog's default button if it has one, else nothing.
  void SetEscapeCancels(bool cancels) { escape_cancels_ = cancels; }
  void keyPressEvent(QKeyEvent* event) override;

  // Called last by each dialog's constructor: when a text does not fit its
  // control in the font at hand, enlarges the whole window and every control
  // by one factor, keeping the drawn proportions. Returns the factor used.
  double FitToTexts();

  // A word-wrapped or single-line label at the given place.
  QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top, int width, int height,
                   bool wrap = false);
  // A one-line edit with its label 16 pixels above it at the same left.
  QLineEdit* AddEdit(QWidget* parent, const QString& label, int left, int top, int width,
                     int height, QLabel** label_out = nullptr);
  // A push button whose clicks run `handler`.
  template <typename Dialog>
  QPushButton* AddButton(QWidget* parent, const QString& text, int left, int top, int width,
                         int height, void (Dialog::*handler)()) {
    QPushButton* button = MakeButton(parent, text, left, top, width, height);
    connect(button, &QPushButton::clicked, static_cast<Dialog*>(this), handler);
    return button;
  }
  // Tab moves through `controls` in this order.
  void SetTabOrder(std::initializer_list<QWidget*> controls);
  // Shows `message` (caption "error") and answers false when `edit` is empty;
  // the dialog stays open for the user to fill it in.
  bool RequireText(const QLineEdit* edit, const QString& message);

 private:
  QPushButton* MakeButton(QWidget* parent, const QString& text, int left, int top, int width,
                          int height);

  bool escape_cancels_ = true;
};
