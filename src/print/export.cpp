#include "print/export.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "plan/fileio.h"
#include "print/kneeboard.h"
#include "print/navlog.h"
#include "print/printjob.h"
#include "print/qpainter_canvas.h"

namespace {

int Draw(Canvas& canvas, const Plan& plan, const NavLog& log, const ExportRequest& request) {
  const bool blank = request.blank;
  if (IsKneeboard(request.paper)) return PrintKneeboardOn(canvas, plan, log, blank);
  PrintContext ctx;
  return blank ? PrintBlankFormOn(canvas, plan, ctx) : PrintFilledLogOn(canvas, plan, log, ctx);
}

std::string NothingToPrint(const NavLog& log) {
  return log.LegCount() > 0 ? std::string("the page could not be drawn")
                            : std::string("the plan has no leg to print");
}

}  // namespace

QPageSize::PageSizeId PageSizeIdOf(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return QPageSize::A4;
    case PaperSize::Legal:
      return QPageSize::Legal;
    case PaperSize::A5:
      return QPageSize::A5;
    case PaperSize::HalfLetter:
      return QPageSize::Statement;  // 5.5 by 8.5 inches
    case PaperSize::Letter:
      break;
  }
  return QPageSize::Letter;
}

bool ParsePaperSize(const std::string& name, PaperSize& paper) {
  std::string lower;
  for (unsigned char c : name) lower += static_cast<char>(std::tolower(c));
  if (lower == "letter") {
    paper = PaperSize::Letter;
  } else if (lower == "a4") {
    paper = PaperSize::A4;
  } else if (lower == "legal") {
    paper = PaperSize::Legal;
  } else if (lower == "a5") {
    paper = PaperSize::A5;
  } else if (lower == "halfletter") {
    paper = PaperSize::HalfLetter;
  } else {
    return false;
  }
  return true;
}

bool IsKneeboard(PaperSize paper) {
  return paper == PaperSize::A5 || paper == PaperSize::HalfLetter;
}

ExportResult RenderPdf(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       std::string& pdf) {
  ExportResult result;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  int pages = 0;
  {
    QPdfWriter writer(&buffer);
    writer.setCreator("Halvix");
    writer.setTitle(QString::fromStdString(plan.title));
    writer.setPageLayout(
        QPageLayout(QPageSize(PageSizeIdOf(request.paper)),
                    IsKneeboard(request.paper) ? QPageLayout::Portrait : QPageLayout::Landscape,
                    QMarginsF(0, 0, 0, 0)));
    QPainterCanvas canvas(writer);
    pages = Draw(canvas, plan, log, request);
  }
  if (pages == 0) {
    result.error = NothingToPrint(log);
    return result;
  }
  pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  result.ok = true;
  result.pages = pages;
  return result;
}

ExportResult ExportPdf(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       const std::string& path) {
  // A target that must not be replaced is refused before the drawing starts.
  std::string target;
  ExportResult refused;
  if (!ResolveWriteTarget(path, target, refused.error)) return refused;
  std::string pdf;
  ExportResult result = RenderPdf(plan, log, request, pdf);
  if (result.ok && !ReplaceFile(path, pdf, result.error)) result.ok = false;
  return result;
}

ExportResult ExportPng(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       const std::string& prefix) {
  ExportResult result;
  const int dpi = std::clamp(request.dpi, kMinDpi, kMaxDpi);
  QSizeF inches = QPageSize(PageSizeIdOf(request.paper)).size(QPageSize::Inch);
  if (!IsKneeboard(request.paper)) inches = inches.transposed();  // landscape
  const int width = static_cast<int>(std::lround(inches.width() * dpi));
  const int height = static_cast<int>(std::lround(inches.height() * dpi));

  // Every page is encoded before any file is touched, so a failure leaves
  // nothing behind.
  std::vector<std::pair<std::string, std::string>> files;  // name, PNG bytes
  auto sink = [&](const QImage& image, int number) {
    const std::string name = prefix + "-" + std::to_string(number) + ".png";
    std::string target;
    if (!ResolveWriteTarget(name, target, result.error)) {
      result.error = name + ": " + result.error;
      return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
      result.error = name + ": the image could not be encoded";
      return false;
    }
    files.emplace_back(name,
                       std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
  };

  ImagePagesCanvas canvas(width, height, dpi, sink);
  const int pages = Draw(canvas, plan, log, request);
  if (pages == 0 || !canvas.ok()) {
    if (result.error.empty()) result.error = NothingToPrint(log);
    return result;
  }
  if (!ReplaceFiles(files, result.error)) return result;
  result.ok = true;
  result.pages = pages;
  return result;
}
