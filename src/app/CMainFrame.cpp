// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainFrame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/DocumentManager.h"
#include "views/GuiText.h"
#include "link/ReceiveBuffer.h"
#include "views/CDuxelView.h"
#include "views/ViewFactory.h"
#include "document/CDuxelDoc.h"

namespace {
QStringList localFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}
}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent),
      m_docs(new DocumentManager(this)),
      m_mdi(new QMdiArea(this)),
      m_buffer(std::make_unique<ReceiveBuffer>()) {
  setWindowTitle(QStringLiteral("Duxel"));
  m_docs->setDialogParent(this);
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdi);
  setAcceptDrops(true);
  createMenus();

  connect(m_docs, &DocumentManager::documentAdded, this, &CMainFrame::showDocument);
  connect(m_docs, &DocumentManager::documentClosing, this, &CMainFrame::closeDocumentWindows);
  connect(m_docs, &DocumentManager::documentChanged, this, &CMainFrame::updateTitles);
  connect(m_docs, &DocumentManager::activateRequested, this, [this](CDuxelDoc* doc) {
    const QList<QMdiSubWindow*> windows = documentWindows(doc);
    if (!windows.isEmpty()) m_mdi->setActiveSubWindow(windows.first());
  });
  connect(m_docs, &DocumentManager::recentFilesChanged, this, &CMainFrame::updateRecentFileActions);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::updateActions);

  updateRecentFileActions();
  updateActions();
  resize(800, 600);
}

CMainFrame::~CMainFrame() {
  // The base class hides and deletes the children after this object's members are gone;
  // nothing may report back to it then.
  m_mdi->disconnect(this);
  m_docs->disconnect(this);
  // Closed windows waiting for deletion are no longer in the area's list, but still here.
  for (const QList<QMdiSubWindow*>& windows : std::as_const(m_windows)) {
    for (QMdiSubWindow* window : windows) {
      window->disconnect(this);
      window->removeEventFilter(this);
    }
  }
}

void CMainFrame::createMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
  QAction* newAction = file->addAction(QStringLiteral("&Nový"), this, &CMainFrame::fileNew);
  newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* openAction = file->addAction(QStringLiteral("&Otevřít…"), this, &CMainFrame::fileOpen);
  openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  m_saveAction = file->addAction(QStringLiteral("&Uložit"), this, &CMainFrame::fileSave);
  m_saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  m_saveAsAction = file->addAction(QStringLiteral("Uložit &jako…"), this, &CMainFrame::fileSaveAs);
  m_recentSeparator = file->addSeparator();
  for (int i = 0; i < DocumentManager::kRecentCount; ++i) {
    QAction* recent = file->addAction(QString());
    recent->setVisible(false);
    connect(recent, &QAction::triggered, this, [this, recent]() {
      const QString path = recent->data().toString();
      if (!m_docs->openDocument(path)) m_docs->removeRecentFile(path);
    });
    m_recentActions << recent;
  }
  file->addSeparator();
  file->addAction(QStringLiteral("&Konec"), this, &QWidget::close);

  m_windowMenu = menuBar()->addMenu(QStringLiteral("&Okno"));
  connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);
  updateWindowMenu();
}

void CMainFrame::updateRecentFileActions() {
  const QStringList files = m_docs->recentFiles();
  for (int i = 0; i < m_recentActions.size(); ++i) {
    QAction* action = m_recentActions.at(i);
    if (i < files.size()) {
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
      action->setData(files[i]);
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
  m_recentSeparator->setVisible(!files.isEmpty());
}

void CMainFrame::updateWindowMenu() {
  m_windowMenu->clear();
  m_windowMenu->addAction(QStringLiteral("&Kaskáda"), m_mdi, &QMdiArea::cascadeSubWindows);
  m_windowMenu->addAction(QStringLiteral("&Dlaždice"), m_mdi, &QMdiArea::tileSubWindows);
  const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
  if (!windows.isEmpty()) m_windowMenu->addSeparator();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows.at(i);
    QString title = window->windowTitle();
    title.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : "");
    QAction* action = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
    action->setCheckable(true);
    action->setChecked(window == m_mdi->activeSubWindow());
    connect(action, &QAction::triggered, this,
            [this, window]() { m_mdi->setActiveSubWindow(window); });
  }
}

void CMainFrame::updateActions() {
  const bool hasDocument = activeDocument() != nullptr;
  m_saveAction->setEnabled(hasDocument);
  m_saveAsAction->setEnabled(hasDocument);
}

CDuxelView* CMainFrame::viewOf(QMdiSubWindow* window) const {
  return window ? qobject_cast<CDuxelView*>(window->widget()) : nullptr;
}

CDuxelDoc* CMainFrame::activeDocument() const {
  // The current window stays current while the main window itself is not active.
  CDuxelView* view = viewOf(m_mdi->currentSubWindow());
  return view ? view->document() : nullptr;
}

QList<QMdiSubWindow*> CMainFrame::documentWindows(CDuxelDoc* doc) const {
  return m_windows.value(doc);
}

QMdiSubWindow* CMainFrame::openModeWindow(CDuxelDoc* doc, int mode) {
  for (QMdiSubWindow* window : documentWindows(doc)) {
    if (viewOf(window)->mode() == mode) {
      m_mdi->setActiveSubWindow(window);
      return window;
    }
  }
  auto* view = CreateModeView(doc, mode, *this);
  QMdiSubWindow* window = m_mdi->addSubWindow(view);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->installEventFilter(this);
  m_windows[doc].append(window);
  connect(window, &QObject::destroyed, this, [this, doc, window]() { windowGone(doc, window); });
  updateTitles(doc);
  window->show();
  m_mdi->setActiveSubWindow(window);
  return window;
}

void CMainFrame::showDocument(CDuxelDoc* doc) {
  QMdiSubWindow* first = nullptr;
  for (int mode = 0; mode < kModeCount; ++mode) {
    if (doc->GetList(mode)->IsEmpty()) continue;
    QMdiSubWindow* window = openModeWindow(doc, mode);
    if (!first) first = window;
  }
  // A document with no records still needs a window to be worked in.
  if (!first) first = openModeWindow(doc, kMemo);
  m_mdi->setActiveSubWindow(first);
  updateActions();
}

void CMainFrame::updateTitles(CDuxelDoc* doc) {
  const QString title = m_docs->title(doc);
  for (QMdiSubWindow* window : documentWindows(doc)) {
    window->setWindowTitle(
        QStringLiteral("%1[*] - %2").arg(title, ModeName(viewOf(window)->mode())));
    window->setWindowModified(doc->IsModified());
  }
}

void CMainFrame::closeDocumentWindows(CDuxelDoc* doc) {
  // Taken out first, so that the windows going away do not close the document again.
  const QList<QMdiSubWindow*> windows = m_windows.take(doc);
  for (QMdiSubWindow* window : windows) {
    window->disconnect(this);
    window->removeEventFilter(this);
    delete window;
  }
  updateActions();
}

void CMainFrame::windowGone(CDuxelDoc* doc, QMdiSubWindow* window) {
  auto it = m_windows.find(doc);
  if (it == m_windows.end()) return;
  it->removeOne(window);
  if (it->isEmpty()) {
    m_windows.erase(it);
    m_docs->closeDocument(doc);
  }
  updateActions();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (CDuxelView* view = viewOf(window)) {
      // Closing the last window of a document closes the document: ask about its changes.
      // Windows already closed are hidden and only wait to be deleted.
      const QList<QMdiSubWindow*> windows = documentWindows(view->document());
      const bool last = std::none_of(windows.begin(), windows.end(), [window](QMdiSubWindow* w) {
        return w != window && !w->isHidden();
      });
      if (last && !m_docs->saveModified(view->document())) {
        event->ignore();
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::fileNew() { m_docs->newDocument(); }

void CMainFrame::fileOpen() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít"), QString(),
                                   QStringLiteral("Duxel soubory (*.dux);;Všechny soubory (*)"));
  if (!path.isEmpty()) openFile(path);
}

bool CMainFrame::fileSave() {
  CDuxelDoc* doc = activeDocument();
  return doc && m_docs->save(doc);
}

bool CMainFrame::fileSaveAs() {
  CDuxelDoc* doc = activeDocument();
  return doc && m_docs->saveAs(doc);
}

void CMainFrame::openFile(const QString& path) { m_docs->openDocument(path); }

void CMainFrame::openCommandLine(const QStringList& arguments) {
  // The whole command line is one path; surrounding quotes are not part of it.
  QString path = arguments.join(QLatin1Char(' ')).trimmed();
  if (path.startsWith(QLatin1Char('"'))) {
    path.remove(0, 1);
    const qsizetype last = path.lastIndexOf(QLatin1Char('"'));
    if (last >= 0) path.remove(last, 1);
  }
  if (!path.isEmpty()) openFile(path);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!m_docs->saveAllModified()) {
    event->ignore();
    return;
  }
  m_docs->closeAll();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = localFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  for (const QString& file : files) openFile(file);
}

void CMainFrame::documentEdited(CDuxelDoc* doc, CDuxelView* source) {
  m_docs->setModified(doc, true);
  for (QMdiSubWindow* window : documentWindows(doc)) {
    CDuxelView* view = viewOf(window);
    if (view && view != source) view->refresh();
  }
}

void CMainFrame::showStatus(const QString& text) { statusBar()->showMessage(text); }
