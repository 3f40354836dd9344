// The log through Qt's painter: images and PDF files, and halvix-navlog's
// options for them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "plan/planfile.h"
#include "print/export.h"
#include "print/navlog.h"
#include "print/qpainter_canvas.h"
#include "print_test_util.h"

namespace {

// A scratch directory, removed with everything in it afterwards.
class TempDir {
 public:
  std::string File(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }

 private:
  QTemporaryDir dir_;
};

std::string ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

Plan SamplePlan() {
  Plan plan;
  LoadPlan(plan, HALVIX_SAMPLE_PLAN);
  return plan;
}

bool Dark(const QImage& image, int x, int y) {
  return qGray(image.pixel(x, y)) < 128;
}

// Dark pixels within `reach` of (x, y) along a line: frame lines may sit a
// pixel off where the painter rounds.
bool InkNear(const QImage& image, int x, int y, int reach = 1) {
  for (int dx = -reach; dx <= reach; ++dx) {
    for (int dy = -reach; dy <= reach; ++dy) {
      const int px = x + dx;
      const int py = y + dy;
      if (image.valid(px, py) && Dark(image, px, py)) return true;
    }
  }
  return false;
}

double DarkShare(const QImage& image, int x0, int y0, int x1, int y1) {
  int dark = 0;
  int all = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x, ++all) dark += Dark(image, x, y);
  }
  return all ? static_cast<double>(dark) / all : 0.0;
}

TEST(RenderedPages, FrameLinesGridAndHatchCarryInk) {
  Plan plan = SamplePlan();
  std::vector<QImage> pages;
  ImagePagesCanvas canvas(1650, 1275, 150, [&](const QImage& page, int number) {
    EXPECT_EQ(number, static_cast<int>(pages.size()) + 1);
    pages.push_back(page.copy());
    return true;
  });
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 1);
  ASSERT_EQ(pages.size(), 1u);
  const QImage& page = pages[0];
  EXPECT_EQ(page.width(), 1650);

  const int v = ctx.unity;
  const int top = ctx.toppx + v / 60;
  const int bottom = ctx.pageheight - ctx.bottompx - ctx.pady;
  const int mid = (top + bottom) / 2;
  EXPECT_TRUE(InkNear(page, ctx.tableleft, mid));
  EXPECT_TRUE(InkNear(page, ctx.tableright, mid));
  EXPECT_TRUE(InkNear(page, ctx.cpleft, mid));
  EXPECT_TRUE(InkNear(page, (ctx.tableleft + ctx.tableright) / 2, top));
  EXPECT_TRUE(InkNear(page, (ctx.tableleft + ctx.tableright) / 2, bottom));
  const int firstrow = top + v / 2 + v / 4 + v / 8 + v / 2;
  EXPECT_TRUE(InkNear(page, ctx.tableleft + ctx.colwidth, firstrow + v / 4));

  // Outside the frame the paper stays white.
  EXPECT_FALSE(InkNear(page, ctx.tableleft / 2, mid));
  EXPECT_FALSE(InkNear(page, 1650 - 3, 3));

  // The band under the header row is a visible hatch: neither empty nor solid.
  const int band = top + v / 2 + v / 4;
  const double hatch =
      DarkShare(page, ctx.tableleft + 5, band + 2, ctx.tableright - 5, band + v / 8 - 2);
  EXPECT_GT(hatch, 0.15);
  EXPECT_LT(hatch, 0.7);

  // Shaded rows are light grey, not white and not dark.
  const QRgb shade = page.pixel(ctx.tableleft + ctx.colwidth / 2 + 7, firstrow + 4);
  EXPECT_EQ(qGray(shade), 240);
}

TEST(RenderedPages, ImagesGoToNumberedFilesAtTheirResolution) {
  TempDir dir;
  Plan plan = MakePlan(13, 0, true);
  ExportRequest request;
  request.dpi = 60;
  ExportResult result = ExportPng(plan, ComputeLog(plan), request, dir.File("log"));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.pages, 2);
  for (int n = 1; n <= 2; ++n) {
    QImage image(QString::fromStdString(dir.File("log-" + std::to_string(n) + ".png")));
    ASSERT_FALSE(image.isNull()) << n;
    EXPECT_EQ(image.width(), 660);
    EXPECT_EQ(image.height(), 510);
  }
  EXPECT_FALSE(PathExists(dir.File("log-3.png")));

  request.paper = PaperSize::A4;
  request.blank = true;
  result = ExportPng(plan, ComputeLog(plan), request, dir.File("a4"));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.pages, 1);
  QImage a4(QString::fromStdString(dir.File("a4-1.png")));
  EXPECT_EQ(a4.width(), 701);
  EXPECT_EQ(a4.height(), 496);
}

int PdfPages(const std::string& pdf) {
  static const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(
      std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

TEST(PdfOutput, OneLandscapePagePerPageOfTheLog) {
  TempDir dir;
  const std::string path = dir.File("log.pdf");
  ExportResult result =
      ExportPdf(MakePlan(25, 1), ComputeLog(MakePlan(25, 1)), ExportRequest{}, path);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.pages, 3);
  const std::string pdf = ReadFile(path);
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(PdfPages(pdf), 3);
  // Letter, landscape: 792 x 612 points.
  EXPECT_NE(pdf.find("/MediaBox [0 0 792.000000 612.000000]"), std::string::npos);

  // Where poppler is at hand, look at the ink too: the frame's left edge
  // sits at the quarter-inch margin.
  if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) return;
  const std::string png = dir.File("raster");
  ASSERT_EQ(std::system(("pdftoppm -r 100 -f 1 -l 1 -png '" + path + "' '" + png + "'").c_str()),
            0);
  QImage page(QString::fromStdString(png + "-1.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.width(), 1100);
  EXPECT_TRUE(InkNear(page, 25, 425, 2));
  EXPECT_FALSE(InkNear(page, 10, 425, 2));
}

// Words of a PDF as poppler reads them, with their boxes in points.
struct PdfWord {
  int page;
  double x0, y0, x1, y1;
  std::string text;
};

std::vector<PdfWord> PdfWords(const std::string& pdf, const std::string& html) {
  std::vector<PdfWord> words;
  if (std::system(("pdftotext -bbox '" + pdf + "' '" + html + "'").c_str()) != 0) return words;
  const std::string text = ReadFile(html);
  static const std::regex item(
      "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  int page = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), item); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (m.str(0) == "<page ") {
      ++page;
      continue;
    }
    words.push_back({page, std::stod(m.str(1)), std::stod(m.str(2)), std::stod(m.str(3)),
                     std::stod(m.str(4)), m.str(5)});
  }
  return words;
}

TEST(PdfOutput, EveryEnteredValueIsReadableWholeAndInItsPlace) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "poppler's pdftotext is not installed";
  }
  TempDir dir;
  for (PaperSize paper : {PaperSize::Letter, PaperSize::A4}) {
    Plan plan = MakePlan(14, 0);
    plan.print = PrintSettings{};
    for (int j = 0; j < 25; ++j) {
      plan.airfields.push_back({"Field" + std::to_string(j), "1250 ft MSL", "field elev unknown",
                                "14/32, 5/23", "118.555", "132.805", "124.350", "121.775",
                                "122.8"});
    }
    plan.route[1].subitems[kCellVor] = "124.350 VORTAC/ 090/ SJC/ To";
    ExportRequest request;
    request.paper = paper;
    const std::string pdf = dir.File("crowded.pdf");
    ExportResult result = ExportPdf(plan, ComputeLog(plan), request, pdf);
    ASSERT_TRUE(result.ok) << result.error;
    const std::vector<PdfWord> words = PdfWords(pdf, dir.File("words.html"));
    ASSERT_FALSE(words.empty());

    auto count = [&](const std::string& text) {
      return std::count_if(words.begin(), words.end(),
                           [&](const PdfWord& w) { return w.text == text; });
    };
    for (int j = 0; j < 25; ++j) EXPECT_GE(count("Field" + std::to_string(j)), 1) << j;
    for (int i = 1; i <= 14; ++i) EXPECT_GE(count("CP" + std::to_string(i)), 1) << i;
    EXPECT_GE(count("118.555"), 25) << "one word, never split over two lines";
    EXPECT_GE(count("132.805"), 25);
    EXPECT_EQ(count("118.55"), 0);

    // Letter is 612 points high, A4 595: nothing below the page's foot, and
    // no word lies over another (the fuel value beside a long VOR text).
    const double height = paper == PaperSize::Letter ? 612 : 595;
    for (const PdfWord& w : words) EXPECT_LE(w.y1, height) << w.text;
    for (std::size_t a = 0; a < words.size(); ++a) {
      for (std::size_t b = a + 1; b < words.size(); ++b) {
        const PdfWord& p = words[a];
        const PdfWord& q = words[b];
        if (p.page != q.page) continue;
        const double wide = std::min(p.x1, q.x1) - std::max(p.x0, q.x0);
        const double high = std::min(p.y1, q.y1) - std::max(p.y0, q.y0);
        const double lower = std::min(p.y1 - p.y0, q.y1 - q.y0);
        EXPECT_FALSE(wide > 0.5 && high > 0.6 * lower) << p.text << " over " << q.text;
      }
    }
  }
}

TEST(PdfOutput, UnwritablePathsReportWhyAndLeaveNothing) {
  TempDir dir;
  std::ofstream(dir.File("plain")) << "x";
  const std::string bad = dir.File("plain/log.pdf");
  ExportResult pdf = ExportPdf(MakePlan(3, 0), ComputeLog(MakePlan(3, 0)), ExportRequest{}, bad);
  EXPECT_FALSE(pdf.ok);
  EXPECT_FALSE(pdf.error.empty());
  ExportResult png =
      ExportPng(MakePlan(3, 0), ComputeLog(MakePlan(3, 0)), ExportRequest{}, dir.File("plain/log"));
  EXPECT_FALSE(png.ok);
  EXPECT_FALSE(png.error.empty());

  // A plan without legs is refused, and the old file stays as it was.
  std::ofstream(dir.File("old.pdf")) << "old";
  ExportResult empty = ExportPdf(Plan(), ComputeLog(Plan()), ExportRequest{}, dir.File("old.pdf"));
  EXPECT_FALSE(empty.ok);
  EXPECT_EQ(ReadFile(dir.File("old.pdf")), "old");
}

TEST(PaperSizes, ByNameInAnyCase) {
  PaperSize paper = PaperSize::A4;
  EXPECT_TRUE(ParsePaperSize("Letter", paper));
  EXPECT_EQ(paper, PaperSize::Letter);
  EXPECT_TRUE(ParsePaperSize("a4", paper));
  EXPECT_EQ(paper, PaperSize::A4);
  EXPECT_TRUE(ParsePaperSize("LEGAL", paper));
  EXPECT_EQ(paper, PaperSize::Legal);
  EXPECT_FALSE(ParsePaperSize("a5", paper));
  EXPECT_FALSE(ParsePaperSize("", paper));
}

int Navlog(const std::string& args) {
  const int status =
      std::system((std::string(HALVIX_NAVLOG) + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(NavlogPrinting, WritesPdfAndPngAndReportsErrors) {
  TempDir dir;
  const std::string sample = std::string("'") + HALVIX_SAMPLE_PLAN + "'";
  EXPECT_EQ(Navlog("--pdf '" + dir.File("log.pdf") + "' " + sample), 0);
  EXPECT_EQ(PdfPages(ReadFile(dir.File("log.pdf"))), 1);
  EXPECT_EQ(Navlog("--png '" + dir.File("p") + "' --dpi 50 --page legal " + sample), 0);
  EXPECT_EQ(QImage(QString::fromStdString(dir.File("p-1.png"))).width(), 700);
  EXPECT_EQ(Navlog("--blank --pdf '" + dir.File("blank.pdf") + "'"), 0);
  EXPECT_EQ(PdfPages(ReadFile(dir.File("blank.pdf"))), 1);

  EXPECT_EQ(Navlog("--pdf '" + dir.File("x.pdf") + "' '" + dir.File("missing.flt") + "'"), 1);
  // Millimetres typed as inches: refused, not printed as scraps.
  std::string plan = ReadFile(HALVIX_SAMPLE_PLAN);
  plan.replace(plan.find("leftmargin=0.250000"), 19, "leftmargin=5");
  std::ofstream(dir.File("wide.flt")) << plan;
  EXPECT_EQ(Navlog("--pdf '" + dir.File("x.pdf") + "' '" + dir.File("wide.flt") + "'"), 1);
  EXPECT_EQ(Navlog("--blank --png '" + dir.File("x") + "' '" + dir.File("wide.flt") + "'"), 1);
  EXPECT_EQ(Navlog("--pdf '" + dir.File("x.pdf") + "'"), 2);
  EXPECT_EQ(Navlog("--png p --dpi 10 " + sample), 2);
  EXPECT_EQ(Navlog("--png p --dpi many " + sample), 2);
  EXPECT_EQ(Navlog("--pdf x.pdf --page a5 " + sample), 2);
  EXPECT_EQ(Navlog("--blank " + sample), 2);
  EXPECT_EQ(Navlog(sample + " --pdf"), 2);
  EXPECT_FALSE(PathExists(dir.File("x.pdf")));
  EXPECT_FALSE(PathExists(dir.File("x-1.png")));

  std::ofstream(dir.File("plain")) << "x";
  const std::string cmd =
      std::string(HALVIX_NAVLOG) + " --pdf '" + dir.File("plain/log.pdf") + "' " + sample + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[512];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int status = pclose(p);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(out.find("plain/log.pdf"), std::string::npos) << out;
  EXPECT_NE(out.find("directory"), std::string::npos) << "the reason: " << out;
}

}  // namespace
