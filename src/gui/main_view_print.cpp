// The main window's printing: the platform's print dialog and the print
// preview, both drawing the page the model laid out.
#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "display/page_qt.h"
#include "gui/main_view.h"

namespace rovanel::gui {

namespace {

void Preset(QPrinter& printer, const app::PrintJob& job) {
  printer.setPageSize(QPageSize(job.paper == display::PaperSize::Letter ? QPageSize::Letter
                                                                        : QPageSize::A4));
  printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  // The page keeps its own margins: the painter gets the whole sheet.
  printer.setFullPage(true);
  printer.setDocName(QString::fromStdString(job.page.title));
}

bool Paint(QPrinter& printer, const app::PrintJob& job) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  display::QtPagePainter page(painter, printer.resolution());
  display::DrawPage(page, job.page, job.style);
  return painter.end();
}

// The window a print window belongs to: the modal dialog that asked for
// it (the print dialog's preview), else the main window.
QWidget* Owner(QWidget* main) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : main;
}

}  // namespace

bool MainView::PrintPage(const app::PrintJob& job, const std::function<void()>& confirmed) {
  QPrinter printer(QPrinter::HighResolution);
  Preset(printer, job);
  QPrintDialog dialog(&printer, Owner(this));
  dialog.setWindowTitle(QString::fromStdString(fp_.Text("ID_FRM_IMP_Impression")));
  GrabNextModal("print", 500);
  if (dialog.exec() != QDialog::Accepted) return false;
  confirmed();
  if (Paint(printer, job)) return true;
  const std::string where = printer.outputFileName().isEmpty()
                                ? printer.printerName().toStdString()
                                : printer.outputFileName().toStdString();
  MessageBox(fp_.Text("ID_MES_ERR_Impression", {where}), app::MessageKind::Error);
  return false;
}

void MainView::PreviewPage(const app::PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  Preset(printer, job);
  QPrintPreviewDialog preview(&printer, Owner(this));
  preview.setWindowTitle(QString::fromStdString(fp_.Tapp().Caption.caption));
  connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
          [&job](QPrinter* p) { Paint(*p, job); });
  preview.resize(800, 900);
  GrabNextModal("Tapp", 1500);
  preview.exec();
}

}  // namespace rovanel::gui
