#pragma once
#include <QAbstractScrollArea>

#include <memory>
#include <string>

#include "calibration/MemoText.h"

namespace varnok {

// A read-only multi-line text area for whole files, fixed-pitch, with both scroll bars. It reads only
// the lines in view from its text (which may be the snapshot of a file of hundreds of megabytes) and
// shows each line's bytes as UTF-8 when they are valid UTF-8, otherwise as Windows-1252.
class TextFileView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TextFileView(QWidget* parent = nullptr);

  void SetText(std::shared_ptr<const MemoText> text);
  void SetText(std::string text);
  void Clear();
  // Empties the view and hands back the text it showed.
  std::shared_ptr<const MemoText> TakeText();

  // The whole text's bytes (for short texts and tests).
  std::string Text() const { return text_->All(); }
  std::size_t LineCount() const { return text_->LineCount(); }
  std::string Line(std::size_t index) const { return text_->Line(index); }
  const MemoText& Content() const { return *text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateScrollBars();

  std::shared_ptr<const MemoText> text_;
};

}  // namespace varnok
