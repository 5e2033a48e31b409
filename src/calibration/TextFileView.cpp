#include "TextFileView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstring>

namespace varnok {

TextFileView::TextFileView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  SetText(std::string());
}

void TextFileView::SetText(std::shared_ptr<std::string> text) {
  text_ = text ? std::move(text) : std::make_shared<std::string>();
  indexed_ = false;
  lineStarts_.clear();
  lineEnds_.clear();
  longestLine_ = 0;
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  if (isVisible()) UpdateScrollBars();
  viewport()->update();
}

void TextFileView::SetText(std::string text) { SetText(std::make_shared<std::string>(std::move(text))); }

void TextFileView::Clear() { SetText(std::string()); }

std::shared_ptr<std::string> TextFileView::TakeText() {
  std::shared_ptr<std::string> previous = std::move(text_);
  Clear();
  return previous;
}

std::string_view TextFileView::Text() const { return *text_; }

void TextFileView::EnsureIndexed() const {
  if (indexed_) return;
  const std::string& text = *text_;
  const char* const data = text.data();
  const std::size_t size = text.size();
  std::size_t start = 0;
  while (start < size) {
    const auto* lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
    const std::size_t limit = lf ? static_cast<std::size_t>(lf - data) : size;
    const auto* cr = static_cast<const char*>(std::memchr(data + start, '\r', limit - start));
    const std::size_t end = cr ? static_cast<std::size_t>(cr - data) : limit;
    lineStarts_.push_back(start);
    lineEnds_.push_back(end);
    longestLine_ = std::max(longestLine_, end - start);
    if (end == size) break;
    start = end + 1;
    if (data[end] == '\r' && start < size && data[start] == '\n') ++start;
  }
  indexed_ = true;
}

std::size_t TextFileView::LineCount() const {
  EnsureIndexed();
  return lineStarts_.size();
}

std::string_view TextFileView::Line(std::size_t index) const {
  EnsureIndexed();
  if (index >= lineStarts_.size()) return {};
  return std::string_view(*text_).substr(lineStarts_[index], lineEnds_[index] - lineStarts_[index]);
}

void TextFileView::UpdateScrollBars() {
  EnsureIndexed();
  const QFontMetrics metrics(font());
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  const int visibleLines = std::max(1, viewport()->height() / lineHeight);
  const int visibleColumns = std::max(1, viewport()->width() / charWidth);
  const auto lines = static_cast<long long>(lineStarts_.size());
  const auto columns = static_cast<long long>(longestLine_);
  verticalScrollBar()->setRange(0, static_cast<int>(std::clamp<long long>(lines - visibleLines, 0, INT32_MAX)));
  verticalScrollBar()->setPageStep(visibleLines);
  horizontalScrollBar()->setRange(0,
                                  static_cast<int>(std::clamp<long long>(columns - visibleColumns + 1, 0, INT32_MAX)));
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
  EnsureIndexed();
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const QFontMetrics metrics(font());
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  const auto first = static_cast<std::size_t>(verticalScrollBar()->value());
  const auto column = static_cast<std::size_t>(horizontalScrollBar()->value());
  const std::size_t columns = static_cast<std::size_t>(viewport()->width() / charWidth) + 2;
  int y = metrics.ascent() + 2;
  for (std::size_t i = first; i < lineStarts_.size() && y - metrics.ascent() < viewport()->height(); ++i) {
    const std::string_view line = Line(i);
    if (column < line.size()) {
      const std::string_view shown = line.substr(column, columns);
      painter.drawText(2, y, QString::fromLatin1(shown.data(), static_cast<qsizetype>(shown.size())));
    }
    y += lineHeight;
  }
}

}  // namespace varnok
