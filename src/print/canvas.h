// The drawing surface the navigation log is printed on: the few operations
// the form needs, in device pixels, so the layout can be drawn on a printer,
// a PDF, an image or a recorder for tests alike.
#pragma once

#include <cstdint>
#include <string>

struct CanvasColor {
  uint8_t r = 255;
  uint8_t g = 255;
  uint8_t b = 255;

  bool operator==(const CanvasColor& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const CanvasColor& o) const { return !(*this == o); }
};

constexpr CanvasColor kWhite{255, 255, 255};
constexpr CanvasColor kBlack{0, 0, 0};
constexpr CanvasColor kShadeGrey{240, 240, 240};

enum class BrushStyle { Solid, DiagonalCross };
enum class PenStyle { Solid, Dotted };

struct CanvasPoint {
  int x = 0;
  int y = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The page in device pixels and the device's physical size in whole
  // millimetres, both as the device reports them after the orientation is set.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  virtual int WidthMM() const = 0;
  virtual int HeightMM() const = 0;

  // BeginDoc returns false when the device cannot be opened (an unwritable
  // file, a printer that refuses); nothing else is drawn then.
  virtual bool BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;

  virtual void SetFontSize(int points) = 0;
  virtual int FontSize() const = 0;
  virtual void SetBrushColor(CanvasColor color) = 0;
  virtual void SetBrushStyle(BrushStyle style) = 0;
  virtual void SetPenStyle(PenStyle style) = 0;

  // Fills from (x0, y0) up to but not including (x1, y1) with the brush. A
  // cross-hatch brush draws only its hatch lines; the page shows through.
  virtual void FillRect(int x0, int y0, int x1, int y1) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // A line in the pen's style from the current position; it becomes the new one.
  virtual void LineTo(int x, int y) = 0;
  // A closed polygon filled with the brush and outlined with the pen.
  virtual void Polygon(const CanvasPoint* points, int count) = 0;

  // Black text whose box, top-left at (x, y), is first painted with the brush colour.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
};
