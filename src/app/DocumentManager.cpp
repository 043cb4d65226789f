// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DocumentManager.h"

#include <algorithm>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/PasswordDialog.h"
#include "document/CDuxelDoc.h"

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kFileFilter = QStringLiteral("Duxel soubory (*.dux)");
const QString kExtension = QStringLiteral("dux");

QSettings profile() { return QSettings(QStringLiteral("VORT"), QStringLiteral("Duxel39")); }

// One spelling per file, so that opening it again finds it.
QString normalPath(const QString& path) {
  QFileInfo info(path);
  QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString fileTitle(const QString& path) { return QFileInfo(path).fileName(); }

QString reasonText(const DocResult& r) {
  QString reason = QString::fromStdString(r.reason);
  if (reason.isEmpty()) reason = QString::fromStdString(r.message);
  return reason;
}
}  // namespace

DocumentManager::DocumentManager(QObject* parent) : QObject(parent) {}

DocumentManager::~DocumentManager() = default;

CDuxelDoc* DocumentManager::newDocument() {
  auto e = std::make_unique<Entry>();
  e->doc = std::make_unique<CDuxelDoc>();
  e->title = UiText(IDS_UNTITLED) + QString::number(++m_untitledCount);
  CDuxelDoc* doc = e->doc.get();
  m_entries.push_back(std::move(e));
  emit documentAdded(doc);
  return doc;
}

CDuxelDoc* DocumentManager::openDocument(const QString& path) {
  const QString file = normalPath(path);
  if (CDuxelDoc* open = findByPath(file)) {
    addRecentFile(file);
    emit activateRequested(open);
    return open;
  }

  auto doc = std::make_unique<CDuxelDoc>();
  PasswordQuestion ask = [this]() -> std::optional<std::string> {
    std::optional<QString> typed = PasswordDialog::ask(m_dialogParent);
    if (!typed) return std::nullopt;
    return Cp1250FromQString(*typed);
  };
  const DocResult result = doc->LoadFile(CorePath(file), ask);

  switch (result.status) {
    case LoadStatus::Ok:
      break;
    case LoadStatus::TooShort:
    case LoadStatus::Unprotected303:
      // The file is taken as an empty document after the warning.
      ShowMessage(m_dialogParent, QMessageBox::Warning, UiText(IDS_COMMAND_FAILED));
      break;
    case LoadStatus::WrongPassword:
      ShowMessage(m_dialogParent, QMessageBox::Critical, UiText(IDS_WRONG_PASSWORD));
      ShowMessage(m_dialogParent, QMessageBox::Critical, UiText(IDS_OPEN_FAILED));
      return nullptr;
    case LoadStatus::BadFormat:
      ShowMessage(m_dialogParent, QMessageBox::Critical, UiText(IDS_BAD_FORMAT),
                  reasonText(result));
      return nullptr;
    case LoadStatus::IoError:
      // A file that cannot be read at all is not a format problem.
      ShowMessage(m_dialogParent, QMessageBox::Critical, UiText(IDS_OPEN_FAILED),
                  reasonText(result));
      return nullptr;
  }

  doc->SetModifiedFlag(false);
  auto e = std::make_unique<Entry>();
  e->doc = std::move(doc);
  e->path = file;
  e->title = fileTitle(file);
  CDuxelDoc* opened = e->doc.get();
  m_entries.push_back(std::move(e));
  addRecentFile(file);
  emit documentAdded(opened);
  return opened;
}

bool DocumentManager::save(CDuxelDoc* doc) {
  Entry* e = entry(doc);
  if (!e) return false;
  if (e->path.isEmpty()) return saveAs(doc);
  return writeFile(*e, e->path);
}

bool DocumentManager::saveAs(CDuxelDoc* doc, const QString& path) {
  Entry* e = entry(doc);
  if (!e) return false;
  QString target = path;
  if (target.isEmpty()) {
    const QString suggested =
        e->path.isEmpty() ? e->title + QLatin1Char('.') + kExtension : e->path;
    target = QFileDialog::getSaveFileName(m_dialogParent, QStringLiteral("Uložit jako"), suggested,
                                          kFileFilter);
    if (target.isEmpty()) return false;
    if (QFileInfo(target).suffix().isEmpty()) target += QLatin1Char('.') + kExtension;
  }
  return writeFile(*e, target);
}

bool DocumentManager::writeFile(Entry& e, const QString& path) {
  const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  const DocResult result = e.doc->SaveFile(CorePath(file));
  if (!result.ok()) {
    ShowMessage(m_dialogParent, QMessageBox::Critical,
                UiText(IDS_SAVE_FAILED) + QLatin1Char('\n') + reasonText(result));
    return false;
  }
  e.path = normalPath(file);
  e.title = fileTitle(file);
  e.doc->SetModifiedFlag(false);
  addRecentFile(e.path);
  emit documentChanged(e.doc.get());
  return true;
}

bool DocumentManager::saveModified(CDuxelDoc* doc) {
  Entry* e = entry(doc);
  if (!e || !doc->IsModified()) return true;
  const QString name = e->path.isEmpty() ? e->title : QDir::toNativeSeparators(e->path);
  switch (AskSaveChanges(m_dialogParent, name)) {
    case QMessageBox::Yes:
      return save(doc);
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

bool DocumentManager::saveAllModified() {
  for (CDuxelDoc* doc : documents()) {
    if (!saveModified(doc)) return false;
  }
  return true;
}

void DocumentManager::closeDocument(CDuxelDoc* doc) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(),
                         [doc](const auto& e) { return e->doc.get() == doc; });
  if (it == m_entries.end()) return;
  emit documentClosing(doc);
  // The entry may have moved while the windows closed; look it up again.
  it = std::find_if(m_entries.begin(), m_entries.end(),
                    [doc](const auto& e) { return e->doc.get() == doc; });
  if (it != m_entries.end()) m_entries.erase(it);
}

void DocumentManager::closeAll() {
  for (CDuxelDoc* doc : documents()) closeDocument(doc);
}

void DocumentManager::setModified(CDuxelDoc* doc, bool modified) {
  if (!entry(doc)) return;
  doc->SetModifiedFlag(modified);
  emit documentChanged(doc);
}

std::vector<CDuxelDoc*> DocumentManager::documents() const {
  std::vector<CDuxelDoc*> docs;
  for (const auto& e : m_entries) docs.push_back(e->doc.get());
  return docs;
}

CDuxelDoc* DocumentManager::findByPath(const QString& path) const {
  const QString file = normalPath(path);
  for (const auto& e : m_entries) {
    if (!e->path.isEmpty() && e->path == file) return e->doc.get();
  }
  return nullptr;
}

QString DocumentManager::title(const CDuxelDoc* doc) const {
  const Entry* e = entry(doc);
  return e ? e->title : QString();
}

QString DocumentManager::path(const CDuxelDoc* doc) const {
  const Entry* e = entry(doc);
  return e ? e->path : QString();
}

DocumentManager::Entry* DocumentManager::entry(const CDuxelDoc* doc) const {
  for (const auto& e : m_entries) {
    if (e->doc.get() == doc) return e.get();
  }
  return nullptr;
}

QStringList DocumentManager::recentFiles() const {
  QSettings settings = profile();
  settings.beginGroup(kRecentGroup);
  QStringList files;
  for (int i = 1; i <= kRecentCount; ++i) {
    const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!file.isEmpty()) files << file;
  }
  return files;
}

void DocumentManager::addRecentFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  files.prepend(path);
  storeRecentFiles(files.mid(0, kRecentCount));
}

void DocumentManager::removeRecentFile(const QString& path) {
  QStringList files = recentFiles();
  if (files.removeAll(path) > 0) storeRecentFiles(files);
}

void DocumentManager::storeRecentFiles(const QStringList& files) {
  QSettings settings = profile();
  settings.beginGroup(kRecentGroup);
  for (int i = 1; i <= kRecentCount; ++i) {
    const QString key = QStringLiteral("File%1").arg(i);
    if (i <= files.size())
      settings.setValue(key, files.at(i - 1));
    else
      settings.remove(key);
  }
  emit recentFilesChanged();
}
