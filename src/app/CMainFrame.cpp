// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainFrame.h"

#include <algorithm>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include "app/CDuxelMDIChildWnd.h"
#include "app/DiaryTypeDialog.h"
#include "app/DocumentManager.h"
#include "app/Icons.h"
#include "app/OptionsSheet.h"
#include "app/RegionalFromLocale.h"
#include "app/TransferDialog.h"
#include "extras/AboutDialog.h"
#include "extras/TipDialog.h"
#include "document/CDuxelDoc.h"
#include "link/ReceiveBuffer.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QSettingsProfile.h"
#include "records/CCasioList.h"
#include "settings/AppSettingsIO.h"
#include "views/interchange/InterchangeMenu.h"
#include "views/CDuxelView.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/ViewFactory.h"

namespace {

QStringList localFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

// A menu text without its mnemonic and ellipsis: the tool tip of a toolbar button.
QString TipText(const QString& menuText) {
  QString tip = menuText;
  tip.remove(QLatin1Char('&'));
  tip.remove(QStringLiteral("…"));
  tip.remove(QStringLiteral(".."));
  return tip.trimmed();
}

// A remembered rectangle is used only where it can be seen: a window saved on a monitor
// that is gone would open out of reach.
bool OnSomeScreen(const QRect& rect) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersects(rect)) return true;
  return false;
}

// The state of a keyboard lock as its LED shows it; false when the system does not say.
bool LockLit(const char* which) {
  const QDir leds(QStringLiteral("/sys/class/leds"));
  for (const QString& name : leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (!name.endsWith(QLatin1String(which))) continue;
    QFile file(leds.filePath(name + QStringLiteral("/brightness")));
    if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() != "0") return true;
  }
  return false;
}

// The commands of the active view, in the menus' order.
const int kViewCommands[] = {32792, 32793, 32791, 57635, 57634, 57637, 57643,
                             32798, 32799, 32800, 32801, 57636, 32804, 32789,
                             32805, 32778, 32784, 32785, 57607, 57609, 57606,
                             kCmdExportVCard, kCmdExportCalendar, kCmdImportVCard,
                             kCmdImportCalendar};

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : CMainFrame(std::make_unique<QSettingsProfile>(), parent) {}

CMainFrame::CMainFrame(std::unique_ptr<Profile> profile, QWidget* parent)
    : QMainWindow(parent),
      m_profile(std::move(profile)),
      m_settings(LoadAppSettings(*m_profile, SystemDevicePaths())),
      m_model(ChooseCurrentModel(*m_profile, m_settings.link.type)),
      m_buffer(std::make_unique<ReceiveBuffer>()),
      m_port(m_line),
      m_engine(m_port, *m_buffer, *this),
      m_docs(new DocumentManager(this)),
      m_mdi(new QMdiArea(this)) {
  init();
}

void CMainFrame::init() {
  const NewWindowChoice choice = ChooseNewWindowMode(m_settings, m_model);
  m_newWindowMode = choice.newWindowMode;
  m_startupMode = choice.startupMode;
  m_settings.link.type = m_model.m_name;
  m_engine.applySettings(m_settings.link);
  m_driver = std::make_unique<LinkDriver>(m_engine, m_line);
  connect(m_driver.get(), &LinkDriver::turnDone, this, &CMainFrame::linkTurnDone);

  // The exchange columns of the free fields follow the names the user gave them.
  SetFreeFieldCaptionProvider([this](int mode, int index) {
    const int which = mode == 3 ? 1 : 0;
    if (index < 0 || index > 5) return std::string();
    return m_settings.freeNames[which][index] + ": ";
  });

  setWindowTitle(QStringLiteral("Duxel"));
  setWindowIcon(AppIcon());
  m_docs->setDialogParent(this);
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The mode command decides itself whether an activated window is maximised.
  m_mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
  setCentralWidget(m_mdi);
  setAcceptDrops(true);
  createActions();
  createMenus();
  createToolBar();
  createStatusBar();

  connect(m_docs, &DocumentManager::documentAdded, this, &CMainFrame::showDocument);
  connect(m_docs, &DocumentManager::documentClosing, this, &CMainFrame::closeDocumentWindows);
  connect(m_docs, &DocumentManager::documentChanged, this, &CMainFrame::updateTitles);
  connect(m_docs, &DocumentManager::activateRequested, this, [this](CDuxelDoc* doc) {
    const QList<QMdiSubWindow*> windows = documentWindows(doc);
    if (!windows.isEmpty()) m_mdi->setActiveSubWindow(windows.first());
  });
  connect(m_docs, &DocumentManager::recentFilesChanged, this, &CMainFrame::updateRecentFileActions);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::childActivated);
  // The keyboard locks change outside the program too; their LEDs are looked at once a
  // second.
  auto* locks = new QTimer(this);
  connect(locks, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
  locks->start(1000);

  updateRecentFileActions();
  statusText(LinkStatusText(-2, 0, false));
  updateCommandStates();
  resize(800, 600);
}

CMainFrame::~CMainFrame() {
  SetFreeFieldCaptionProvider({});
  if (m_bufferWindow) {
    m_bufferWindow->disconnect(this);
    delete m_bufferWindow.data();
  }
  m_driver.reset();
  // The base class hides and deletes the children after this object's members are gone;
  // nothing may report back to it then.
  m_mdi->disconnect(this);
  m_docs->disconnect(this);
  for (const QList<QMdiSubWindow*>& windows : std::as_const(m_windows)) {
    for (QMdiSubWindow* window : windows) {
      window->disconnect(this);
      window->removeEventFilter(this);
    }
  }
  // The views give their fonts back to this frame's font cache: they go while it lives.
  qDeleteAll(m_mdi->subWindowList());
}

// ---------------------------------------------------------------------------------------
// Commands, menus, toolbar, status bar.

QAction* CMainFrame::makeAction(int id, const QString& text, const QKeySequence& shortcut,
                                const QString& tip) {
  auto* action = new QAction(text, this);
  action->setObjectName(QStringLiteral("action%1").arg(id));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  action->setStatusTip(tip.isEmpty() ? TipText(text) : tip);
  action->setToolTip(TipText(text));
  action->setIcon(CommandIcon(id));
  action->setIconVisibleInMenu(false);
  m_actions.insert(id, action);
  connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
  return action;
}

void CMainFrame::createActions() {
  const auto key = [](int k) { return QKeySequence(k); };
  makeAction(57600, QStringLiteral("&Nový"), key(Qt::CTRL | Qt::Key_N), "Vytvoří nový dokument");
  makeAction(57601, QStringLiteral("&Otevřít…"), key(Qt::CTRL | Qt::Key_O),
             "Otevře existující dokument");
  makeAction(57602, QStringLiteral("&Zavřít"), {}, "Zavře aktivní dokument");
  makeAction(57603, QStringLiteral("&Uložit"), key(Qt::CTRL | Qt::Key_S), "Uloží aktivní dokument");
  makeAction(57604, QStringLiteral("Uložit &jako…"), {}, "Uloží aktivní dokument pod novým jménem");
  makeAction(32784, QStringLiteral("&Importuj data…"));
  makeAction(32785, QStringLiteral("&Exportuj data…"));
  makeAction(kCmdExportVCard, QStringLiteral("Exportovat do &vCard…"), {},
             "Uloží telefony nebo vizitky jako vCard pro telefon a adresář");
  makeAction(kCmdExportCalendar, QStringLiteral("Exportovat do i&Calendar…"), {},
             "Uloží plánovač, připomínky, úkoly a poznámky jako iCalendar pro kalendář");
  makeAction(kCmdImportVCard, QStringLiteral("Importovat z v&Card…"), {},
             "Přidá kontakty ze souboru vCard");
  makeAction(kCmdImportCalendar, QStringLiteral("Importovat z iC&alendar…"), {},
             "Přidá události, úkoly a poznámky ze souboru iCalendar");
  makeAction(57607, QStringLiteral("&Tisk.."), key(Qt::CTRL | Qt::Key_P));
  makeAction(57609, QStringLiteral("Ná&hled"));
  makeAction(57606, QStringLiteral("Na&stavení tisku…"));
  makeAction(57665, QStringLiteral("&Konec"), {}, "Ukončí program");

  makeAction(57643, QStringLiteral("&Zpět"), key(Qt::CTRL | Qt::Key_Z));
  makeAction(57635, QStringLiteral("&Vyjmout"), key(Qt::CTRL | Qt::Key_X));
  makeAction(57634, QStringLiteral("&Kopírovat"), key(Qt::CTRL | Qt::Key_C));
  makeAction(57637, QStringLiteral("V&ložit"), key(Qt::CTRL | Qt::Key_V));
  makeAction(32792, QStringLiteral("&Přidat záznam"), key(Qt::CTRL | Qt::Key_Return));
  makeAction(32793, QStringLiteral("&Nový záznam"), key(Qt::SHIFT | Qt::Key_Return));
  makeAction(32791, QStringLiteral("&Odstranit"), key(Qt::Key_Delete));
  makeAction(32798, QStringLiteral("&Změň"))->setCheckable(true);
  makeAction(32799, QStringLiteral("&Nastav všem"));
  makeAction(32800, QStringLiteral("&Smaž všem"));
  makeAction(32801, QStringLiteral("Z&měň všem"));
  makeAction(57636, QStringLiteral("Na&jít…"), key(Qt::CTRL | Qt::Key_F));
  makeAction(32804, QStringLiteral("Najít &další"), key(Qt::Key_F3));
  makeAction(32789, QStringLiteral("V&ymaž režimy…"));

  makeAction(32777, QStringLiteral("Přijímat &z diáře"))->setCheckable(true);
  makeAction(32778, QStringLiteral("Poslat &do diáře…"))->setCheckable(true);
  makeAction(32803, QStringLiteral("Příjem do &souboru…"), {},
             "Zapíše přijímané rámce do souboru pro rozbor přenosu")
      ->setCheckable(true);
  makeAction(32783, QStringLiteral("&Parametry přenosu…"));
  makeAction(32790, QStringLiteral("&Typ diáře…"));

  makeAction(32818, QStringLiteral("&Stav zásobníku…"));
  makeAction(32814, QStringLiteral("Vy&prázdnit zásobník"));
  makeAction(32776, QStringLiteral("&Vše do dokumentu"));
  makeAction(32813, QStringLiteral("&Režim do dokumentu"));

  makeAction(32805, QStringLiteral("&Heslo…"));
  makeAction(32819, QStringLiteral("&Možnosti…"));
  makeAction(32788, QStringLiteral("&Ulož nastavení"));
  makeAction(32807, QStringLiteral("Ukládat nastavení při &skončení"), {},
             QStringLiteral("Při skončení programu uloží nastavení okna, komunikace, tisku a "
                            "typu diáře Casio"))
      ->setCheckable(true);

  makeAction(32809, QStringLiteral("&Zavři vše"));

  // The mode commands in display order, Ctrl+1 .. Ctrl+0.
  const char* const modeTexts[10] = {
      "Po&známky",     "&Telefony",   "&Plánovač",     "&Vizitky", "&Co dělat",
      "Volný &soubor", "Přip&omínky", "Připo&mínky 2", "Vý&daje",  "Ta&bulkový procesor"};
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    makeAction(32820 + mode, QString::fromUtf8(modeTexts[mode]),
               key(Qt::CTRL | (position == 9 ? Qt::Key_0 : Qt::Key(Qt::Key_1 + position))))
        ->setCheckable(true);
  }

  makeAction(57650, QStringLiteral("&Kaskáda"));
  makeAction(57651, QStringLiteral("&Dlaždice"));
  makeAction(57649, QStringLiteral("&Uspořádat ikony"));

  makeAction(32794, QStringLiteral("&Tip dne…"));
  makeAction(57664, QStringLiteral("O &aplikaci Duxel…"));
  makeAction(57669, QStringLiteral("Nápověda k &objektu"), key(Qt::SHIFT | Qt::Key_F1));

  for (int id : kViewCommands) m_viewCommands << id;
}

void CMainFrame::createMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0)
        menu->addSeparator();
      else
        menu->addAction(m_actions.value(id));
    }
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
  add(file, {57600, 57601, 57602, 57603, 57604, 0, 32784, 32785, 0, kCmdExportVCard,
             kCmdExportCalendar, kCmdImportVCard, kCmdImportCalendar, 0, 57607, 57609, 57606});
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
  add(file, {57665});

  QMenu* edit = menuBar()->addMenu(QStringLiteral("Úpr&avy"));
  add(edit, {57643, 0, 57635, 57634, 57637, 0, 32792, 32793, 32791, 0});
  QMenu* marks = edit->addMenu(QStringLiteral("Zn&ačka"));
  add(marks, {32798, 32799, 32800, 32801});
  add(edit, {0, 57636, 32804, 0, 32789});

  QMenu* diary = menuBar()->addMenu(QStringLiteral("&Diář"));
  add(diary, {32777, 32778, 0, 32803, 0, 32783, 32790});
  QMenu* buffer = menuBar()->addMenu(QStringLiteral("Zásobní&k"));
  add(buffer, {32818, 32814, 0, 32776, 32813});
  QMenu* settings = menuBar()->addMenu(QStringLiteral("Nas&tavení"));
  add(settings, {32805, 0, 32819, 32788, 32807});
  QMenu* view = menuBar()->addMenu(QStringLiteral("&Zobrazit"));
  m_toolbar = new QToolBar(QStringLiteral("Nástrojová lišta"), this);
  m_toolbar->setObjectName(QStringLiteral("toolBar"));
  QAction* toolbarToggle = m_toolbar->toggleViewAction();
  toolbarToggle->setText(QStringLiteral("&Nástrojová lišta"));
  toolbarToggle->setObjectName(QStringLiteral("action59392"));
  view->addAction(toolbarToggle);
  QAction* statusToggle = view->addAction(QStringLiteral("&Stavový řádek"));
  statusToggle->setObjectName(QStringLiteral("action59393"));
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  connect(statusToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  view->addSeparator();
  add(view, {32809});
  QMenu* modes = menuBar()->addMenu(QStringLiteral("&Režimy"));
  for (int position = 0; position < 10; ++position)
    modes->addAction(m_actions.value(32820 + kDisplayOrder[position]));
  m_windowMenu = menuBar()->addMenu(QStringLiteral("&Okno"));
  connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);
  updateWindowMenu();
  QMenu* help = menuBar()->addMenu(QStringLiteral("Nápo&věda"));
  add(help, {32794, 0, 57664});

  // The states are brought up to date whenever a menu opens.
  for (QMenu* menu : menuBar()->findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createToolBar() {
  addToolBar(m_toolbar);
  m_toolbar->setIconSize(QSize(16, 16));
  m_reduced = false;
  setReducedToolbar(true);
}

void CMainFrame::setReducedToolbar(bool reduced) {
  if (reduced == m_reduced) return;
  m_reduced = reduced;
  static const std::initializer_list<int> kReduced = {57600, 57601, 0, 32777, 0, 57664, 57669};
  static const std::initializer_list<int> kFull = {
      57600, 57601, 57603, 57607, 0,     57635, 57634, 57637, 32792, 32793,
      32791, 0,     57636, 32804, 0,     32778, 32777, 32776, 32813, 0,
      32821, 32823, 32820, 32822, 32826, 32827, 32824, 32825, 32828, 32829};
  m_toolbar->clear();
  for (int id : reduced ? kReduced : kFull) {
    if (id == 0)
      m_toolbar->addSeparator();
    else
      m_toolbar->addAction(m_actions.value(id));
  }
}

void CMainFrame::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  auto pane = [bar](const QString& name, const QString& widest) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 8);
    bar->addPermanentWidget(label);
    return label;
  };
  // The link pane holds the longest count text it will ever show.
  m_linkPane =
      pane(QStringLiteral("pane306"), UiText(IDS_RECEIVED) + QStringLiteral(" 0000 / 000"));
  m_ovrPane = pane(QStringLiteral("pane59140"), QStringLiteral("OVR"));
  m_capsPane = pane(QStringLiteral("paneCaps"), QStringLiteral("CAP"));
  m_numPane = pane(QStringLiteral("paneNum"), QStringLiteral("NUM"));
  bar->showMessage(QStringLiteral("Připraven"));
  updateLockIndicators();
}

void CMainFrame::updateLockIndicators() {
  m_ovrPane->setText(m_overwrite ? QStringLiteral("OVR") : QString());
  m_capsPane->setText(LockLit("capslock") ? QStringLiteral("CAP") : QString());
  m_numPane->setText(LockLit("numlock") ? QStringLiteral("NUM") : QString());
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
  m_windowMenu->addAction(m_actions.value(57650));
  m_windowMenu->addAction(m_actions.value(57651));
  m_windowMenu->addAction(m_actions.value(57649));
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

bool CMainFrame::frameCommandState(int id, bool* enabled, bool* checked) const {
  const CDuxelView* view = activeView();
  const bool hasDocument = activeDocument() != nullptr;
  *checked = false;
  if (id >= 32820 && id <= 32829) {
    *enabled = m_model.HasMode(id - 32820);
    *checked = view && view->mode() == id - 32820;
    return true;
  }
  switch (id) {
    case 57600:
    case 57601:
    case 57665:
    case 32790:
    case 32788:
    case 32819:
    case 32818:
    case 32809:
    case 32794:
    case 57664:
    case 57669:
      *enabled = true;
      return true;
    case 57602:
    case 57603:
    case 57604:
    case 57650:
    case 57651:
    case 57649:
      *enabled = hasDocument;
      return true;
    case 32807:
      *enabled = true;
      *checked = m_settings.saveOnExit;
      return true;
    case 32777:
      *enabled = m_engine.portOpen() && !m_engine.isSending();
      *checked = m_engine.receiving();
      return true;
    case 32783:
      *enabled = !m_engine.isSending() && m_engine.receiveStatus() != 2;
      return true;
    case 32803:
      *enabled = m_engine.isCapturing() || (m_engine.portOpen() && !m_engine.isSending());
      *checked = m_engine.isCapturing();
      return true;
    case 32814:
      *enabled = m_buffer->AnyPendingData();
      return true;
    case 32776: {
      bool any = false;
      for (int mode = 0; mode < 10; ++mode)
        any = any || (m_buffer->HasPendingData(mode) && m_model.HasMode(mode));
      *enabled = hasDocument && any;
      return true;
    }
    case 32813:
      *enabled = view && m_buffer->HasPendingData(view->mode()) && m_model.HasMode(view->mode());
      return true;
    default:
      return false;
  }
}

void CMainFrame::updateCommandStates() {
  CDuxelView* view = activeView();
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
    bool enabled = false, checked = false;
    if (!frameCommandState(it.key(), &enabled, &checked) && view)
      enabled = view->commandState(it.key(), &checked);
    it.value()->setEnabled(enabled);
    if (it.value()->isCheckable()) it.value()->setChecked(checked);
  }
  updateLockIndicators();
}

void CMainFrame::runCommand(int id) {
  bool enabled = false, checked = false;
  if (frameCommandState(id, &enabled, &checked)) {
    if (enabled) runFrameCommand(id);
  } else if (CDuxelView* view = activeView()) {
    if (view->commandState(id, &checked)) view->runCommand(id);
  }
  updateCommandStates();
}

bool CMainFrame::runFrameCommand(int id) {
  if (id >= 32820 && id <= 32829) {
    modeCommand(id - 32820);
    return true;
  }
  switch (id) {
    case 57600:
      fileNew();
      break;
    case 57601:
      fileOpen();
      break;
    case 57602:
      if (CDuxelDoc* doc = activeDocument(); doc && m_docs->saveModified(doc))
        m_docs->closeDocument(doc);
      break;
    case 57603:
      fileSave();
      break;
    case 57604:
      fileSaveAs();
      break;
    case 57665:
      close();
      break;
    case 57650:
      m_mdi->cascadeSubWindows();
      break;
    case 57651:
      m_mdi->tileSubWindows();
      break;
    case 57649:
      // Minimised windows line up along the bottom.
      for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (w->isMinimized()) w->showMinimized();
      break;
    case 32807:
      m_settings.saveOnExit = !m_settings.saveOnExit;
      break;
    case 32777:
      toggleReceiving();
      break;
    case 32783:
      transferParameters();
      break;
    case 32790:
      diaryTypes();
      break;
    case 32788:
      if (!SaveSettings()) AskStringMessage(this, IDS_SETTINGS_NOT_SAVED, QMessageBox::Warning);
      break;
    case 32819:
      showOptions();
      break;
    case 32818:
      showBufferWindow();
      break;
    case 32814:
      emptyBuffer();
      break;
    case 32776:
      moveBufferToDocument(-1);
      break;
    case 32813:
      if (CDuxelView* view = activeView()) moveBufferToDocument(view->mode());
      break;
    case 32803:
      receiveToFile();
      break;
    case 32809:
      closeAllDocuments();
      break;
    case 32794:
      showTips();
      break;
    case 57664:
      showAbout();
      break;
    case 57669:
      QWhatsThis::enterWhatsThisMode();
      break;
    default:
      return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Child windows.

CDuxelView* CMainFrame::viewOf(QMdiSubWindow* window) const {
  return window ? qobject_cast<CDuxelView*>(window->widget()) : nullptr;
}

CDuxelView* CMainFrame::activeView() const {
  // The current window stays current while the main window itself is not active.
  return viewOf(m_mdi->currentSubWindow());
}

CDuxelDoc* CMainFrame::activeDocument() const {
  CDuxelView* view = activeView();
  return view ? view->document() : nullptr;
}

QList<QMdiSubWindow*> CMainFrame::documentWindows(CDuxelDoc* doc) const {
  return m_windows.value(doc);
}

std::vector<CDuxelView*> CMainFrame::documentViews(CDuxelDoc* doc) const {
  std::vector<CDuxelView*> views;
  for (QMdiSubWindow* window : documentWindows(doc))
    if (CDuxelView* view = viewOf(window)) views.push_back(view);
  return views;
}

std::vector<CDuxelView*> CMainFrame::allViews() const {
  std::vector<CDuxelView*> views;
  for (CDuxelDoc* doc : m_docs->documents()) {
    const std::vector<CDuxelView*> some = documentViews(doc);
    views.insert(views.end(), some.begin(), some.end());
  }
  return views;
}

int CMainFrame::modeForNewWindow(int wanted) const {
  if (m_model.HasMode(wanted)) return wanted;
  for (int position = 0; position < 10; ++position)
    if (m_model.HasMode(kDisplayOrder[position])) return kDisplayOrder[position];
  return -1;
}

QMdiSubWindow* CMainFrame::openModeWindow(CDuxelDoc* doc, int mode) {
  for (QMdiSubWindow* window : documentWindows(doc)) {
    if (viewOf(window)->mode() == mode) {
      m_mdi->setActiveSubWindow(window);
      return window;
    }
  }
  mode = modeForNewWindow(mode);
  if (mode < 0) return nullptr;
  auto* view = CreateModeView(doc, mode, *this);
  auto* window = new CDuxelMDIChildWnd(view, mode);
  m_mdi->addSubWindow(window);
  window->installEventFilter(this);
  m_windows[doc].append(window);
  connect(window, &QObject::destroyed, this, [this, doc, window]() { windowGone(doc, window); });
  updateTitles(doc);
  // A new window opens maximised when the active one is.
  QMdiSubWindow* current = m_mdi->currentSubWindow();
  if (current && current != window && current->isMaximized()) {
    window->showMaximized();
  } else {
    // Room for the list and the fields, not the frame's minimum.
    const QSize area = m_mdi->viewport()->size();
    window->resize(std::max(420, area.width() * 3 / 5), std::max(300, area.height() * 2 / 3));
    window->show();
  }
  m_mdi->setActiveSubWindow(window);
  return window;
}

void CMainFrame::showDocument(CDuxelDoc* doc) {
  QMdiSubWindow* first = nullptr;
  if (m_docs->path(doc).isEmpty()) {
    // A new document opens in the start-up mode when one is set, else in the mode of the
    // last active window.
    if (m_startupMode >= 0 && !m_suspendStartupMode) m_newWindowMode = m_startupMode;
    first = openModeWindow(doc, m_newWindowMode);
  } else {
    for (int mode = 0; mode < kModeCount; ++mode) {
      if (doc->GetList(mode)->IsEmpty() || !m_model.HasMode(mode)) continue;
      QMdiSubWindow* window = openModeWindow(doc, mode);
      if (!first) first = window;
    }
    // A document with no records still needs a window to be worked in.
    if (!first) first = openModeWindow(doc, m_newWindowMode);
  }
  if (!first) {
    // The diary type has no mode at all: nothing can show the document.
    m_docs->closeDocument(doc);
    return;
  }
  m_mdi->setActiveSubWindow(first);
  updateCommandStates();
}

void CMainFrame::updateTitles(CDuxelDoc* doc) {
  const QString title = m_docs->title(doc);
  for (QMdiSubWindow* window : documentWindows(doc))
    if (auto* child = qobject_cast<CDuxelMDIChildWnd*>(window))
      child->updateTitle(title, doc->IsModified());
}

void CMainFrame::closeDocumentWindows(CDuxelDoc* doc) {
  // Taken out first, so that the windows going away do not close the document again.
  const QList<QMdiSubWindow*> windows = m_windows.take(doc);
  for (QMdiSubWindow* window : windows) {
    window->disconnect(this);
    window->removeEventFilter(this);
    delete window;
  }
  childActivated(m_mdi->activeSubWindow());
}

void CMainFrame::windowGone(CDuxelDoc* doc, QMdiSubWindow* window) {
  auto it = m_windows.find(doc);
  if (it == m_windows.end()) return;
  it->removeOne(window);
  if (it->isEmpty()) {
    m_windows.erase(it);
    m_docs->closeDocument(doc);
  }
  childActivated(m_mdi->activeSubWindow());
}

void CMainFrame::childActivated(QMdiSubWindow* window) {
  // The full button set while any child window is there, the reduced one without.
  bool anyChild = false;
  for (QMdiSubWindow* w : m_mdi->subWindowList())
    anyChild = anyChild || (w->isVisible() || w == window);
  setReducedToolbar(!anyChild);
  if (CDuxelView* view = viewOf(window)) m_newWindowMode = view->mode();
  refreshBufferWindow();
  updateCommandStates();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (CDuxelView* view = viewOf(window); view && m_windows.contains(view->document())) {
      if (!view->canClose()) {
        event->ignore();
        return true;
      }
      // Closing the last window of a document closes the document: ask about its changes.
      // Windows already closed are hidden and only wait to be deleted.
      const QList<QMdiSubWindow*> windows = documentWindows(view->document());
      const bool last = std::none_of(windows.begin(), windows.end(), [window](QMdiSubWindow* w) {
        return w != window && !w->isHidden();
      });
      if (last) view->CommitAndShow();  // typed changes count for the save question
      if (last && !m_docs->saveModified(view->document())) {
        event->ignore();
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) {
    // The date order and separators follow the system's regional settings.
    QSettings intl(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
    SetRegionalSettings(RegionalFromLocale(QLocale(), intl));
    if (CDuxelDoc* doc = activeDocument())
      for (CDuxelView* view : documentViews(doc)) view->refresh();
  }
  QMainWindow::changeEvent(event);
}

// ---------------------------------------------------------------------------------------
// The mode commands.

void CMainFrame::modeCommand(int mode) {
  CDuxelDoc* doc = activeDocument();
  if (!doc) return;
  QMdiSubWindow* current = m_mdi->currentSubWindow();
  const bool maximized = current && current->isMaximized();
  for (QMdiSubWindow* window : documentWindows(doc)) {
    if (viewOf(window)->mode() != mode) continue;
    m_mdi->setActiveSubWindow(window);
    if (maximized)
      window->showMaximized();
    else if (window->isMaximized() || window->isMinimized())
      window->showNormal();
    return;
  }
  m_newWindowMode = mode;
  openModeWindow(doc, mode);
}

// ---------------------------------------------------------------------------------------
// Start-up and the windows' placement.

void CMainFrame::startUp(const QStringList& arguments) {
  const QString commandLine = arguments.join(QLatin1Char(' ')).trimmed();
  if (!commandLine.isEmpty()) {
    openCommandLine(arguments);
  } else if (!m_settings.rememberWindows) {
    m_docs->newDocument();
  } else {
    // One new document when some mode of the diary type had a window; it opens in the
    // first remembered mode, whatever the start-up mode says.
    for (int mode = 0; mode < 10; ++mode) {
      if (!m_model.HasMode(mode) || !HasRememberedWindow(m_settings.modes[mode].window)) continue;
      m_suspendStartupMode = true;
      m_docs->newDocument();
      m_suspendStartupMode = false;
      break;
    }
  }
  applyMainWindowPlacement();
  if (m_settings.rememberWindows && activeDocument()) restoreModeWindows();

  // The port, and receiving as the profile says when it opened.
  m_engine.applySettings(m_settings.link);
  const bool open = m_engine.openPort();
  m_engine.setReceiving(open && m_settings.link.autoreceive);
  m_driver->kick();
  if (CDuxelDoc* doc = activeDocument()) updateTitles(doc);
  updateCommandStates();
}

void CMainFrame::restoreModeWindows() {
  QMdiSubWindow* firstMaximized = nullptr;
  // A child window may lie anywhere inside the main window, which is never larger than the
  // screens.
  QRect reach;
  for (const QScreen* screen : QGuiApplication::screens())
    reach = reach.united(QRect(QPoint(0, 0), screen->availableGeometry().size()));
  for (int mode = 0; mode < 10; ++mode) {
    const WindowPlacement placement = ParseWindowPlacement(m_settings.modes[mode].window);
    if (!m_model.HasMode(mode) || !HasRememberedWindow(m_settings.modes[mode].window)) continue;
    CDuxelView* view = activeView();
    if (!view || view->mode() != mode) modeCommand(mode);
    QMdiSubWindow* window = nullptr;
    for (QMdiSubWindow* w : documentWindows(activeDocument()))
      if (viewOf(w)->mode() == mode) window = w;
    if (!window) continue;
    switch (placement.kind) {
      case WindowPlacement::Rect: {
        const QRect rect(QPoint(placement.left, placement.top),
                         QPoint(placement.right - 1, placement.bottom - 1));
        if (rect.isValid() && rect.intersects(reach)) {
          window->showNormal();
          window->setGeometry(rect);
        }
        break;
      }
      case WindowPlacement::Minimized:
        window->showMinimized();
        break;
      case WindowPlacement::Maximized:
        window->showMaximized();
        if (!firstMaximized) firstMaximized = window;
        break;
      case WindowPlacement::None:
        break;
    }
  }
  // The first maximised window ends on top.
  if (firstMaximized) {
    m_mdi->setActiveSubWindow(firstMaximized);
    firstMaximized->showMaximized();
  }
}

void CMainFrame::applyMainWindowPlacement() {
  const WindowPlacement placement = ParseWindowPlacement(m_settings.mainWindow);
  switch (placement.kind) {
    case WindowPlacement::Rect: {
      const QRect rect(QPoint(placement.left, placement.top),
                       QPoint(placement.right - 1, placement.bottom - 1));
      if (rect.isValid() && OnSomeScreen(rect)) setGeometry(rect);
      showNormal();
      break;
    }
    case WindowPlacement::Minimized:
      showMinimized();
      break;
    case WindowPlacement::Maximized:
      showMaximized();
      break;
    case WindowPlacement::None:
      show();
      break;
  }
}

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

// ---------------------------------------------------------------------------------------
// Settings.

void CMainFrame::setDiaryType(const CCasioModel& model) {
  m_model = model;
  m_settings.link.type = model.m_name;
  for (CDuxelView* view : allViews()) view->refresh();
  updateCommandStates();
}

void CMainFrame::settingsChanged() {
  m_engine.applySettings(m_settings.link);
  m_startupMode = m_settings.firstOpen >= 0 && m_settings.firstOpen <= 9
                      ? kDisplayOrder[m_settings.firstOpen]
                      : -1;
  updateCommandStates();
}

bool CMainFrame::SaveSettings() {
  SavedLayout layout;
  auto placement = [](const QWidget* w, const QRect& normal) {
    if (w->isMinimized()) return std::string("minimized");
    if (w->isMaximized()) return std::string("maximized");
    return FormatWindowPlacement({WindowPlacement::Rect, normal.left(), normal.top(),
                                  normal.left() + normal.width(), normal.top() + normal.height()});
  };
  layout.mainWindow = placement(this, normalGeometry().isValid() ? normalGeometry() : geometry());
  if (CDuxelDoc* doc = activeDocument())
    for (QMdiSubWindow* window : documentWindows(doc))
      layout.views.emplace_back(viewOf(window)->mode(), placement(window, window->geometry()));
  m_settings.link.type = m_model.m_name;
  m_settings.link.autoreceive = m_engine.receiving();
  return SaveAppSettings(*m_profile, m_settings, layout);
}

// ---------------------------------------------------------------------------------------
// The link.

void CMainFrame::linkTurnDone() {
  const int status = m_engine.receiveStatus();
  const bool receiving = m_engine.receiving(), sending = m_engine.isSending();
  if (status != m_lastReceiveStatus || receiving != m_lastReceiving || sending != m_lastSending) {
    m_lastReceiveStatus = status;
    m_lastReceiving = receiving;
    m_lastSending = sending;
    updateCommandStates();
  }
}

bool CMainFrame::reopenPort() {
  m_engine.applySettings(m_settings.link);
  const bool open = m_engine.openPort();
  if (!open) m_engine.setReceiving(false);
  m_driver->kick();
  updateCommandStates();
  return open;
}

void CMainFrame::toggleReceiving() {
  if (m_engine.receiveStatus() == 2) {
    m_driver->kick();
    if (AskStringMessage(this, IDS_RECEIVING_NOW, QMessageBox::Question,
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
      return;
  }
  m_engine.setReceiving(!m_engine.receiving());
  m_driver->kick();
}

void CMainFrame::statusText(const std::string& text) {
  m_linkPane->setText(QStringFromCp1250(text));
}

void CMainFrame::message(int id, const std::string& detail, MessageIcon icon) {
  QString text = UiText(id);
  if (!detail.empty()) text += QStringLiteral("\n\n") + QStringFromCp1250(detail);
  ShowMessage(this, BoxIcon(icon), text);
}

void CMainFrame::beep() { QApplication::beep(); }

void CMainFrame::openBufferWindow() { showBufferWindow(); }

void CMainFrame::closeBufferWindow() {
  if (m_bufferWindow) m_bufferWindow->close();
}

void CMainFrame::refreshBufferWindow() {
  if (m_bufferWindow) m_bufferWindow->refresh(m_mdi->currentSubWindow() != nullptr);
}

void CMainFrame::sheetSent(CDuxelDoc& document, CCasioPol&) {
  m_docs->setModified(&document, true);
  for (CDuxelView* view : documentViews(&document))
    if (view->mode() == 9) view->refresh();
}

void CMainFrame::sendFinished(const SendResult&) {
  if (m_sendingDoc)
    for (CDuxelView* view : documentViews(m_sendingDoc)) view->refresh();
  m_sendingDoc = nullptr;
  updateCommandStates();
}

void CMainFrame::badChecksum(int total) {
  char text[256];
  std::snprintf(text, sizeof text, LoadString(IDS_BAD_CHECKSUMS).c_str(), total);
  statusBar()->showMessage(QString::fromUtf8(text));
}

void CMainFrame::captureProgress(int records) {
  statusBar()->showMessage(QStringLiteral("Příjem do souboru: %1").arg(records));
}

void CMainFrame::captureFinished(const CaptureResult& result) {
  statusBar()->showMessage(
      QStringLiteral("Příjem do souboru skončil, záznamů: %1").arg(result.records));
  updateCommandStates();
}

void CMainFrame::prepareSend() {
  m_engine.prepareSend();
  m_driver->kick();
}

void CMainFrame::cancelSend() {
  m_engine.cancelSend();
  m_driver->kick();
}

bool CMainFrame::startSend(const SendRequest& request) {
  if (!m_engine.startSend(request)) return false;
  m_sendingDoc = request.document;
  m_driver->kick();
  updateCommandStates();
  return true;
}

void CMainFrame::stopSend() {
  m_engine.interruptSend();
  m_driver->kick();
}

CDuxelDoc* CMainFrame::sendingDocument() const {
  return m_engine.isSending() ? m_sendingDoc : nullptr;
}

bool CMainFrame::canStartSend() const {
  // Records arriving from the diary would collide with a send.
  return m_port.m_open && m_engine.receiveStatus() != 2;
}

// ---------------------------------------------------------------------------------------
// The receive buffer.

void CMainFrame::showBufferWindow() {
  if (m_bufferWindow) {
    m_bufferWindow->show();
    m_bufferWindow->raise();
    m_bufferWindow->activateWindow();
    return;
  }
  m_bufferWindow = new BufferWindow(*this);
  m_bufferWindow->adjustSize();
  if (m_settings.centerBuffer) {
    QRect rect = m_bufferWindow->frameGeometry();
    rect.moveCenter(frameGeometry().center());
    m_bufferWindow->move(rect.topLeft());
  } else {
    m_bufferWindow->move(m_settings.bufferX, m_settings.bufferY);
  }
  m_bufferWindow->refresh(m_mdi->currentSubWindow() != nullptr);
  m_bufferWindow->show();
  emit bufferWindowOpened(m_bufferWindow);
}

void CMainFrame::bufferWindowClosing(BufferWindow* window) {
  if (window != m_bufferWindow) return;
  m_engine.bufferWindowClosed();
  m_bufferWindow = nullptr;
}

void CMainFrame::emptyBuffer() {
  if (AskStringMessage(this, IDS_EMPTY_BUFFER, QMessageBox::NoIcon,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_buffer->Empty();
  QApplication::restoreOverrideCursor();
  refreshBufferWindow();
}

void CMainFrame::moveBufferToDocument(int mode) {
  CDuxelView* view = activeView();
  CDuxelDoc* doc = view ? view->document() : nullptr;
  if (!doc) return;
  // A view that keeps its own counters (the worksheets' numbers) takes part in the move.
  auto* mover = dynamic_cast<BufferMoveView*>(view);
  const int accepted = mode < 0 ? MoveAllToDocument(*m_buffer, *doc, m_model, mover)
                                : MoveModeToDocument(*m_buffer, *doc, m_model, mode, mover);
  if (accepted > 0) m_docs->setModified(doc, true);
  for (CDuxelView* v : documentViews(doc)) v->refresh();
  refreshBufferWindow();
}

void CMainFrame::receiveToFile() {
  if (m_engine.isCapturing()) {
    m_engine.stopCapture();
    m_driver->kick();
    return;
  }
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Příjem do souboru"), QString(),
                                   QStringLiteral("Textové soubory (*.txt);;Všechny soubory (*)"));
  if (path.isEmpty()) return;
  std::string error;
  if (!m_engine.startCapture(CorePath(path), &error)) {
    ShowMessage(this, QMessageBox::Critical, UiText(IDS_FILE_OPEN_FAILED),
                QString::fromLocal8Bit(error.c_str()));
    return;
  }
  m_driver->kick();
}

// ---------------------------------------------------------------------------------------
// Dialogs.

void CMainFrame::showOptions() {
  OptionsSheet sheet(*this);
  sheet.exec();
}

void CMainFrame::transferParameters() {
  TransferDialog dialog(m_settings.link, m_model.m_maxSpeed, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string type = m_settings.link.type;
  m_settings.link = dialog.settings();
  m_settings.link.type = type;
  reopenPort();
}

void CMainFrame::diaryTypes() {
  DiaryTypeDialog dialog(*m_profile, m_model, this);
  if (dialog.exec() == QDialog::Accepted) setDiaryType(dialog.currentModel());
}

void CMainFrame::showAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void CMainFrame::showTips() { ShowTipOfTheDay(*m_profile, this); }

void CMainFrame::closeAllDocuments() {
  if (!m_docs->saveAllModified()) return;
  m_docs->closeAll();
}

// ---------------------------------------------------------------------------------------
// Files.

void CMainFrame::fileNew() { m_docs->newDocument(); }

void CMainFrame::fileOpen() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít"), QString(),
                                   QStringLiteral("Duxel soubory (*.dux);;Všechny soubory (*)"));
  if (!path.isEmpty()) openFile(path);
}

bool CMainFrame::fileSave() {
  CDuxelDoc* doc = activeDocument();
  // What the user typed into a form is filed before the file is written.
  if (doc)
    for (CDuxelView* view : documentViews(doc)) view->CommitAndShow();
  return doc && m_docs->save(doc);
}

bool CMainFrame::fileSaveAs() {
  CDuxelDoc* doc = activeDocument();
  if (doc)
    for (CDuxelView* view : documentViews(doc)) view->CommitAndShow();
  return doc && m_docs->saveAs(doc);
}

void CMainFrame::openFile(const QString& path) { m_docs->openDocument(path); }

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Received records that no document took yet would be lost.
  if (m_buffer->AnyPendingData() &&
      AskStringMessage(this, IDS_BUFFER_PENDING, QMessageBox::Warning,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
    event->ignore();
    return;
  }
  if (m_engine.receiveStatus() == 2 &&
      AskStringMessage(this, IDS_RECEIVING_NOW, QMessageBox::Warning,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
    event->ignore();
    return;
  }
  if (!m_profile->writeString("Duxel", "SaveOnExit", YesNo(m_settings.saveOnExit)))
    AskStringMessage(this, IDS_SETTINGS_NOT_SAVED, QMessageBox::Warning);
  else if (m_settings.saveOnExit)
    SaveSettings();
  if (!m_docs->saveAllModified()) {
    event->ignore();
    return;
  }
  m_docs->closeAll();
  if (m_bufferWindow) m_bufferWindow->close();
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
  for (CDuxelView* view : documentViews(doc))
    if (view != source) view->refresh();
  updateCommandStates();
}

void CMainFrame::showStatus(const QString& text) { statusBar()->showMessage(text); }

void CMainFrame::setOverwriteMode(bool on) {
  m_overwrite = on;
  updateLockIndicators();
}
