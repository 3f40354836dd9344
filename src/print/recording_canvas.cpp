#include "print/recording_canvas.h"

#include "plan/text_fields.h"

RecordingCanvas::RecordingCanvas(int width, int height, int widthmm, int heightmm, int pxperpoint)
    : width_(width),
      height_(height),
      widthmm_(widthmm),
      heightmm_(heightmm),
      pxperpoint_(pxperpoint) {}

CanvasOp RecordingCanvas::Op(CanvasOp::Kind kind, int x0, int y0, int x1, int y1) const {
  CanvasOp op;
  op.kind = kind;
  op.x0 = x0;
  op.y0 = y0;
  op.x1 = x1;
  op.y1 = y1;
  op.page = page_;
  op.fontsize = fontsize_;
  op.brush = brush_;
  op.brushstyle = brushstyle_;
  op.penstyle = penstyle_;
  return op;
}

bool RecordingCanvas::BeginDoc() {
  if (failopen_) return false;
  page_ = 1;
  ops_.push_back(Op(CanvasOp::BeginDoc));
  return true;
}

void RecordingCanvas::NewPage() {
  ++page_;
  ops_.push_back(Op(CanvasOp::NewPage));
}

void RecordingCanvas::EndDoc() {
  ops_.push_back(Op(CanvasOp::EndDoc));
}

void RecordingCanvas::FillRect(int x0, int y0, int x1, int y1) {
  ops_.push_back(Op(CanvasOp::FillRect, x0, y0, x1, y1));
}

void RecordingCanvas::MoveTo(int x, int y) {
  x_ = x;
  y_ = y;
}

void RecordingCanvas::LineTo(int x, int y) {
  ops_.push_back(Op(CanvasOp::Line, x_, y_, x, y));
  x_ = x;
  y_ = y;
}

void RecordingCanvas::Polygon(const CanvasPoint* points, int count) {
  CanvasOp op = Op(CanvasOp::Polygon);
  op.points.assign(points, points + count);
  ops_.push_back(op);
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  CanvasOp op = Op(CanvasOp::Text, x, y, x + TextWidth(text), y + TextHeight(text));
  op.text = text;
  ops_.push_back(op);
}

int RecordingCanvas::TextWidth(const std::string& text) {
  int chars = 0;
  for (std::size_t at = 0; at < text.size(); at += Utf8CharLength(text, at)) ++chars;
  return chars * fontsize_ * pxperpoint_ / 2;
}

int RecordingCanvas::TextHeight(const std::string&) {
  return fontsize_ * pxperpoint_;
}

void RecordingCanvas::Clear() {
  ops_.clear();
  page_ = 0;
}

std::vector<CanvasOp> RecordingCanvas::Of(CanvasOp::Kind kind, int page) const {
  std::vector<CanvasOp> out;
  for (const CanvasOp& op : ops_) {
    if (op.kind == kind && (page == 0 || op.page == page)) out.push_back(op);
  }
  return out;
}

std::vector<CanvasOp> RecordingCanvas::TextsOf(const std::string& text, int page) const {
  std::vector<CanvasOp> out;
  for (const CanvasOp& op : Of(CanvasOp::Text, page)) {
    if (op.text == text) out.push_back(op);
  }
  return out;
}

bool RecordingCanvas::HasLine(int x0, int y0, int x1, int y1, int page) const {
  for (const CanvasOp& op : Of(CanvasOp::Line, page)) {
    if ((op.x0 == x0 && op.y0 == y0 && op.x1 == x1 && op.y1 == y1) ||
        (op.x0 == x1 && op.y0 == y1 && op.x1 == x0 && op.y1 == y0)) {
      return true;
    }
  }
  return false;
}
