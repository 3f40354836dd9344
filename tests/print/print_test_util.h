// Plans and canvases the print tests share.
#pragma once

#include <string>

#include "plan/legs.h"
#include "plan/plan.h"
#include "plan/route_row.h"
#include "print/printjob.h"
#include "print/recording_canvas.h"

// The printer of the worked example: 267 x 203 mm, 6300 x 4800 pixels.
inline RecordingCanvas ExampleCanvas() {
  return RecordingCanvas(6300, 4800, 267, 203);
}

// A landscape page at 600 dpi as a printer reports it: the whole sheet, or
// with `printermargins` the area inside a quarter inch on every side. Text
// is about as high as a real 1.15 em line.
enum class Sheet { Letter, A4, Legal };
inline RecordingCanvas SheetCanvas(Sheet sheet, bool printermargins) {
  int w = 6600, h = 5100, wmm = 279, hmm = 216;
  if (sheet == Sheet::A4) w = 7016, h = 4961, wmm = 297, hmm = 210;
  if (sheet == Sheet::Legal) w = 8400, h = 5100, wmm = 356, hmm = 216;
  if (printermargins) w -= 300, h -= 300, wmm -= 13, hmm -= 13;
  return RecordingCanvas(w, h, wmm, hmm, 10);
}

inline void QuarterInchMargins(Plan& plan) {
  plan.print.topmargin = plan.print.leftmargin = 0.25;
  plan.print.rightmargin = plan.print.bottommargin = 0.25;
}

// Leg `i` of the test routes: a course change on every leg, the same wind,
// temperature, airspeed and variation throughout.
inline RowBuilder TestLeg(int i, const std::string& vor) {
  RowBuilder leg("CP" + std::to_string(i));
  leg.distance_nm(10 + i)
      .true_course_deg((i * 37) % 360 + 1)
      .altitude_ft(4500)
      .wind_from_deg(270)
      .wind_speed_kt(15)
      .temperature_c(8)
      .true_airspeed_kt(110)
      .variation_deg(5)
      .vor(vor);
  return leg;
}

// A computed plan of `legs` legs and `fields` airfields; every third leg has VOR data.
inline Plan MakePlan(int legs, int fields, bool shade = false) {
  Plan plan;
  plan.title = "Test Route";
  QuarterInchMargins(plan);
  plan.print.enableshade = shade ? 1 : 0;
  AddRow(plan, RowBuilder("Start"));
  for (int i = 1; i <= legs; ++i) AddRow(plan, TestLeg(i, i % 3 == 1 ? "112.3/ 090/ ABC/ To" : ""));
  for (int j = 0; j < fields; ++j) {
    plan.airfields.push_back({"Field" + std::to_string(j), "812", "1800", "14/32", "124.35",
                              "118.3", "126.65", "121.7", "122.8"});
  }
  return plan;
}

// A context opened on `canvas` with the plan's margins; the canvas keeps the
// measurements but nothing drawn so far.
inline PrintContext OpenJob(RecordingCanvas& canvas, const PrintSettings& settings) {
  PrintContext ctx;
  StartPrintJob(ctx, canvas, settings);
  canvas.Clear();
  return ctx;
}
