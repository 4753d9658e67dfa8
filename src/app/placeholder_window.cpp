#include "app/placeholder_window.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/temp_files.h"
#include "app/window_utils.h"
#include "settings/saved_settings.h"

namespace inkmark {
namespace {

// Escape does nothing: only "Exit" and the close box end the window.
class MainDialog : public QDialog {
 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
  }
};

QString Summary(const LogoSession& session) {
  const PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr) return {};
  auto name = [](std::string_view s) {
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
  };
  return QStringLiteral(
             "Printer: %1\nPaper Width: %2 (%3 dots)\n1st Color: %4\n2nd Color: %5\nPort: %6")
      .arg(name(p->model_name),
           name(SelectedName(p->paper_widths, p->paper_width_count, p->paper_width_sel)))
      .arg(PrintWidthDots(*p))
      .arg(name(SelectedName(p->first_colors, p->first_color_count, p->first_color_sel)),
           name(SelectedName(p->second_colors, p->second_color_count, p->second_color_sel)),
           name(SelectedName(p->ports, p->port_count, p->port_sel)));
}

}  // namespace

void RunPlaceholderWindow(LogoSession& session) {
  PrepareTempFiles(session);
  if (const PrinterProfile* p = session.CurrentProfile())
    session.print_width_dots = PrintWidthDots(*p);

  MainDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Quorvel Inkmark Tool Version 1.00"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(Summary(session), &dialog));
  auto* exit = new QPushButton(QStringLiteral("Exit"), &dialog);
  layout->addWidget(exit);
  QObject::connect(exit, &QPushButton::clicked, &dialog, [&] {
    if (const PrinterProfile* p = session.CurrentProfile()) SaveSettings(*p, session.source_path);
    dialog.accept();
  });
  dialog.adjustSize();
  CenterWindowOnScreen(&dialog);
  dialog.exec();
}

}  // namespace inkmark
