#include "print/printjob.h"

#include <algorithm>
#include <cmath>

#include "plan/columns.h"
#include "plan/fuel.h"
#include "plan/legs.h"
#include "print/blocks.h"
#include "print/table.h"

namespace {

// Every size on the form truncates toward zero, as C's conversion does.
int Trunc(double v) {
  return static_cast<int>(v);
}

// A margin in device pixels, from 0 to the page's size: a negative one would
// push the form off the sheet, and one past the page edge prints nothing
// sensible while it could overflow the size arithmetic that follows.
int MarginPixels(int pixels, double inches, double margin) {
  const double px = pixels / inches * margin;
  if (std::isnan(px)) return 0;
  return Trunc(std::clamp(px, 0.0, static_cast<double>(std::max(pixels, 0))));
}

// Devices that report no physical size are taken as 96 dpi screens rather
// than dividing by zero.
double Inches(int mm, int pixels) {
  if (mm > 0) return mm * (1.0 / 25.4);
  return pixels > 0 ? pixels / 96.0 : 1.0;
}

constexpr int kMaxRows = 12;
constexpr int kBlankRows = 10;
constexpr int kBlankFields = 4;
// More airfield rows than any page holds; keeps the counting inside an int.
constexpr int kManyFields = 1 << 20;

int PageTop(const PrintContext& ctx) {
  return ctx.toppx + ctx.unity / 60;
}

int FrameBottom(const PrintContext& ctx) {
  return ctx.pageheight - ctx.bottompx - ctx.pady;
}

int HeaderRowTop(const PrintContext& ctx) {
  return PageTop(ctx) + ctx.unity / 2;
}

int TableHeadTop(const PrintContext& ctx) {
  const int v = ctx.unity;
  return HeaderRowTop(ctx) + v / 4 + v / 8;
}

int FirstRowTop(const PrintContext& ctx) {
  return TableHeadTop(ctx) + ctx.unity / 2;
}

int TotalRowTop(const PrintContext& ctx, int rows) {
  return FirstRowTop(ctx) + (rows * ctx.unity) / 2;
}

// Where the airfield block starts: under the Total row and its band, or,
// on a page without a table, under the header row's band.
int FieldTop(const PrintContext& ctx, const PageLayout& layout) {
  const int v = ctx.unity;
  if (!layout.table) return TableHeadTop(ctx);
  return TotalRowTop(ctx, layout.rows) + v / 4 + v / 8;
}

// Airfield rows that fit between `fieldtop` and the frame under the block's
// header row; -1 when not even the header row fits.
int FieldsThatFit(const PrintContext& ctx, int fieldtop) {
  const int room = FrameBottom(ctx) - fieldtop;
  if (ctx.fieldrowheight <= 0) return room >= 0 ? kManyFields : -1;
  if (room < ctx.fieldrowheight) return -1;
  return std::min<int>(kManyFields, room / ctx.fieldrowheight - 1);
}

int FieldsBesideLegs(const PrintContext& ctx, int rows) {
  PageLayout layout;
  layout.rows = rows;
  return FieldsThatFit(ctx, FieldTop(ctx, layout));
}

// The most leg rows, up to `cap`, that leave room for `fields` airfield
// rows (for none: that keep the band inside the frame); at least one.
int RowsBeside(const PrintContext& ctx, int fields, int cap) {
  for (int rows = cap; rows > 1; --rows) {
    const int fit = FieldsBesideLegs(ctx, rows);
    if (fields == 0 ? TotalRowTop(ctx, rows) + ctx.unity / 4 + ctx.unity / 8 <= FrameBottom(ctx)
                    : fit >= fields) {
      return rows;
    }
  }
  return 1;
}

// The leg whose headings and ground speed are in effect on leg `first` when
// that leg, solved, has none of its own: the nearest earlier leg that
// printed them. Null on the first page and where nothing is carried.
const LegResult* CarriedInto(const NavLog& log, int first) {
  if (first <= 0 || first >= log.LegCount() || log.legs[first].ete == NOT_ENTERED) return nullptr;
  for (int j = first - 1; j >= 0; --j) {
    if (log.legs[j].mh != NOT_ENTERED) return &log.legs[j];
  }
  return nullptr;
}

// Sets the page that holds the last leg on every page.
void MarkTotalsPage(std::vector<PageLayout>& pages) {
  int totalspage = 0;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].lastlegs) totalspage = static_cast<int>(i) + 1;
  }
  for (PageLayout& layout : pages) layout.totalspage = totalspage;
}

// Pages of `cap` legs each, the last with what is left.
std::vector<PageLayout> LegPages(int legcount, int cap) {
  std::vector<PageLayout> pages;
  for (int firstleg = 0; firstleg < legcount;) {
    PageLayout layout;
    layout.firstleg = firstleg;
    layout.rows = std::min(cap, legcount - firstleg);
    layout.lastlegs = firstleg + layout.rows == legcount;
    pages.push_back(layout);
    firstleg += layout.rows;
  }
  return pages;
}

// Every page carries the whole airfield block, and one leg row fewer for
// every two airfields, and no more than leave it inside the frame.
std::vector<PageLayout> RepeatedBlockPages(const PrintContext& ctx, int legcount, int fieldcount) {
  const int cap =
      std::min(std::max(1, kMaxRows - fieldcount / 2), RowsBeside(ctx, fieldcount, kMaxRows));
  std::vector<PageLayout> pages = LegPages(legcount, cap);
  for (PageLayout& layout : pages) {
    layout.fields = fieldcount;
    layout.fieldheader = fieldcount > 0 || FieldsBesideLegs(ctx, layout.rows) >= 0;
  }
  MarkTotalsPage(pages);
  return pages;
}

std::string PageRange(int first, int last) {
  if (first == last) return "page " + std::to_string(first);
  return "pages " + std::to_string(first) + "\u2013" + std::to_string(last);
}

// The airfield block printed once: full pages of legs, the block starting
// under the last of them as far as the room and the rule of one leg row
// fewer for every two airfields allow, and continued on pages of its own.
// A page whose block does not reach the end of the list says where the rest
// is, in a row of the block.
std::vector<PageLayout> BlockOncePages(const PrintContext& ctx, int legcount, int fieldcount) {
  std::vector<PageLayout> pages = LegPages(legcount, RowsBeside(ctx, 0, kMaxRows));
  for (PageLayout& layout : pages) {
    const int fit = FieldsBesideLegs(ctx, layout.rows);
    layout.fieldheader = fit >= 0;
    if (layout.lastlegs) {
      int fields = std::min(fit, 2 * (kMaxRows - layout.rows) + 1);
      if (fields < fieldcount) --fields;  // the row that says where the rest is
      layout.fields = std::clamp(fields, 0, fieldcount);
    }
  }

  // Each page of its own holds at least one airfield, so the list always
  // comes to its end.
  PageLayout more;
  more.table = false;
  more.firstleg = legcount;
  const int room = FieldsThatFit(ctx, FieldTop(ctx, more));
  for (int next = pages.back().fields; next < fieldcount; next += more.fields) {
    more.firstfield = next;
    more.fields = std::clamp(room, 1, fieldcount - next);
    if (more.fields < fieldcount - next && more.fields > 1) --more.fields;
    pages.push_back(more);
  }
  MarkTotalsPage(pages);

  int firstpage = 0;
  int lastpage = 0;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].fields == 0) continue;
    if (firstpage == 0) firstpage = static_cast<int>(i) + 1;
    lastpage = static_cast<int>(i) + 1;
  }
  for (std::size_t i = 0; i < pages.size(); ++i) {
    PageLayout& layout = pages[i];
    const int page = static_cast<int>(i) + 1;
    const bool rest = layout.firstfield + layout.fields < fieldcount;
    if (!rest || !layout.fieldheader) continue;
    if (layout.fields == 0 && page < firstpage) {
      if (FieldsBesideLegs(ctx, layout.rows) >= 1) {
        layout.fieldnote = "Airfields: see " + PageRange(firstpage, lastpage);
      }
    } else if (layout.fields > 0) {
      layout.fieldnote = "More airfields: see " + PageRange(page + 1, lastpage);
    }
  }
  return pages;
}

}  // namespace

bool StartPrintJob(PrintContext& ctx, Canvas& canvas, const PrintSettings& settings) {
  ctx.printer = &canvas;
  ctx.areawidth = Inches(canvas.WidthMM(), canvas.PageWidth());
  ctx.areaheight = Inches(canvas.HeightMM(), canvas.PageHeight());
  const int pw = canvas.PageWidth();
  const int ph = canvas.PageHeight();
  ctx.pagewidth = pw;
  ctx.pageheight = ph;

  ctx.leftpx = MarginPixels(pw, ctx.areawidth, settings.leftmargin);
  ctx.rightpx = MarginPixels(pw, ctx.areawidth, settings.rightmargin);
  ctx.toppx = MarginPixels(ph, ctx.areaheight, settings.topmargin);
  ctx.bottompx = MarginPixels(ph, ctx.areaheight, settings.bottommargin);

  ctx.unitx = Trunc((pw * (ctx.areawidth / 10.87) - (ctx.leftpx + ctx.rightpx)) / ctx.areawidth);
  ctx.unity = Trunc((ph - (ctx.toppx + ctx.bottompx)) / ctx.areaheight);

  ctx.tableleft = ctx.leftpx;
  ctx.colwidth = Trunc(0.58 * ctx.unitx);
  ctx.cpleft = ctx.tableleft + 9 * ctx.colwidth;
  ctx.cpwidth = Trunc(1.5 * ctx.unitx);
  ctx.rightleft = ctx.cpleft + ctx.cpwidth;
  ctx.rcolwidth = Trunc(0.46 * ctx.unitx);
  ctx.tableright = ctx.rightleft + 9 * ctx.rcolwidth;
  ctx.padx = ctx.unitx / 60;
  ctx.pady = ctx.unity / 60;

  if (!canvas.BeginDoc()) {
    ctx.printer = nullptr;
    return false;
  }
  canvas.SetFontSize(12);
  ctx.text12height = canvas.TextHeight("test");
  canvas.SetFontSize(8);
  ctx.text8height = canvas.TextHeight("test");
  ctx.fieldrowheight = std::max(ctx.unity / 4, 2 * ctx.pady + 2 * ctx.text8height);
  return true;
}

void EndPrintJob(PrintContext& ctx) {
  if (ctx.printer) ctx.printer->EndDoc();
  ctx.printer = nullptr;
}

std::vector<PageLayout> PlanPages(const PrintContext& ctx, int legcount, int fieldcount) {
  if (legcount <= 0) return {};
  fieldcount = std::max(0, fieldcount);
  std::vector<PageLayout> once = BlockOncePages(ctx, legcount, fieldcount);
  // The block on every page, as printed logs always had it, unless printing
  // it once saves pages: with many airfields the legs would thin out to a
  // few a page.
  if (fieldcount <= FieldsBesideLegs(ctx, 1)) {
    std::vector<PageLayout> repeated = RepeatedBlockPages(ctx, legcount, fieldcount);
    if (repeated.size() <= once.size()) return repeated;
  }
  return once;
}

PageLayout PlanBlankPage(const PrintContext& ctx) {
  PageLayout layout;
  layout.rows = RowsBeside(ctx, kBlankFields, kBlankRows);
  layout.fields = std::clamp(FieldsBesideLegs(ctx, layout.rows), 0, kBlankFields);
  layout.lastlegs = true;
  return layout;
}

std::string FooterText(int page, int pages) {
  return "Halvix navigation log \u2014 page " + std::to_string(page) + " of " +
         std::to_string(pages);
}

void PrintPage(PrintContext& ctx, const Plan& plan, const NavLog& log, const PageLayout& layout,
               int page, int pages) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const bool shade = plan.print.enableshade != 0;

  if (page > 1) c.NewPage();
  c.SetBrushColor(kWhite);
  c.SetBrushStyle(BrushStyle::Solid);
  c.FillRect(0, 0, ctx.pagewidth - 1, ctx.pageheight - 1);

  const int top = PageTop(ctx);
  DrawTitleFrame(ctx, ctx.tableleft, top, plan.title);
  DrawTitleFrame(ctx, ctx.cpleft, top, plan.title);
  const std::string footer = FooterText(page, pages);

  if (layout.table) {
    const int tablehead = TableHeadTop(ctx);
    const int firstrow = FirstRowTop(ctx);
    const int totalrow = TotalRowTop(ctx, layout.rows);
    std::string departure;
    // The checkpoint the page's first leg starts from.
    if (!ctx.blankform && layout.firstleg == 0) {
      departure = log.departure;
    } else if (!ctx.blankform && layout.firstleg < log.LegCount()) {
      departure = log.legs[static_cast<std::size_t>(layout.firstleg)].from;
    }
    DrawTableHeader(ctx, tablehead, departure);
    DrawHeaderRow(ctx, plan.aircraft, HeaderRowTop(ctx));
    const LegResult* carried = CarriedInto(log, layout.firstleg);
    for (int i = 0; i < layout.rows; ++i) {
      const LegResult leg = ShownLeg(log, layout.firstleg + i);
      LegMarks marks;
      marks.fuel = LegFuelState(plan, leg);
      if (i == 0) marks.carried = carried;
      DrawLegRow(ctx, leg, firstrow + i * (v / 2), shade && i % 2 == 0, marks);
    }
    // The route totals on the page with the last leg; on earlier pages the
    // sums so far, so a pilot can fly from any page.
    const int through = layout.firstleg + layout.rows;
    const LegResult subtotals = layout.lastlegs ? LegResult{} : TotalsThrough(log, through);
    TotalsShown totals;
    totals.totals = layout.lastlegs ? &log.totals : &subtotals;
    if (!layout.lastlegs) totals.totalspage = layout.totalspage;
    for (int i = 0; i < through; ++i) totals.incomplete |= log.legs[i].ete == NOT_ENTERED;
    DrawTotalRow(ctx, totals, totalrow, shade && layout.rows % 2 == 0, footer);
    DrawBand(ctx, totalrow + v / 4);
  } else {
    DrawHeaderRow(ctx, plan.aircraft, HeaderRowTop(ctx));
  }

  static const std::vector<AirfieldInfo> kBlankAirfields(kBlankFields);
  const std::vector<AirfieldInfo>& source = ctx.blankform ? kBlankAirfields : plan.airfields;
  const int first = std::clamp(layout.firstfield, 0, static_cast<int>(source.size()));
  const int count = std::clamp(layout.fields, 0, static_cast<int>(source.size()) - first);
  std::vector<AirfieldInfo> fields(source.begin() + first, source.begin() + first + count);
  if (!layout.fieldnote.empty()) {
    fields.emplace_back();
    fields.back().name = layout.fieldnote;
  }

  const int fieldtop = FieldTop(ctx, layout);
  int notesbottom = ctx.pageheight - ctx.bottompx - 1;
  if (!layout.table) {
    // No Total row to carry the footer: it goes to the foot of the left half.
    c.SetFontSize(8);
    c.SetBrushColor(kWhite);
    const int footerbottom = FrameBottom(ctx) - ctx.pady;
    DrawTextCentered(ctx, ctx.tableleft, footerbottom, 9 * ctx.colwidth, footer);
    notesbottom = footerbottom - ctx.text8height - ctx.pady;
  }
  DrawAirfieldBlock(ctx, fields, fieldtop, layout.fieldheader, notesbottom);
}

void DrawTitleFrame(PrintContext& ctx, int x, int top, const std::string& title) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  c.SetFontSize(24);
  if (!ctx.blankform && !title.empty()) {
    // Each half shows the title once; a title longer than its half is set
    // smaller and then cut, so the left copy does not run over the right one.
    const int right = x == ctx.cpleft ? ctx.tableright : ctx.cpleft;
    const FittedText fit = FitText(c, title, right - x - 3 * ctx.padx, 16);
    c.SetFontSize(fit.size);
    const int h = c.TextHeight(fit.text);
    c.TextOut(x + 2 * ctx.padx, top + (v / 2 - h) / 2, fit.text);
    c.SetFontSize(24);
  }
  const int bottom = FrameBottom(ctx);
  DrawLine(c, ctx.cpleft, top, ctx.cpleft, bottom);
  c.MoveTo(ctx.tableleft, top);
  c.LineTo(ctx.tableleft, bottom);
  c.LineTo(ctx.tableright, bottom);
  c.LineTo(ctx.tableright, top);
  c.LineTo(ctx.tableleft, top);
}
