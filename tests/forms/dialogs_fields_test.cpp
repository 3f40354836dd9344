// The airfield list: every change reaches the plan and marks it modified.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeView>

#include "DialogsTestUtil.h"
#include "ScriptedDesktop.h"
#include "forms/Faddfld.h"
#include "forms/Ffield.h"
#include "forms/PlanDocument.h"

namespace {

AirfieldInfo Field(const std::string& name, const std::string& elevation) {
  AirfieldInfo field;
  field.name = name;
  field.elevation = elevation;
  field.unicom = "122.8";
  return field;
}

class AirfieldListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Show([](Plan& plan) {
      plan.airfields = {Field("Alpha", "100"), Field("Bravo", "200"), Field("Charlie", "300")};
    });
  }

  // The document holds the plan as `edit` leaves it, as if it had been opened so.
  void Show(const std::function<void(Plan&)>& edit) {
    Plan next = plan_;
    edit(next);
    document_.Replace(std::move(next));
  }

  void Select(int row) {
    fields_.ListViewFields->selectionModel()->select(
        fields_.Model()->index(row, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  // Plays the airfield dialog: `fill` types, then `button` is pressed.
  void Answer(std::function<void(TFormAddField&)> fill, void (TFormAddField::*button)()) {
    desk_.dialog_answers.push_back([fill, button](QDialog* dialog) {
      auto* form = static_cast<TFormAddField*>(dialog);
      fill(*form);
      (form->*button)();
      return form->result();
    });
  }

  ScriptedDesktop desk_;
  PlanDocument document_;
  const Plan& plan_ = document_.plan();
  TFormFields fields_{document_};
  TFormAddField& add_ = *fields_.FormAddField();
};

TEST_F(AirfieldListTest, AddAppendsAtTheEndFromAnEmptiedDialog) {
  add_.EditRunways->setText("left over");
  Select(1);
  bool was_cleared = false;
  Answer(
      [&was_cleared](TFormAddField& f) {
        was_cleared = f.EditRunways->text().isEmpty();
        f.EditName->setText("Delta");
        f.EditTPA->setText("1200");
        f.EditGround->setText("121.9");
      },
      &TFormAddField::Button1Click);
  fields_.ButtonAddClick();
  EXPECT_TRUE(was_cleared);
  ASSERT_EQ(plan_.airfields.size(), 4u);
  EXPECT_EQ(plan_.airfields[3].name, "Delta");
  EXPECT_EQ(plan_.airfields[3].tpa, "1200");
  EXPECT_EQ(plan_.airfields[3].ground, "121.9");
  EXPECT_EQ(fields_.Model()->rowCount(), 4);
  EXPECT_EQ(fields_.SelectedRow(), 1);
  EXPECT_TRUE(document_.IsModified());
  ASSERT_EQ(desk_.shown_dialogs.size(), 1u);
  EXPECT_EQ(desk_.shown_dialogs[0], &add_);
}

TEST_F(AirfieldListTest, AddNeedsAFieldNameAndCancelAddsNothing) {
  Answer([](TFormAddField&) {}, &TFormAddField::Button2Click);
  fields_.ButtonAddClick();
  EXPECT_EQ(plan_.airfields.size(), 3u);
  EXPECT_FALSE(document_.IsModified());

  // Ok on a name of blanks is refused and the dialog stays open, with what
  // the user types next going into the name, or cancel.
  desk_.message_answers = {mrOk};
  int after_ok = -1;
  QWidget* focused = nullptr;
  Answer(
      [&after_ok, &focused](TFormAddField& f) {
        f.EditName->setText("   ");
        f.EditElevation->setText("450");
        f.Button1->setFocus(Qt::MouseFocusReason);
        f.Button1Click();
        after_ok = f.result();
        focused = f.focusWidget();
        Type(f.EditName, "K");
      },
      &TFormAddField::Button2Click);
  fields_.ButtonAddClick();
  EXPECT_EQ(after_ok, mrNone);
  EXPECT_EQ(focused, add_.EditName);
  EXPECT_EQ(add_.EditName->text(), "K");  // the blanks were selected, so typing replaced them
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].text, "You must enter a field name!");
  EXPECT_EQ(desk_.messages[0].caption, "error");
  EXPECT_EQ(plan_.airfields.size(), 3u);

  // Whatever answers the dialog, the list never takes a nameless airfield.
  desk_.dialog_answers.push_back([](QDialog*) { return int(mrOk); });
  fields_.ButtonAddClick();
  EXPECT_EQ(plan_.airfields.size(), 3u);
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(AirfieldListTest, AirfieldDialogOpensWithTheNameReadyToType) {
  // The user added one airfield with the mouse: the focus was left on Ok.
  add_.Button1->setFocus(Qt::MouseFocusReason);
  QWidget* focused = nullptr;
  QString selected;
  auto look = [&focused, &selected](TFormAddField& f) {
    focused = f.focusWidget();
    selected = f.EditName->selectedText();
    f.EditName->setText("Echo");
  };
  Answer(look, &TFormAddField::Button1Click);
  fields_.ButtonAddClick();
  EXPECT_EQ(focused, add_.EditName);
  EXPECT_EQ(selected, "");

  add_.Button1->setFocus(Qt::MouseFocusReason);
  Select(1);
  Answer(look, &TFormAddField::Button2Click);
  fields_.ButtonEditClick();
  EXPECT_EQ(focused, add_.EditName);
  EXPECT_EQ(selected, "Bravo");
}

TEST_F(AirfieldListTest, EditNeedsASelectionAndRewritesTheRow) {
  desk_.message_answers = {mrOk};
  fields_.ButtonEditClick();
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].text, "Please select an item in the list first!");
  EXPECT_EQ(desk_.messages[0].caption, "Error");
  EXPECT_EQ(desk_.messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(desk_.shown_dialogs.empty());

  Select(1);
  QString shown;
  Answer(
      [&shown](TFormAddField& f) {
        shown = f.EditName->text() + "|" + f.EditElevation->text() + "|" + f.EditUnicom->text();
        f.EditElevation->setText("250");
      },
      &TFormAddField::Button1Click);
  fields_.ButtonEditClick();
  EXPECT_EQ(shown, "Bravo|200|122.8");
  EXPECT_EQ(plan_.airfields[1].elevation, "250");
  EXPECT_EQ(plan_.airfields[1].name, "Bravo");
  EXPECT_EQ(fields_.Model()->data(fields_.Model()->index(1, 1), Qt::DisplayRole).toString(), "250");
  EXPECT_TRUE(document_.IsModified());
}

TEST_F(AirfieldListTest, ResetThenCancelKeepsTheRowResetThenOkEmptiesIt) {
  Select(0);
  Answer([](TFormAddField& f) { f.ButtonResetClick(); }, &TFormAddField::Button2Click);
  fields_.ButtonEditClick();
  EXPECT_EQ(plan_.airfields[0].name, "Alpha");
  EXPECT_FALSE(document_.IsModified());

  Answer(
      [](TFormAddField& f) {
        f.ButtonResetClick();
        EXPECT_EQ(f.result(), mrNone);  // Reset keeps the dialog open
      },
      &TFormAddField::Button1Click);
  fields_.ButtonEditClick();
  for (int k = 0; k < kAirfieldColumns; ++k) EXPECT_EQ(AirfieldColumn(plan_.airfields[0], k), "");
  EXPECT_TRUE(document_.IsModified());
}

TEST_F(AirfieldListTest, DeleteAsksByNameAndRemovesOnYes) {
  desk_.message_answers = {mrOk};
  fields_.ButtonDeleteClick();
  EXPECT_EQ(desk_.messages.back().text, "Please select an item in the list first!");

  Select(2);
  desk_.message_answers = {mrNo, mrYes};
  fields_.ButtonDeleteClick();
  EXPECT_EQ(desk_.messages.back().text, "Are you sure you wish to delete field Charlie ?");
  EXPECT_EQ(desk_.messages.back().caption, "Confirm");
  EXPECT_EQ(desk_.messages.back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(plan_.airfields.size(), 3u);
  EXPECT_FALSE(document_.IsModified());

  fields_.ButtonDeleteClick();
  ASSERT_EQ(plan_.airfields.size(), 2u);
  EXPECT_EQ(plan_.airfields[1].name, "Bravo");
  EXPECT_EQ(fields_.Model()->rowCount(), 2);
  EXPECT_TRUE(document_.IsModified());

  Show([](Plan& plan) { plan.airfields[0].name.clear(); });
  Select(0);
  desk_.message_answers = {mrNo};
  fields_.ButtonDeleteClick();
  EXPECT_EQ(desk_.messages.back().text, "Are you sure you wish to delete field  ?");
}

TEST_F(AirfieldListTest, RenameInPlaceChangesTheNameOnlyAndMarksChanges) {
  AirfieldModel* model = fields_.Model();
  EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model->setData(model->index(0, 1), "999", Qt::EditRole));
  EXPECT_EQ(plan_.airfields[0].elevation, "100");

  EXPECT_TRUE(model->setData(model->index(0, 0), "Alpha", Qt::EditRole));
  EXPECT_FALSE(document_.IsModified());  // committing the unchanged name is no change

  EXPECT_TRUE(model->setData(model->index(0, 0), "Alpine", Qt::EditRole));
  EXPECT_EQ(plan_.airfields[0].name, "Alpine");
  EXPECT_TRUE(document_.IsModified());

  // A pasted name longer than the file keeps is cut at a character boundary.
  model->setData(model->index(1, 0), QString(200, QChar(0x00E9)), Qt::EditRole);
  EXPECT_EQ(plan_.airfields[1].name.size(), 254u);
}

TEST_F(AirfieldListTest, ReplacedPlanListIsShownAndHeadersAreTheColumns) {
  Show([](Plan& plan) { plan.airfields = {Field("Zulu", "5")}; });
  EXPECT_EQ(fields_.Model()->rowCount(), 1);
  EXPECT_EQ(fields_.Model()->data(fields_.Model()->index(0, 0), Qt::DisplayRole).toString(),
            "Zulu");
  const char* captions[] = {"Field Name", "Elevation", "TPA",    "Runways", "ATC",
                            "CTAF",       "ATIS",      "Ground", "Unicom"};
  const int widths[] = {150, 60, 60, 100, 60, 50, 50, 50, 50};
  for (int c = 0; c < kAirfieldColumns; ++c) {
    EXPECT_EQ(fields_.Model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
              captions[c]);
    // The drawn widths, narrowed alike to fit the list (the last one takes
    // what is left).
    const int width = fields_.ListViewFields->columnWidth(c);
    if (c + 1 < kAirfieldColumns) {
      EXPECT_LE(width, widths[c]);
    }
    EXPECT_GE(width, widths[c] * 7 / 10);
  }
}

TEST_F(AirfieldListTest, SelectionShowsOnlyWhileTheListHasTheFocus) {
  QTreeView* list = fields_.ListViewFields;
  Select(0);
  // The background of row 0 (selected) and row 2 in the empty ATC column.
  auto selected_looks_plain = [list, this] {
    const QImage image = list->viewport()->grab().toImage();
    const int x = list->columnViewportPosition(4) + 20;
    const int selected = list->visualRect(fields_.Model()->index(0, 4)).center().y();
    const int plain = list->visualRect(fields_.Model()->index(2, 4)).center().y();
    return image.pixel(x, selected) == image.pixel(x, plain);
  };
  EXPECT_TRUE(selected_looks_plain());
  QFocusEvent focus_in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(list, &focus_in);
  EXPECT_FALSE(selected_looks_plain());
  QFocusEvent focus_out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(list, &focus_out);
  EXPECT_TRUE(selected_looks_plain());
  EXPECT_EQ(fields_.SelectedRow(), 0);
}

TEST_F(AirfieldListTest, DoneAndFrameCloseTheList) {
  fields_.ButtonDoneClick();
  EXPECT_EQ(fields_.result(), mrOk);
  fields_.show();
  fields_.close();
  EXPECT_EQ(fields_.result(), mrCancel);
  add_.show();
  add_.close();
  EXPECT_EQ(add_.result(), mrCancel);
}

}  // namespace

TEST_F(AirfieldListTest, EveryColumnFitsTheListAndNewRowsComeIntoSight) {
  fields_.show();
  ExpectColumnsFit(fields_.ListViewFields, "Unicom");

  // Widths follow the cells: frequencies show whole beside an empty ATC column.
  AirfieldInfo busy = Field("Watsonville Municipal", "163");
  busy.runways = "2/20, 9/27";
  busy.traffic = "119.025";
  busy.atis = "121.905";
  busy.ground = "121.875";
  busy.unicom = "122.950";
  Show([&busy](Plan& plan) { plan.airfields.push_back(busy); });
  ExpectColumnsFit(fields_.ListViewFields, "Unicom");
  for (int c = 5; c < kAirfieldColumns; ++c) {
    const QModelIndex cell = fields_.Model()->index(3, c);
    EXPECT_GE(fields_.ListViewFields->header()->sectionSize(c),
              fields_.ListViewFields->sizeHintForIndex(cell).width())
        << cell.data().toString().toStdString();
  }

  for (int i = 0; i < 20; ++i) {
    Answer([i](TFormAddField& f) { f.EditName->setText(QString("Field %1").arg(i)); },
           &TFormAddField::Button1Click);
    fields_.ButtonAddClick();
  }
  ASSERT_EQ(fields_.Model()->rowCount(), 24);
  EXPECT_TRUE(fields_.ListViewFields->verticalScrollBar()->isVisible());
  ExpectColumnsFit(fields_.ListViewFields, "Unicom");
  const QRect added = fields_.ListViewFields->visualRect(fields_.Model()->index(23, 0));
  EXPECT_TRUE(fields_.ListViewFields->viewport()->rect().contains(added));
}
