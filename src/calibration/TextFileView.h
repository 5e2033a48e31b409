#pragma once
#include <QAbstractScrollArea>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// A read-only multi-line text area for whole files, fixed-pitch, with both scroll bars. It keeps the
// file's bytes as they are and draws only the visible lines, so a file of hundreds of megabytes shows
// at once; the line index is built when the text is first drawn or asked for.
class TextFileView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TextFileView(QWidget* parent = nullptr);

  // The view only reads the text it is given.
  void SetText(std::shared_ptr<std::string> text);
  void SetText(std::string text);
  void Clear();
  // Empties the view and hands back the text it showed.
  std::shared_ptr<std::string> TakeText();

  std::string_view Text() const;
  // Lines end at CR LF, LF or CR; a final line end opens no further line.
  std::size_t LineCount() const;
  std::string_view Line(std::size_t index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void EnsureIndexed() const;
  void UpdateScrollBars();

  std::shared_ptr<std::string> text_;
  mutable bool indexed_ = false;
  mutable std::vector<std::size_t> lineStarts_;  // start of each line
  mutable std::vector<std::size_t> lineEnds_;    // end of each line, before its line end
  mutable std::size_t longestLine_ = 0;
};

}  // namespace varnok
