// A canvas that draws nothing and remembers every call, with text metrics
// computed from the character count and the font size, so that the layout
// can be checked to the pixel without fonts.
#pragma once

#include <string>
#include <vector>

#include "print/canvas.h"

struct CanvasOp {
  enum Kind { BeginDoc, NewPage, EndDoc, FillRect, Line, Polygon, Text };

  Kind kind = Line;
  int page = 0;                        // counted from 1 once the document is open
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // Text: x0, y0 is the top-left corner
  std::vector<CanvasPoint> points;
  std::string text;
  int fontsize = 0;
  CanvasColor brush;
  BrushStyle brushstyle = BrushStyle::Solid;
  PenStyle penstyle = PenStyle::Solid;
};

class RecordingCanvas : public Canvas {
 public:
  // Text is `pxperpoint` pixels high per point of font size, and each
  // character (UTF-8 character, not byte) is half that wide.
  RecordingCanvas(int width, int height, int widthmm, int heightmm, int pxperpoint = 8);

  int PageWidth() const override { return width_; }
  int PageHeight() const override { return height_; }
  int WidthMM() const override { return widthmm_; }
  int HeightMM() const override { return heightmm_; }

  bool BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;

  void SetFontSize(int points) override { fontsize_ = points; }
  int FontSize() const override { return fontsize_; }
  void SetBrushColor(CanvasColor color) override { brush_ = color; }
  void SetBrushStyle(BrushStyle style) override { brushstyle_ = style; }
  void SetPenStyle(PenStyle style) override { penstyle_ = style; }

  void FillRect(int x0, int y0, int x1, int y1) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polygon(const CanvasPoint* points, int count) override;

  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  // Makes BeginDoc fail, as an unwritable device would.
  void FailToOpen() { failopen_ = true; }

  const std::vector<CanvasOp>& ops() const { return ops_; }
  int pages() const { return page_; }
  void Clear();

  // Queries over what was recorded; page 0 means every page.
  std::vector<CanvasOp> Of(CanvasOp::Kind kind, int page = 0) const;
  std::vector<CanvasOp> TextsOf(const std::string& text, int page = 0) const;
  bool HasLine(int x0, int y0, int x1, int y1, int page = 0) const;

 private:
  CanvasOp Op(CanvasOp::Kind kind, int x0 = 0, int y0 = 0, int x1 = 0, int y1 = 0) const;

  int width_, height_, widthmm_, heightmm_, pxperpoint_;
  int fontsize_ = 10;
  CanvasColor brush_ = kWhite;
  BrushStyle brushstyle_ = BrushStyle::Solid;
  PenStyle penstyle_ = PenStyle::Solid;
  int x_ = 0, y_ = 0;
  int page_ = 0;
  bool failopen_ = false;
  std::vector<CanvasOp> ops_;
};
