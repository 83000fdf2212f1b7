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

std::optional<FileChoice> QtFileDialogs::getFile(std::string_view filter, std::string_view title) {
  return toChoice(QFileDialog::getOpenFileName(QApplication::activeWindow(), text(title),
                                               QDir::currentPath(), qtfilefilter(filter)));
}

std::optional<FileChoice> QtFileDialogs::putFile(std::string_view filter, std::string_view title) {
  return toChoice(QFileDialog::getSaveFileName(QApplication::activeWindow(), text(title),
                                               QDir::currentPath(), qtfilefilter(filter)));
}

}  // namespace tarvolin
