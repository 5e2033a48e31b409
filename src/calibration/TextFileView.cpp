#include "calibration/TextFileView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdint>

#include "core/InstrumentText.h"

namespace varnok {

TextFileView::TextFileView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  SetText(std::string());
}

void TextFileView::SetText(std::shared_ptr<const MemoText> text) {
  text_ = text ? std::move(text) : std::make_shared<const MemoText>(std::string());
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  if (isVisible()) UpdateScrollBars();
  viewport()->update();
}

void TextFileView::SetText(std::string text) { SetText(std::make_shared<const MemoText>(std::move(text))); }

void TextFileView::Clear() { SetText(std::string()); }

std::shared_ptr<const MemoText> TextFileView::TakeText() {
  std::shared_ptr<const MemoText> previous = text_;
  Clear();
  return previous;
}

void TextFileView::UpdateScrollBars() {
  const QFontMetrics metrics(font());
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  const int visibleLines = std::max(1, viewport()->height() / lineHeight);
  const int visibleColumns = std::max(1, viewport()->width() / charWidth);
  const auto lines = static_cast<long long>(text_->LineCount());
  const auto columns = static_cast<long long>(std::min(text_->LongestLine(), MemoText::kMaxShownLine));
  verticalScrollBar()->setRange(0,
                                static_cast<int>(std::clamp<long long>(lines - visibleLines, 0, INT32_MAX)));
  verticalScrollBar()->setPageStep(visibleLines);
  horizontalScrollBar()->setRange(
      0, static_cast<int>(std::clamp<long long>(columns - visibleColumns + 1, 0, INT32_MAX)));
  horizontalScrollBar()->setPageStep(visibleColumns);
}

void TextFileView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TextFileView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  UpdateScrollBars();
}

void TextFileView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const QFontMetrics metrics(font());
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  const auto first = static_cast<std::size_t>(verticalScrollBar()->value());
  const auto column = static_cast<qsizetype>(horizontalScrollBar()->value());
  const auto columns = static_cast<qsizetype>(viewport()->width() / charWidth) + 2;
  int y = metrics.ascent() + 2;
  for (std::size_t i = first; i < text_->LineCount() && y - metrics.ascent() < viewport()->height(); ++i) {
    const QString line = QString::fromStdString(InstrumentTextToUtf8(text_->Line(i)));
    if (column < line.size()) painter.drawText(2, y, line.mid(column, columns));
    y += lineHeight;
  }
}

}  // namespace varnok
