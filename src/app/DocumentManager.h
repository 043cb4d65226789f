// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

class CDuxelDoc;
class QWidget;

// Keeps the open documents with their file paths and titles and carries out the file
// commands: new, open, save, save as, the question whether to save changes, and the list
// of recently used files. Message boxes and dialogs are parented to the dialog parent.
class DocumentManager : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRecentCount = 4;

  explicit DocumentManager(QObject* parent = nullptr);
  ~DocumentManager() override;

  void setDialogParent(QWidget* parent) { m_dialogParent = parent; }

  // A new empty document titled "Bezejmenný<n>".
  CDuxelDoc* newDocument();
  // Opens a file, asking for its password when it is protected. Reports failures with
  // message boxes and returns null. A file already open is not read again: its document is
  // returned and activateRequested is emitted.
  CDuxelDoc* openDocument(const QString& path);
  // Saves to the document's file, or asks for one when it has none. False when cancelled
  // or failed (the failure was shown and the document stays modified).
  bool save(CDuxelDoc* doc);
  // Saves under `path`, or under a name chosen in a file dialog when `path` is empty.
  bool saveAs(CDuxelDoc* doc, const QString& path = QString());
  // The save question for a modified document: true when it may be closed (saved, or the
  // user chose not to save); false on Cancel or a failed save.
  bool saveModified(CDuxelDoc* doc);
  // saveModified for every document; stops at the first refusal.
  bool saveAllModified();
  // Forgets a document without asking: documentClosing is emitted, then it is deleted.
  void closeDocument(CDuxelDoc* doc);
  void closeAll();

  // Sets the document's modified flag and tells the windows.
  void setModified(CDuxelDoc* doc, bool modified);

  std::vector<CDuxelDoc*> documents() const;
  CDuxelDoc* findByPath(const QString& path) const;
  QString title(const CDuxelDoc* doc) const;
  QString path(const CDuxelDoc* doc) const;

  // The recently used files, newest first, at most kRecentCount.
  QStringList recentFiles() const;
  void addRecentFile(const QString& path);
  void removeRecentFile(const QString& path);

 signals:
  void documentAdded(CDuxelDoc* doc);
  // Emitted before the document is deleted; its windows must go.
  void documentClosing(CDuxelDoc* doc);
  // The title, path or modified flag changed.
  void documentChanged(CDuxelDoc* doc);
  // An already open document was asked to be opened again.
  void activateRequested(CDuxelDoc* doc);
  void recentFilesChanged();

 private:
  struct Entry {
    std::unique_ptr<CDuxelDoc> doc;
    QString path;  // absolute; empty for a new document
    QString title;
  };
  Entry* entry(const CDuxelDoc* doc) const;
  bool writeFile(Entry& e, const QString& path);
  void storeRecentFiles(const QStringList& files);

  std::vector<std::unique_ptr<Entry>> m_entries;
  QWidget* m_dialogParent = nullptr;
  int m_untitledCount = 0;
};
