#include "forms/Formutil.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "forms/Desktop.h"
#include "plan/plan.h"

void PlaceDialog(QWidget* owner, QWidget* dialog) {
  if (owner == nullptr || dialog == nullptr) return;
  const QRect o = owner->frameGeometry();
  const QSize d = dialog->frameGeometry().size();
  // Integer division truncates toward zero, also for a dialog larger than its owner.
  int top = o.top() + (o.height() - d.height()) / 2;
  int left = o.left() + (o.width() - d.width()) / 2;
  if (top < 0) top = 0;
  if (left < 0) left = 0;
  // A dialog as big as its owner would hide it exactly; offset it so both show.
  if (std::abs(o.width() - d.width()) < 10) left += 15;
  if (std::abs(o.height() - d.height()) < 10) top += 15;
  const QSize screen = desktop().ScreenSize();
  // Keep clear of a task bar at the bottom.
  if (top + d.height() >= screen.height() - 50) top = screen.height() - d.height() - 50;
  if (left + d.width() >= screen.width()) left = screen.width() - d.width();
  dialog->move(left, top);
}

QSettings UserSettings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvix"),
                   QStringLiteral("halvix"));
}

QFont FormFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  // 8 points at the 96 dots per inch the pixel layout was drawn for; a pixel
  // size keeps texts and the fixed control geometry in step on any screen.
  font.setPixelSize(11);
  return font;
}

std::size_t Utf8Bytes(const QString& text) {
  return static_cast<std::size_t>(text.toUtf8().size());
}

void LimitBytes(QLineEdit* edit, std::function<std::size_t()> budget) {
  QObject::connect(
      edit, &QLineEdit::textEdited, edit, [edit, budget = std::move(budget)](const QString& text) {
        const std::size_t max = budget();
        if (Utf8Bytes(text) <= max) return;
        // What was just typed or pasted ends at the cursor: cut it, not the
        // text after it that the user already had.
        const int cursor = edit->cursorPosition();
        const std::string before = text.left(cursor).toStdString();
        const std::string after = text.mid(cursor).toStdString();
        QString kept;
        int new_cursor;
        if (after.size() <= max) {
          const QString head = QString::fromStdString(CutUtf8(before, max - after.size()));
          kept = head + QString::fromStdString(after);
          new_cursor = static_cast<int>(head.size());
        } else {
          kept = QString::fromStdString(CutUtf8(before + after, max));
          new_cursor = static_cast<int>(kept.size());
        }
        edit->setText(kept);
        edit->setCursorPosition(new_cursor);
      });
}

void LimitBytes(QLineEdit* edit, std::size_t max_bytes) {
  LimitBytes(edit, [max_bytes] { return max_bytes; });
}

MarginCheck RefuseUnreadableMargins(QWidget* owner, const PrintSettings& margins) {
  const MarginCheck check = CheckMargins(margins, LetterOrA4());
  if (!check.refusal.empty()) {
    desktop().MessageBox(owner, QString::fromStdString(check.refusal), QStringLiteral("error"),
                         MessageButtons::Ok);
  }
  return check;
}

double ReadNumber(const QString& text) {
  const std::string s = text.toStdString();
  std::size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // from_chars takes a '-' of its own; a second sign is no number.
  if (i >= s.size() || s[i] == '+' || s[i] == '-') return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(s.data() + i, s.data() + s.size(), value);
  // Infinite or unrepresentable values would poison the fuel sums and the
  // page geometry; they count as no number.
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return negative ? -value : value;
}

QString FormatFixed(double value, int decimals) {
  char buffer[512];  // the largest double has 309 digits before the point
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return QString();
  return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

bool PressFocusedButton(QWidget* window, QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  auto* focused = qobject_cast<QPushButton*>(window->focusWidget());
  if (focused == nullptr || !focused->isEnabled()) return false;
  focused->click();
  event->accept();
  return true;
}

namespace {

// The room for columns beside a vertical scroll bar.
int ColumnRoom(const QTreeView* list) {
  const int scroll_bar =
      list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
  return list->width() - 2 * list->frameWidth() - scroll_bar;
}

std::vector<int> CaptionWidths(const QTreeView* list, const ListColumn* columns, int count) {
  const int margin = 2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin) + 4;
  std::vector<int> widths(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c) {
    widths[c] =
        list->header()->fontMetrics().horizontalAdvance(QString::fromLatin1(columns[c].caption)) +
        margin;
  }
  return widths;
}

// Gives each column its `wanted` width; where the list is too small for them,
// every column gives up the same share of what it has beyond its `least`.
void ShareRoom(QTreeView* list, const std::vector<int>& wanted, const std::vector<int>& least) {
  const int room = ColumnRoom(list);
  int drawn = 0;
  int least_total = 0;
  for (std::size_t c = 0; c < wanted.size(); ++c) {
    drawn += wanted[c];
    least_total += least[c];
  }
  for (std::size_t c = 0; c < wanted.size(); ++c) {
    int width = wanted[c];
    if (drawn > room && drawn > least_total) {
      const int spare = std::max(0, room - least_total);
      width = least[c] + (wanted[c] - least[c]) * spare / (drawn - least_total);
    }
    list->header()->resizeSection(static_cast<int>(c), width);
  }
  list->header()->setStretchLastSection(true);
}

}  // namespace

void FitColumns(QTreeView* list, const ListColumn* columns, int count) {
  std::vector<int> wanted(static_cast<std::size_t>(count));
  std::vector<int> least = CaptionWidths(list, columns, count);
  for (int c = 0; c < count; ++c) {
    wanted[c] = columns[c].width;
    least[c] = std::min(least[c], wanted[c]);
  }
  ShareRoom(list, wanted, least);
}

void FitColumnsToContent(QTreeView* list, const ListColumn* columns, int count) {
  const std::vector<int> captions = CaptionWidths(list, columns, count);
  std::vector<int> need = captions;
  const QAbstractItemModel* model = list->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    for (int c = 0; c < count; ++c) {
      need[c] = std::max(need[c], list->sizeHintForIndex(model->index(row, c)).width());
    }
  }
  int need_total = 0;
  std::vector<int> wanted(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c) {
    need_total += need[c];
    wanted[c] = std::max(columns[c].width, need[c]);
  }
  if (need_total <= ColumnRoom(list)) {
    ShareRoom(list, wanted, need);
  } else {
    // Not every text fits: the long ones are cut, each column giving up a
    // share of what its texts need beyond its caption.
    ShareRoom(list, need, captions);
  }
}

ByteLimitDelegate::ByteLimitDelegate(std::size_t max_bytes, QObject* parent)
    : QStyledItemDelegate(parent), max_bytes_(max_bytes) {}

QWidget* ByteLimitDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) LimitBytes(line, max_bytes_);
  return editor;
}

HalvixDialog::HalvixDialog(QWidget* parent, const QString& caption, int client_width,
                           int client_height)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(caption);
  setFont(FormFont());
  setFixedSize(client_width, client_height);
}

void HalvixDialog::reject() {
  done(mrCancel);
}

void HalvixDialog::FocusEdit(QLineEdit* edit) {
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

void HalvixDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !escape_cancels_) {
    event->accept();
    return;
  }
  // From anywhere but a button only a dialog's own default button answers
  // Enter (QDialog does that below).
  if (PressFocusedButton(this, event)) return;
  QDialog::keyPressEvent(event);
}

namespace {

// The smallest factor (at least `from`) at which `text` fits a box of the
// given size scaled by it.
double FactorToFit(const QFontMetrics& metrics, const QString& text, QSize box, bool wrap,
                   double from) {
  for (double factor = from; factor < 2.0; factor += 0.01) {
    const int width = static_cast<int>(box.width() * factor);
    const int height = static_cast<int>(box.height() * factor);
    const QRect needed =
        wrap ? metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text)
             : metrics.boundingRect(text);
    if (needed.width() <= width && needed.height() <= height) return factor;
  }
  return 2.0;
}

}  // namespace

double HalvixDialog::FitToTexts() {
  double factor = 1.0;
  for (const QLabel* label : findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    factor =
        FactorToFit(label->fontMetrics(), label->text(), label->size(), label->wordWrap(), factor);
  }
  for (const QAbstractButton* button : findChildren<QAbstractButton*>()) {
    // Room for the frame of a push button or the mark of a check or radio box.
    const int chrome = qobject_cast<const QPushButton*>(button) ? 8 : 20;
    const QSize room(std::max(1, button->width() - chrome), button->height());
    factor = FactorToFit(button->fontMetrics(), button->text(), room, false, factor);
  }
  if (factor <= 1.0) return 1.0;
  // Only the controls this program placed; the insides of lists and boxes lay
  // themselves out.
  for (QWidget* child : findChildren<QWidget*>()) {
    QWidget* parent = child->parentWidget();
    if (parent != this && qobject_cast<QGroupBox*>(parent) == nullptr) continue;
    const QRect r = child->geometry();
    child->setGeometry(static_cast<int>(r.x() * factor), static_cast<int>(r.y() * factor),
                       static_cast<int>(r.width() * factor), static_cast<int>(r.height() * factor));
  }
  setFixedSize(static_cast<int>(width() * factor), static_cast<int>(height() * factor));
  return factor;
}

QLabel* HalvixDialog::AddLabel(QWidget* parent, const QString& text, int left, int top, int width,
                               int height, bool wrap) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(left, top, width, height);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(wrap);
  return label;
}

QLineEdit* HalvixDialog::AddEdit(QWidget* parent, const QString& label, int left, int top,
                                 int width, int height, QLabel** label_out) {
  auto* caption = new QLabel(label, parent);
  caption->setGeometry(left, top - 16, caption->fontMetrics().horizontalAdvance(label) + 2, 13);
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(left, top, width, height);
  caption->setBuddy(edit);
  if (label_out != nullptr) *label_out = caption;
  return edit;
}

QPushButton* HalvixDialog::MakeButton(QWidget* parent, const QString& text, int left, int top,
                                      int width, int height) {
  auto* button = new QPushButton(text, parent);
  button->setGeometry(left, top, width, height);
  // Otherwise Qt makes the first button the default when the dialog shows,
  // and Enter in an edit would close dialogs that have no default button.
  button->setAutoDefault(false);
  return button;
}

void HalvixDialog::SetTabOrder(std::initializer_list<QWidget*> controls) {
  QWidget* previous = nullptr;
  for (QWidget* control : controls) {
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
}

bool HalvixDialog::RequireText(const QLineEdit* edit, const QString& message) {
  if (!edit->text().isEmpty()) return true;
  desktop().MessageBox(this, message, QStringLiteral("error"), MessageButtons::Ok);
  return false;
}
