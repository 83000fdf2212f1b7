#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <exception>

#include "core/errors.h"
#include "core/writefileatomic.h"
#include "desktop/figurepicture.h"
#include "desktop/figurewindow.h"
#include "desktop/qtview.h"

namespace tarvolin {

void QtView::copyPicture(Handle figure, Handle actingWindow) {
  FigureWindow* w = window(figure);
  if (!w || !w->hasPlots()) {
    // Nothing worth pasting: the clipboard keeps what it held.
    showStatus(actingWindow,
               w ? tr("The window has no plot to copy") : tr("There is no plot to copy"), false);
    return;
  }
  auto* data = new QMimeData;
  data->setData("image/svg+xml", w->picture(PictureFormat::svg));
  const QByteArray png = w->picture(PictureFormat::png);
  data->setData("image/png", png);
  data->setImageData(QImage::fromData(png, "PNG"));
  QGuiApplication::clipboard()->setMimeData(data);
  showStatus(actingWindow, tr("The plot is on the clipboard (SVG and PNG)"), false);
}

void QtView::savePicture(Handle figure, Handle actingWindow) {
  FigureWindow* w = window(figure);
  if (!w || !w->hasPlots()) {
    showStatus(actingWindow, tr("There is no plot to save"), false);
    return;
  }
  QFileDialog dialog(window(actingWindow), tr("Save picture"), QDir::currentPath(),
                     tr("PNG image (*.png);;SVG picture (*.svg);;PDF document (*.pdf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile("plot.png");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QString path = dialog.selectedFiles().front();
  if (!pictureformat(path.toStdString())) {
    // No extension typed: take the one of the filter chosen.
    const QString chosenFilter = dialog.selectedNameFilter();
    const auto star = chosenFilter.indexOf("*.");
    path += star >= 0 ? chosenFilter.mid(star + 1, 4) : QString(".png");
  }
  // The plot window may have gone while the dialog was open.
  w = window(figure);
  try {
    if (!w) throw OutputError(path.toStdString() + ": the plot window was closed");
    w->savePictureTo(path);
    showStatus(actingWindow, tr("Picture saved to %1").arg(QDir::toNativeSeparators(path)), false);
  } catch (const std::exception& e) {
    showStatus(actingWindow, QString::fromStdString(e.what()), true);
  }
}

void QtView::saveSessionScript(Handle actingWindow) {
  if (!sessionScript_) return;
  QFileDialog dialog(window(actingWindow), tr("Save session as script"), QDir::currentPath(),
                     tr("Session scripts (*.txt);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile("session.txt");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  saveSessionScriptTo(dialog.selectedFiles().front(), actingWindow);
}

void QtView::saveSessionScriptTo(const QString& path, Handle actingWindow) {
  if (!sessionScript_) return;
  try {
    writefileatomic(path.toStdString(), sessionScript_());
    const QString shown = QDir::toNativeSeparators(path);
    showStatus(actingWindow,
               tr("Saved the session as a script to %1; tarvolin-cli run %1 replays it").arg(shown),
               false);
  } catch (const std::exception& e) {
    showStatus(actingWindow, QString::fromStdString(e.what()), true);
  }
}

}  // namespace tarvolin
