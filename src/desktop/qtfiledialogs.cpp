#include "desktop/qtfiledialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace tarvolin {
namespace {

// The settings key of the folder last chosen.
const char* const kLastFolder = "lastFolder";

std::optional<FileChoice> toChoice(const QString& chosen) {
  if (chosen.isEmpty()) return std::nullopt;
  const QFileInfo file(chosen);
  FileChoice choice;
  choice.name = file.fileName().toStdString();
  choice.folder = QDir::toNativeSeparators(file.absolutePath()).toStdString();
  if (choice.folder.empty() || choice.folder.back() != '/') choice.folder += '/';
  return choice;
}

QString text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A dialog that loads a landmark data set: the workflow's filter says so,
// and the TPS reader's dialog, whose filter is its own "*.txt", by its title.
bool loadsLandmarks(std::string_view filter, std::string_view title) {
  return filter == kLandmarkFilter || title == kTps3DDialogTitle;
}

// While a dialog is open the pointer is the ordinary arrow, also when the
// action that asks shows the busy one.
struct ArrowCursor {
  ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
  ArrowCursor(const ArrowCursor&) = delete;
  ArrowCursor& operator=(const ArrowCursor&) = delete;
};

}  // namespace

QString qtfilefilter(std::string_view filter) {
  const QString all = QObject::tr("All files (*)");
  const QString pattern = text(filter).trimmed();
  if (pattern.isEmpty() || pattern == "*" || pattern == "*.*") return all;
  QString name = pattern;
  if (pattern.startsWith("*.") && !pattern.contains(';')) {
    const QString extension = pattern.mid(2);
    name = extension == "txt" ? QObject::tr("Text files")
                              : extension.toUpper() + QObject::tr(" files");
  } else {
    name = QObject::tr("Files");
  }
  QString patterns = pattern;
  patterns.replace(';', ' ');
  return name + " (" + patterns + ");;" + all;
}

QString qtdialogfilter(std::string_view filter, std::string_view title) {
  if (loadsLandmarks(filter, title)) {
    QString patterns = text(kLandmarkFilter);
    patterns.replace(';', ' ');
    return QObject::tr("Landmark files (%1)").arg(patterns) + ";;" + QObject::tr("All files (*)");
  }
  return qtfilefilter(filter);
}

QString QtFileDialogs::takeOpened() {
  QString path;
  path.swap(opened_);
  return path;
}

QString QtFileDialogs::startFolder() const {
  if (!choseThisRun_ && settings_) {
    const QString last = settings_->value(kLastFolder).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  }
  return QDir::currentPath();
}

void QtFileDialogs::chosen(const QString& path) {
  choseThisRun_ = true;
  if (settings_) settings_->setValue(kLastFolder, QFileInfo(path).absolutePath());
}

// Asks with an instance of the dialog rather than its static helpers, which
// on some systems accept a save dialog the moment it opens.
std::optional<FileChoice> QtFileDialogs::ask(bool save, std::string_view filter,
                                             std::string_view title) {
  QWidget* parent = parent_ ? parent_() : nullptr;
  if (!parent) parent = QApplication::activeWindow();
  QFileDialog dialog(parent, text(title), startFolder(), qtdialogfilter(filter, title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  ArrowCursor arrow;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().front();
  chosen(path);
  if (!save) opened_ = path;
  return toChoice(path);
}

std::optional<FileChoice> QtFileDialogs::getFile(std::string_view filter, std::string_view title) {
  opened_.clear();
  if (!answer_.isEmpty()) {
    opened_.swap(answer_);
    chosen(opened_);
    return toChoice(opened_);
  }
  return ask(false, filter, title);
}

std::optional<FileChoice> QtFileDialogs::putFile(std::string_view filter, std::string_view title) {
  return ask(true, filter, title);
}

std::optional<std::string> QtFileDialogs::askChoice(std::string_view title, std::string_view body,
                                                    std::string_view details,
                                                    const std::vector<DialogChoice>& choices) {
  QWidget* parent = parent_ ? parent_() : nullptr;
  if (!parent) parent = QApplication::activeWindow();
  QMessageBox box(QMessageBox::Question, text(title), text(body), QMessageBox::NoButton, parent);
  if (!details.empty()) box.setDetailedText(text(details));
  std::vector<std::pair<QAbstractButton*, std::string>> buttons;
  for (const DialogChoice& choice : choices) {
    buttons.emplace_back(box.addButton(text(choice.label), QMessageBox::AcceptRole), choice.key);
  }
  box.setEscapeButton(box.addButton(QMessageBox::Cancel));
  ArrowCursor arrow;
  box.exec();
  for (const auto& [button, key] : buttons) {
    if (box.clickedButton() == button) return key;
  }
  return std::nullopt;
}

}  // namespace tarvolin
