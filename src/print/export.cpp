#include "print/export.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

#include "print/navlog.h"
#include "print/printjob.h"
#include "print/qpainter_canvas.h"

namespace {

QPageSize::PageSizeId PageId(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return QPageSize::A4;
    case PaperSize::Legal:
      return QPageSize::Legal;
    case PaperSize::Letter:
      break;
  }
  return QPageSize::Letter;
}

int Draw(Canvas& canvas, const Plan& plan, bool blank) {
  PrintContext ctx;
  return blank ? PrintBlankFormOn(canvas, plan, ctx) : PrintFilledLogOn(canvas, plan, ctx);
}

std::string NothingToPrint(const Plan& plan) {
  return plan.legcount > 0 ? std::string("the page could not be drawn")
                           : std::string("the plan has no leg to print");
}

}  // namespace

bool ParsePaperSize(const std::string& name, PaperSize& paper) {
  std::string lower;
  for (unsigned char c : name) lower += static_cast<char>(std::tolower(c));
  if (lower == "letter") {
    paper = PaperSize::Letter;
  } else if (lower == "a4") {
    paper = PaperSize::A4;
  } else if (lower == "legal") {
    paper = PaperSize::Legal;
  } else {
    return false;
  }
  return true;
}

ExportResult ExportPdf(const Plan& plan, const ExportRequest& request, const std::string& path) {
  ExportResult result;
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) {
    result.error = file.errorString().toStdString();
    return result;
  }
  int pages = 0;
  {
    QPdfWriter writer(&file);
    writer.setCreator("Halvix");
    writer.setTitle(QString::fromStdString(plan.title));
    writer.setPageLayout(QPageLayout(QPageSize(PageId(request.paper)), QPageLayout::Landscape,
                                     QMarginsF(0, 0, 0, 0)));
    QPainterCanvas canvas(writer);
    pages = Draw(canvas, plan, request.blank);
  }
  if (pages == 0) {
    file.cancelWriting();
    result.error = NothingToPrint(plan);
    return result;
  }
  if (!file.commit()) {
    result.error = file.errorString().toStdString();
    return result;
  }
  result.ok = true;
  result.pages = pages;
  return result;
}

ExportResult ExportPng(const Plan& plan, const ExportRequest& request, const std::string& prefix) {
  ExportResult result;
  const int dpi = std::clamp(request.dpi, kMinDpi, kMaxDpi);
  const QSizeF inches =
      QPageSize(PageId(request.paper)).size(QPageSize::Inch).transposed();  // landscape
  const int width = static_cast<int>(std::lround(inches.width() * dpi));
  const int height = static_cast<int>(std::lround(inches.height() * dpi));

  // Each page goes to its own temporary file; they replace the real names
  // only once every page has been written.
  std::vector<std::unique_ptr<QSaveFile>> files;
  auto sink = [&](const QImage& image, int number) {
    const QString name = QString::fromStdString(prefix) + QString("-%1.png").arg(number);
    auto file = std::make_unique<QSaveFile>(name);
    if (!file->open(QIODevice::WriteOnly)) {
      result.error = (name + ": " + file->errorString()).toStdString();
      return false;
    }
    if (!image.save(file.get(), "PNG")) {
      result.error = (name + ": " + file->errorString()).toStdString();
      file->cancelWriting();
      return false;
    }
    files.push_back(std::move(file));
    return true;
  };

  ImagePagesCanvas canvas(width, height, dpi, sink);
  const int pages = Draw(canvas, plan, request.blank);
  if (pages == 0 || !canvas.ok()) {
    for (auto& file : files) file->cancelWriting();
    if (result.error.empty()) result.error = NothingToPrint(plan);
    return result;
  }
  std::vector<QString> committed;
  for (auto& file : files) {
    const QString name = file->fileName();
    if (!file->commit()) {
      result.error = (name + ": " + file->errorString()).toStdString();
      for (auto& rest : files) rest->cancelWriting();
      for (const QString& done : committed) QFile::remove(done);
      return result;
    }
    committed.push_back(name);
  }
  result.ok = true;
  result.pages = pages;
  return result;
}
