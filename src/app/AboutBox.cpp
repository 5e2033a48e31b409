#include "app/AboutBox.h"
#include "core/GuardedHandler.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSvgWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace varnok {

namespace {

// A label that reports clicks: the web address.
class LinkLabel : public QLabel {
 public:
  LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
      : QLabel(text, parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) onClick_();
    QLabel::mouseReleaseEvent(event);
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("  Varnok Tester"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(6);

  auto* banner = new QSvgWidget(QStringLiteral(":/varnok/banner.svg"), this);
  banner->setObjectName(QStringLiteral("ProgramIcon"));
  banner->setFixedSize(296, 74);
  layout->addWidget(banner, 0, Qt::AlignHCenter);

  auto* product = new QLabel(QStringLiteral("Varnok Tester"), this);
  product->setObjectName(QStringLiteral("ProductName"));
  QFont productFont(QStringLiteral("Serif"));
  productFont.setStyleHint(QFont::Serif);
  productFont.setPointSize(16);
  productFont.setBold(true);
  product->setFont(productFont);
  product->setStyleSheet(QStringLiteral("color: #8b0000;"));
  layout->addWidget(product, 0, Qt::AlignHCenter);

  Version = new QLabel(QStringLiteral("Revision:") + QLatin1String(kRevision), this);
  Version->setObjectName(QStringLiteral("Version"));
  layout->addWidget(Version, 0, Qt::AlignHCenter);

  layout->addSpacing(6);
  const char* makerLines[] = {"Kestrel Sky Instruments Ltd.", "14 Meridian Yard",
                              "Harrow Fen, Cambridgeshire CB7 2QL"};
  for (const char* line : makerLines) {
    auto* label = new QLabel(QString::fromUtf8(line), this);
    layout->addWidget(label, 0, Qt::AlignHCenter);
  }

  Label2 = new LinkLabel(
      QLatin1String(kMakerWebAddress), [this] { Label2Click(); }, this);
  Label2->setObjectName(QStringLiteral("Label2"));
  QPalette palette = Label2->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
  Label2->setPalette(palette);
  layout->addWidget(Label2, 0, Qt::AlignHCenter);

  layout->addSpacing(6);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, Guarded([this] { OKButtonClick(); }));
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);

  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::Label2Click() { QDesktopServices::openUrl(QUrl(QLatin1String(kMakerWebAddress))); }

void AboutBox::OKButtonClick() { close(); }

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace varnok
