#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace varnok {

// The About box (TAboutBox): product name, revision, the maker and its web address.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kRevision = "1.2 12/07/2012";
  static constexpr const char* kMakerWebAddress = "https://www.kestrel-sky.example/";

  explicit AboutBox(QWidget* parent = nullptr);

  // Opens the maker's web page in the default browser.
  void Label2Click();
  void OKButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* Version = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* OKButton = nullptr;
};

}  // namespace varnok
