// The canvas on a Qt paint device: a printer, a PDF writer or an image.
#pragma once

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "print/canvas.h"

class QImage;
class QPaintDevice;

class QPainterCanvas : public Canvas {
 public:
  // `device` must outlive the canvas and already have its orientation set.
  explicit QPainterCanvas(QPaintDevice& device);
  ~QPainterCanvas() override;

  int PageWidth() const override;
  int PageHeight() const override;
  int WidthMM() const override;
  int HeightMM() const override;

  bool BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;

  void SetFontSize(int points) override;
  int FontSize() const override { return fontsize_; }
  void SetBrushColor(CanvasColor color) override { brush_ = color; }
  void SetBrushStyle(BrushStyle style) override { brushstyle_ = style; }
  void SetPenStyle(PenStyle style) override;

  void FillRect(int x0, int y0, int x1, int y1) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polygon(const CanvasPoint* points, int count) override;

  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

 protected:
  // Moves drawing to another device of the same size (the next image of a
  // page sequence); the canvas's state carries over.
  bool Restart(QPaintDevice& device);
  QPainter& painter() { return painter_; }

 private:
  const QFontMetrics& Metrics();
  const QBrush& HatchBrush();
  void ApplyPen();

  QPaintDevice* device_;
  QPainter painter_;
  double pxpermm_ = 1.0;
  QPen linepen_;
  QPen dotpen_;
  int fontsize_ = 10;
  QFont font_;
  std::map<int, QFontMetrics> metrics_;
  std::map<std::pair<int, std::string>, int> widths_;
  std::map<std::pair<int, std::string>, std::pair<int, int>> inks_;  // box top and bottom
  QBrush hatch_;
  CanvasColor brush_ = kWhite;
  BrushStyle brushstyle_ = BrushStyle::Solid;
  PenStyle penstyle_ = PenStyle::Solid;
  QPoint pos_;
};

// Pages drawn onto images of one size, each handed to `sink` (page number
// from 1) when it is finished; a sink that returns false stops the document
// from being drawn any further and EndDoc reports the failure.
namespace detail {
// Holds the page image so that it exists before the canvas that draws on it.
struct PageImage {
  explicit PageImage(std::unique_ptr<QImage> image) : image_(std::move(image)) {}
  std::unique_ptr<QImage> image_;
};
}  // namespace detail

class ImagePagesCanvas : private detail::PageImage, public QPainterCanvas {
 public:
  using Sink = std::function<bool(const QImage& page, int number)>;
  ImagePagesCanvas(int width, int height, int dpi, Sink sink);
  ~ImagePagesCanvas() override;

  bool BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;

  bool ok() const { return ok_; }

 private:
  bool FinishPage();

  Sink sink_;
  int page_ = 0;
  bool ok_ = true;
};
