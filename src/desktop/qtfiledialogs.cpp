#include "qtfiledialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tarvolin {
namespace {

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

// Asks with an instance of the dialog rather than its static helpers, which
// on some systems accept a save dialog the moment it opens.
std::optional<FileChoice> QtFileDialogs::ask(bool save, std::string_view filter,
                                             std::string_view title) {
  QWidget* parent = parent_ ? parent_() : nullptr;
  if (!parent) parent = QApplication::activeWindow();
  QFileDialog dialog(parent, text(title), QDir::currentPath(), qtfilefilter(filter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toChoice(dialog.selectedFiles().front());
}

std::optional<FileChoice> QtFileDialogs::getFile(std::string_view filter, std::string_view title) {
  return ask(false, filter, title);
}

std::optional<FileChoice> QtFileDialogs::putFile(std::string_view filter, std::string_view title) {
  return ask(true, filter, title);
}

}  // namespace tarvolin
