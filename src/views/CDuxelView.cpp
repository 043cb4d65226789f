// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/interchange/InterchangeMenu.h"
#include "views/CDuxelView.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "document/CDuxelDoc.h"
#include "link/CCasioModel.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"
#include "settings/AppSettings.h"
#include "viewmodel/FieldCaptions.h"
#include "viewmodel/RecordClipboard.h"
#include "viewmodel/ViewCommands.h"
#include "views/ClipboardFormats.h"
#include "views/FontCache.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/PasswordDialog.h"
#include "views/RowTextPainter.h"
#include "views/ViewDialogs.h"
#include "views/ViewExchange.h"
#include "views/ViewHooks.h"
#include "views/ViewHost.h"
#include "views/controls/FieldEdit.h"
#include "views/controls/MarkingListBox.h"
#include "views/controls/RecordListModel.h"
#include "views/controls/RepeatButton.h"

namespace {

// Clipboard text leaves with the line ends of the desktop.
QString ClipboardQString(const std::string& cp1250) {
  QString text = QStringFromCp1250(cp1250);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QFont FontOf(const FontSpec& spec) {
  QFont font(QString::fromStdString(Utf8FromCp1250(spec.face)));
  if (spec.size > 0) font.setPointSize(spec.size);
  return font;
}

}  // namespace

CDuxelView::FindOptions& CDuxelView::findOptions() {
  static FindOptions options;
  return options;
}

CDuxelView::CDuxelView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_mode(mode), m_host(host), m_list(doc->GetList(mode)) {
  setObjectName(QStringLiteral("modeView%1").arg(mode));
  const ModeViewSettings& look = host.settings().modes[mode];
  m_listFont = host.fonts().GetFont(QString::fromStdString(Utf8FromCp1250(look.listFont.face)),
                                    look.listFont.size, look.listFont.charset);
  m_editFont = host.fonts().GetFont(QString::fromStdString(Utf8FromCp1250(look.editFont.face)),
                                    look.editFont.size, look.editFont.charset);

  auto* outer = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  m_listBox = new MarkingListBox(this);
  m_listBox->setObjectName(QStringLiteral("list114"));
  m_listBox->setListFont(m_listFont ? m_listFont->font : FontOf(look.listFont));
  if (look.listColorSet)
    m_listBox->setTextColour(QColor(look.listRed, look.listGreen, look.listBlue));
  m_listBox->installEventFilter(this);
  left->addWidget(m_listBox, 1);
  m_buttonRow = new QHBoxLayout;
  m_countLabel = new QLabel(this);
  m_countLabel->setObjectName(QStringLiteral("counter139"));
  m_markedLabel = new QLabel(this);
  m_markedLabel->setObjectName(QStringLiteral("counter146"));
  m_buttonRow->addWidget(m_countLabel);
  m_buttonRow->addWidget(m_markedLabel);
  m_buttonRow->addStretch();
  left->addLayout(m_buttonRow);
  outer->addLayout(left, 1);
  m_editArea = new QVBoxLayout;
  outer->addLayout(m_editArea, 1);

  connect(m_listBox, &MarkingListBox::currentRowChanged, this, [this](int) { CommitAndShow(); });
  connect(m_listBox, &MarkingListBox::rowDoubleClicked, this, [this](int) { toggleMark(); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && isAncestorOf(now)) {
      m_lastFocus = now;
      m_host.setNewWindowMode(m_mode);
    }
  });
}

CDuxelView::~CDuxelView() {
  m_host.fonts().ReleaseFont(m_listFont);
  m_host.fonts().ReleaseFont(m_editFont);
}

RecordListModel* CDuxelView::listModel() const { return m_listBox->recordModel(); }

FieldEdit* CDuxelView::addFieldEdit(int limit, bool captions, int fields) {
  m_fieldCount = fields;
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  QPlainTextEdit* captionControl = nullptr;
  if (captions) {
    captionControl = new QPlainTextEdit(this);
    captionControl->setObjectName(QStringLiteral("captions135"));
    row->addWidget(captionControl);
  }
  m_edit = new FieldEdit(this);
  m_edit->setObjectName(QStringLiteral("edit136"));
  m_edit->setHost(m_host);
  if (m_editFont) m_edit->setEditFont(m_editFont->font);
  m_edit->setCharLimit(limit);
  if (captionControl) m_edit->setCaptionControl(captionControl, FieldCaptions(m_mode, m_host.settings()));
  const CCasioModel* diary = m_host.diaryModel();
  m_edit->setDisplayWidth(diary && diary->m_modeWidths[m_mode] > 0 ? diary->m_modeWidths[m_mode]
                                                                   : 16);
  row->addWidget(m_edit, 1);
  m_editArea->addLayout(row, 1);
  auto* freeRow = new QHBoxLayout;
  freeRow->addStretch();
  m_freeLabel = new QLabel(this);
  m_freeLabel->setObjectName(QStringLiteral("counter140"));
  freeRow->addWidget(m_freeLabel);
  m_editArea->addLayout(freeRow);
  connect(m_edit, &FieldEdit::freeCharsChanged, this, [this](int) { updateCounters(); });
  return m_edit;
}

void CDuxelView::addMoveButtons() {
  auto* up = new RepeatButton(QStringLiteral("U"), this);
  up->setObjectName(QStringLiteral("button166"));
  auto* down = new RepeatButton(QStringLiteral("D"), this);
  down->setObjectName(QStringLiteral("button167"));
  m_buttonRow->insertWidget(0, up);
  m_buttonRow->insertWidget(1, down);
  connect(up, &QPushButton::clicked, this, [this] { Move(true); });
  connect(down, &QPushButton::clicked, this, [this] { Move(false); });
}

void CDuxelView::initialUpdate() {
  m_scratch.reset(m_list->CreateRecord());
  m_listBox->setList(m_list);
  if (rowCount() > 0) m_listBox->setFocus();
  selectRow(rowCount() > 0 ? 0 : -1);
  CommitAndShow();
  m_updated = true;
}

void CDuxelView::applySettings() {
  // The options may have changed the mode's fonts, colour or free-field names.
  const ModeViewSettings& look = m_host.settings().modes[m_mode];
  FontEntry* list = m_host.fonts().GetFont(
      QString::fromStdString(Utf8FromCp1250(look.listFont.face)), look.listFont.size,
      look.listFont.charset);
  FontEntry* edit = m_host.fonts().GetFont(
      QString::fromStdString(Utf8FromCp1250(look.editFont.face)), look.editFont.size,
      look.editFont.charset);
  m_host.fonts().ReleaseFont(m_listFont);
  m_host.fonts().ReleaseFont(m_editFont);
  m_listFont = list;
  m_editFont = edit;
  m_listBox->setListFont(m_listFont->font);
  m_listBox->setTextColour(look.listColorSet ? QColor(look.listRed, look.listGreen, look.listBlue)
                                             : QColor());
  if (m_edit) {
    m_edit->setEditFont(m_editFont->font);
    if (m_edit->captionControl()) m_edit->setCaptions(FieldCaptions(m_mode, m_host.settings()));
  }
}

void CDuxelView::refresh() {
  applySettings();
  // Another view or a dialog may have removed records of this list: forget a current record
  // that is gone before anything looks at it.
  if (m_current && !inList(m_current)) {
    m_current = nullptr;
    m_currentIndex = -1;
  }
  const int keep = m_current ? -1 : selectedRow();
  listModel()->reset();
  if (m_current) {
    m_currentIndex = listModel()->rowOf(m_current);
    selectRow(m_currentIndex);
  } else {
    selectRow(std::min(keep, rowCount() - 1));
    showSelection();
  }
  updateCounters();
}

bool CDuxelView::canClose() {
  if (!m_doc->IsSending() || m_host.sendingDocument() != m_doc) return true;
  if (AskStringMessage(this, IDS_MESSAGE_32, QMessageBox::Question,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return false;
  m_host.stopSend();
  QCoreApplication::processEvents();
  return m_host.sendingDocument() != m_doc;
}

int CDuxelView::rowCount() const { return listModel()->rowCount(); }

QStringList CDuxelView::rowTexts() const {
  QStringList rows;
  for (int row = 0; row < rowCount(); ++row)
    rows << listModel()->data(listModel()->index(row), Qt::DisplayRole).toString();
  return rows;
}

void CDuxelView::selectRow(int row) { m_listBox->setCurrentRow(row < rowCount() ? row : -1); }

int CDuxelView::selectedRow() const { return m_listBox->currentRow(); }

bool CDuxelView::inList(const CCasioPol* record) const {
  for (const CCasioPol* r : *m_list)
    if (r == record) return true;
  return false;
}

CCasioPol* CDuxelView::takeRow(int row) {
  CCasioPol* record = listModel()->recordAt(row);
  if (!record) return nullptr;
  for (auto it = m_list->begin(); it != m_list->end(); ++it) {
    if (*it == record) {
      m_list->RemoveAt(it);
      break;
    }
  }
  listModel()->recordRemoved(row);
  return record;
}

void CDuxelView::edited() {
  m_doc->SetModifiedFlag(true);
  m_host.documentEdited(m_doc, this);
}

void CDuxelView::showSelection() {
  const int row = selectedRow();
  if (row < 0) {
    m_current = nullptr;
    m_currentIndex = -1;
    ClearFields();
  } else {
    m_current = listModel()->recordAt(row);
    m_currentIndex = row;
    ShowRecord(*m_current);
  }
  SetFieldsModified(false);
  updateCounters();
}

void CDuxelView::CommitAndShow() {
  if (m_committing) return;
  ++m_committing;
  const int s = selectedRow();
  bool stop = false;
  if (m_current && AreFieldsModified()) {
    edited();
    if (!StoreFields(*m_current)) {
      selectRow(m_currentIndex);
      stop = true;
    } else {
      CCasioPol* record = takeRow(m_currentIndex);
      if (!record->IsEmpty() && m_list->InsertSorted(record)) {
        selectRow(listModel()->recordInserted(record));
      } else {
        // Emptied, or now equal to another record, whose duplicate count went up.
        delete record;
        m_current = nullptr;
        m_currentIndex = -1;
        if (rowCount() > 0) selectRow(s < rowCount() ? s : s - 1);
        else selectRow(-1);
      }
    }
  }
  if (!stop) showSelection();
  --m_committing;
}

void CDuxelView::updateCounters() {
  m_marked = listModel()->markedCount();
  m_countLabel->setText(QStringLiteral("Položek: %1").arg(rowCount()));
  m_markedLabel->setText(QStringLiteral("Označeno: %1").arg(m_marked));
  if (m_freeLabel && m_edit)
    m_freeLabel->setText(QStringLiteral("Volných znaků: %1").arg(m_edit->freeChars()));
}

// --- The operations a mode view overrides ---------------------------------------------------

bool CDuxelView::StoreFields(CCasioPol&) { return true; }
void CDuxelView::ShowRecord(const CCasioPol&) {}
bool CDuxelView::HasFieldsContent() { return false; }
void CDuxelView::ClearFields() {
  if (m_edit) m_edit->setFields(std::vector<std::string>(std::size_t(m_fieldCount)));
  updateCounters();
}

std::string CDuxelView::ClipboardText(const std::vector<const CCasioPol*>& records) const {
  return ::ClipboardText(m_mode, records);
}

bool CDuxelView::AreFieldsModified() const {
  return m_fieldsModified || (m_edit && m_edit->isModified());
}

void CDuxelView::SetFieldsModified(bool modified) {
  m_fieldsModified = modified;
  if (m_edit) m_edit->setModified(false);
}

void CDuxelView::ImportRecords() {
  CommitAndShow();
  CCasioPol* last = nullptr;
  if (RunExchange(*this, false, &last) > 0) {
    edited();
    m_current = last;
    listModel()->reset();
    m_currentIndex = m_current ? listModel()->rowOf(m_current) : -1;
    selectRow(m_currentIndex);
    showSelection();
  }
}

void CDuxelView::ExportRecords() {
  CommitAndShow();
  RunExchange(*this, true, nullptr);
  // A worksheet export clears the worksheet's mark.
  listModel()->allChanged();
  updateCounters();
}

void CDuxelView::print(bool preview) {
  CommitAndShow();
  PrintModeRecords(*this, preview);
}

void CDuxelView::badValue(QWidget* control) {
  AskStringMessage(this, IDS_BAD_DATE, QMessageBox::Critical);
  if (!control) return;
  control->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
}

bool CDuxelView::insertAndShow(CCasioPol* record) {
  CommitAndShow();
  edited();
  if (!m_list->InsertSorted(record)) {
    delete record;
    QApplication::beep();
    return false;
  }
  m_currentIndex = listModel()->recordInserted(record);
  m_current = record;
  selectRow(m_currentIndex);
  showSelection();
  return true;
}

// --- Focus ------------------------------------------------------------------------------------

bool CDuxelView::eventFilter(QObject* watched, QEvent* event) {
  return QWidget::eventFilter(watched, event);
}

void CDuxelView::focusInEvent(QFocusEvent* event) {
  m_host.setNewWindowMode(m_mode);
  QWidget::focusInEvent(event);
}

CDuxelView::FocusKind CDuxelView::focusKind() const {
  QWidget* w = QApplication::focusWidget();
  if (!w || !isAncestorOf(w)) w = m_lastFocus;
  if (!w) return FocusKind::List;
  if (w == m_listBox || m_listBox->isAncestorOf(w)) return FocusKind::List;
  if (m_edit && w == m_edit) return FocusKind::FieldEdit;
  if (qobject_cast<QLineEdit*>(w)) return FocusKind::OtherEdit;
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
    return FocusKind::OtherEdit;
  return FocusKind::Other;
}

// --- Commands ---------------------------------------------------------------------------------

bool CDuxelView::commandState(int id, bool* checked) const {
  if (id >= kCmdExportVCard && id <= kCmdImportCalendar) {
    if (checked) *checked = false;
    return InterchangeCommandEnabled(id, *m_doc, m_mode);
  }
  ViewFacts f;
  f.mode = m_mode;
  f.count = rowCount();
  f.hasCurrent = m_current != nullptr;
  f.currentMarked = m_current && m_current->m_mark;
  f.fieldsModified = AreFieldsModified();
  // Only what the command at hand needs: the update pass asks for every command often, and
  // the clipboard may belong to another program.
  if (id == ViewCommand::kAdd) f.fieldsHaveContent = const_cast<CDuxelView*>(this)->HasFieldsContent();
  f.searchText = !findOptions().text.isEmpty();
  if (id == ViewCommand::kPaste) {
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    f.clipboardHasRecord = clip && clip->hasFormat(ClipboardFormat(m_mode));
    f.clipboardHasText = clip && clip->hasText();
  }
  switch (focusKind()) {
    case FocusKind::List:
      f.focus = ViewFacts::Focus::List;
      break;
    case FocusKind::FieldEdit:
      f.focus = ViewFacts::Focus::FieldEdit;
      f.editHasSelection = m_edit->textCursor().hasSelection();
      f.editDeleteOk = m_edit->canDelete();
      f.editCutOk = m_edit->canCut();
      if (id == ViewCommand::kPaste) f.editPasteOk = m_edit->canPaste();
      break;
    case FocusKind::OtherEdit: {
      f.focus = ViewFacts::Focus::OtherEdit;
      QWidget* w = QApplication::focusWidget();
      if (!w || !isAncestorOf(w)) w = m_lastFocus;
      auto* line = qobject_cast<QLineEdit*>(w);
      if (auto* combo = qobject_cast<QComboBox*>(w)) line = combo->lineEdit();
      f.editHasSelection = line && line->hasSelectedText();
      break;
    }
    case FocusKind::Other:
      break;
  }
  f.sending = m_host.sendingDocument() != nullptr;
  f.linkCanSend = m_host.canStartSend();
  const CCasioModel* diary = m_host.diaryModel();
  for (int mode = 0; mode < 10; ++mode) {
    f.diaryHasMode[mode] = !diary || diary->HasMode(mode);
    if (m_host.receiveBuffer().HasPendingData(mode) && f.diaryHasMode[mode]) {
      f.bufferAnyMode = true;
      if (mode == m_mode) f.bufferThisMode = true;
    }
  }
  return ViewCommandEnabled(id, f, checked);
}

void CDuxelView::runCommand(int id) {
  using namespace ViewCommand;
  if (!commandState(id, nullptr)) return;
  if (id >= kCmdExportVCard && id <= kCmdImportCalendar) {
    CommitAndShow();
    RunInterchangeCommand(id, this, *m_doc, m_mode, m_host);
    return;
  }
  const FocusKind focus = focusKind();
  QWidget* focused = QApplication::focusWidget();
  if (!focused || !isAncestorOf(focused)) focused = m_lastFocus;
  QLineEdit* line = qobject_cast<QLineEdit*>(focused);
  if (auto* combo = qobject_cast<QComboBox*>(focused)) line = combo->lineEdit();
  switch (id) {
    case kAdd:
      Add();
      break;
    case kNew:
      New();
      break;
    case kDelete:
      if (focus == FocusKind::FieldEdit) {
        m_edit->deleteForward();
      } else if (focus == FocusKind::OtherEdit && line) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(line, &press);
      } else {
        Delete();
      }
      break;
    case kCut:
      if (focus == FocusKind::FieldEdit) {
        m_edit->cutText();
      } else if (focus == FocusKind::OtherEdit && line) {
        line->cut();
      } else {
        Copy();
        Delete();
      }
      break;
    case kCopy:
      if (focus == FocusKind::FieldEdit)
        m_edit->copyText();
      else if (focus == FocusKind::OtherEdit && line)
        line->copy();
      else
        Copy();
      break;
    case kPaste:
      if (focus == FocusKind::FieldEdit)
        m_edit->pasteText();
      else if (focus == FocusKind::OtherEdit && line)
        line->paste();
      else
        Paste();
      updateCounters();
      break;
    case kUndo:
      Undo();
      break;
    case kMarkToggle:
      toggleMark();
      break;
    case kMarkAll:
      setAllMarks(1);
      break;
    case kMarkNone:
      setAllMarks(0);
      break;
    case kMarkInvert:
      setAllMarks(2);
      break;
    case kFind:
      Find();
      break;
    case kFindNext:
      FindNext();
      break;
    case kDeleteModes:
      DeleteModes();
      break;
    case kPassword:
      Password();
      break;
    case kSend:
      Send();
      break;
    case kBufferAll:
      BufferToDocument(true);
      break;
    case kBufferMode:
      BufferToDocument(false);
      break;
    case kImport:
      ImportRecords();
      break;
    case kExport:
      ExportRecords();
      break;
    case kPrint:
      print(false);
      break;
    case kPrintPreview:
      print(true);
      break;
    default:
      break;
  }
}

void CDuxelView::Add() {
  edited();
  if (m_current && m_current->IsEmpty()) {
    CommitAndShow();
    return;
  }
  std::unique_ptr<CCasioPol> record(m_list->CreateRecord());
  if (!StoreFields(*record) || record->IsEmpty() || !m_list->InsertSorted(record.get())) {
    listModel()->allChanged();  // a refused duplicate counted on its twin
    return;
  }
  m_current = record.release();
  m_currentIndex = listModel()->recordInserted(m_current);
  selectRow(m_currentIndex);
  CommitAndShow();
}

void CDuxelView::New() {
  edited();
  if (m_current) {
    if (!StoreFields(*m_current)) return;
    if (m_current->IsEmpty()) return;  // the blank record is already there
    m_fieldsModified = true;           // what StoreFields took is filed in sorted place
    CommitAndShow();
  }
  std::unique_ptr<CCasioPol> record(m_list->CreateRecord());
  if (!m_list->InsertSorted(record.get())) return;
  m_current = record.release();
  m_currentIndex = listModel()->recordInserted(m_current);
  selectRow(m_currentIndex);
  ClearFields();
  // A blank record left without typing goes again when the user moves on.
  SetFieldsModified(false);
  m_fieldsModified = true;
  updateCounters();
  if (m_edit) {
    m_edit->setFocus();
    m_edit->moveCursor(QTextCursor::Start);
    m_edit->ensureCursorVisible();
  }
}

void CDuxelView::Delete() {
  if (!m_current) return;
  const int old = m_currentIndex;
  CCasioPol* record = takeRow(old);
  delete record;
  m_current = nullptr;
  m_currentIndex = -1;
  if (rowCount() > 0) selectRow(old < rowCount() ? old : old - 1);
  CommitAndShow();
  edited();
}

void CDuxelView::Move(bool up) {
  const int row = selectedRow();
  if (row < 0 || (up && row == 0) || (!up && row >= rowCount() - 1)) return;
  CommitAndShow();
  const int from = selectedRow();
  if (from < 0 || (up && from == 0) || (!up && from >= rowCount() - 1)) return;
  CCasioPol* record = listModel()->recordAt(from);
  auto it = m_list->begin();
  while (*it != record) ++it;
  it = m_list->RemoveAt(it);
  if (up)
    m_list->InsertBefore(std::prev(it), record);
  else
    m_list->InsertBefore(std::next(it), record);
  const int to = up ? from - 1 : from + 1;
  listModel()->recordMoved(from, to);
  m_currentIndex = to;
  selectRow(to);
  edited();
}

void CDuxelView::toggleMark() {
  if (!m_current) return;
  m_current->m_mark = m_current->m_mark ? 0 : 1;
  listModel()->recordChanged(m_currentIndex);
  updateCounters();
  edited();
}

void CDuxelView::setAllMarks(int how) {
  for (CCasioPol* record : *m_list)
    record->m_mark = how == 2 ? (record->m_mark ? 0 : 1) : uint16_t(how);
  listModel()->allChanged();
  updateCounters();
  edited();
}

// --- Clipboard --------------------------------------------------------------------------------

void CDuxelView::Copy() {
  if (!m_current) return;
  auto* data = new QMimeData;
  data->setText(ClipboardQString(ClipboardText({m_current})));
  const std::vector<uint8_t> bytes = StoreClipboardRecord(m_mode, *m_current);
  data->setData(ClipboardFormat(m_mode),
                QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);
}

void CDuxelView::Paste() {
  edited();
  CommitAndShow();
  const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
  if (!clip || !clip->hasFormat(ClipboardFormat(m_mode))) {
    QApplication::beep();
    return;
  }
  const QByteArray bytes = clip->data(ClipboardFormat(m_mode));
  ClipLoad status;
  std::unique_ptr<CCasioPol> record = LoadClipboardRecord(
      m_mode, reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
      &status);
  if (!record) {
    if (status == ClipLoad::Broken)
      AskStringMessage(this, IDS_COMMAND_FAILED, QMessageBox::Warning);
    else
      QApplication::beep();
    return;
  }
  int row;
  if (m_list->InsertSorted(record.get())) {
    row = listModel()->recordInserted(record.release());
  } else {
    // The list refused an equal record: show the one it holds.
    row = -1;
    for (int r = 0; r < rowCount() && row < 0; ++r)
      if (listModel()->recordAt(r)->Compare(*record) == 0) row = r;
    listModel()->allChanged();
  }
  selectRow(row);
  showSelection();
  if (m_edit) m_edit->setFocus();
}

void CDuxelView::Undo() {
  if (!m_current) return;
  ShowRecord(*m_current);
  SetFieldsModified(false);
  updateCounters();
}

// --- Find -------------------------------------------------------------------------------------

void CDuxelView::Find() {
  FindOptions options = findOptions();
  if (!FindDialog::ask(this, options)) return;
  findOptions() = options;
  runFind(options);
}

void CDuxelView::runFind(const FindOptions& options) {
  findOptions() = options;
  if (options.fromEdge && rowCount() > 0) {
    const int edge = options.down ? 0 : rowCount() - 1;
    selectRow(edge);
    CommitAndShow();
    // The first (last) record is examined too, so that a match there is found.
    if (!options.markFound) {
      const std::string text = Cp1250FromQString(options.text);
      const std::string pattern = options.matchCase ? text : UpperCp1250(text);
      if (listModel()->recordAt(edge)->Find(pattern, options.matchCase, options.wholeWord))
        return;
    }
  }
  if (options.markFound)
    MarkFound();
  else
    FindNext();
}

void CDuxelView::FindNext() {
  const FindOptions& o = findOptions();
  const int count = rowCount();
  const int start = selectedRow() + (o.down ? 1 : -1);
  if (count == 0 || start < 0 || start >= count || o.text.isEmpty()) {
    QApplication::beep();
    return;
  }
  const std::string text = Cp1250FromQString(o.text);
  const std::string pattern = o.matchCase ? text : UpperCp1250(text);
  for (int row = start; row >= 0 && row < count; row += o.down ? 1 : -1) {
    if (listModel()->recordAt(row)->Find(pattern, o.matchCase, o.wholeWord)) {
      selectRow(row);
      CommitAndShow();
      return;
    }
  }
  QApplication::beep();
}

void CDuxelView::MarkFound() {
  const FindOptions& o = findOptions();
  const int count = rowCount();
  const int start = selectedRow();
  if (count == 0 || start < 0 || o.text.isEmpty()) {
    QApplication::beep();
    return;
  }
  const std::string text = Cp1250FromQString(o.text);
  const std::string pattern = o.matchCase ? text : UpperCp1250(text);
  int found = 0, first = -1;
  for (int row = start; row >= 0 && row < count; row += o.down ? 1 : -1) {
    CCasioPol* record = listModel()->recordAt(row);
    if (!record->Find(pattern, o.matchCase, o.wholeWord)) continue;
    record->m_mark = 1;
    if (first < 0) first = row;
    ++found;
  }
  if (first >= 0) {
    selectRow(first);
    CommitAndShow();
  }
  listModel()->allChanged();
  updateCounters();
  if (found > 0) edited();
  ShowMessage(this, QMessageBox::Information, UiText(IDS_FOUND) + QString::number(found));
}

// --- Modes, send, password, buffer ------------------------------------------------------------

void CDuxelView::DeleteModes() {
  CommitAndShow();
  DeleteModesDialog::Choice choice;
  for (int mode = 0; mode < 10; ++mode) choice.modes[mode] = m_doc->GetList(mode)->m_selected != 0;
  const bool accepted = DeleteModesDialog::ask(this, choice);
  for (int mode = 0; mode < 10; ++mode) m_doc->GetList(mode)->m_selected = choice.modes[mode];
  if (!accepted) return;
  for (int mode = 0; mode < 10; ++mode) {
    if (!choice.modes[mode]) continue;
    CCasioList* list = m_doc->GetList(mode);
    for (auto it = list->begin(); it != list->end();) {
      CCasioPol* record = *it;
      const bool covered = choice.which == 0 || (choice.which == 1) == (record->m_mark != 0);
      if (!covered) {
        ++it;
        continue;
      }
      if (mode == m_mode) {
        const int row = listModel()->rowOf(record);
        if (record == m_current) m_current = nullptr;
        it = list->RemoveAt(it);
        if (row >= 0) listModel()->recordRemoved(row);
      } else {
        it = list->RemoveAt(it);
      }
      delete record;
    }
  }
  if (choice.modes[m_mode]) {
    m_current = nullptr;
    m_currentIndex = -1;
    const int row = selectedRow();
    selectRow(row >= rowCount() ? rowCount() - 1 : row);
    CommitAndShow();
  }
  edited();
}

void CDuxelView::Send() {
  if (m_host.sendingDocument()) {
    if (AskStringMessage(this, IDS_STOP_SENDING, QMessageBox::Warning,
                         QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
      m_host.stopSend();
    return;
  }
  CommitAndShow();
  m_host.prepareSend();
  std::array<bool, 10> hasMode, checked;
  const CCasioModel* diary = m_host.diaryModel();
  for (int mode = 0; mode < 10; ++mode) {
    hasMode[mode] = !diary || diary->HasMode(mode);
    checked[mode] = m_doc->GetList(mode)->m_selected != 0;
  }
  static int filter = 0;
  static bool marks = false;
  SendDialogRules rules(hasMode, checked, filter, marks);
  const bool accepted = SendDialog::ask(this, rules);
  for (int mode = 0; mode < 10; ++mode) m_doc->GetList(mode)->m_selected = rules.checked(mode);
  if (!accepted) {
    m_host.cancelSend();
    return;
  }
  filter = rules.filter();
  marks = rules.marks();
  SendRequest request;
  request.document = m_doc;
  request.filter = filter;
  request.transferMarks = marks;
  if (!m_host.startSend(request)) {
    m_host.cancelSend();
    QApplication::beep();
  }
}

void CDuxelView::Password() {
  if (m_doc->IsProtected()) {
    const std::optional<QString> old = PasswordDialog::ask(this);
    if (!old) return;
    if (Cp1250FromQString(*old) != m_doc->GetPassword()) {
      AskStringMessage(this, IDS_WRONG_PASSWORD, QMessageBox::Critical);
      return;
    }
  }
  const std::optional<QString> first = PasswordDialog::ask(this, UiText(IDS_NEW_PASSWORD));
  if (!first) return;
  if (first->isEmpty()) {
    m_doc->SetPassword(std::string());
    edited();
    return;
  }
  const std::optional<QString> second = PasswordDialog::ask(this, UiText(IDS_CONFIRM_PASSWORD));
  if (!second) return;
  if (*first != *second) {
    AskStringMessage(this, IDS_WRONG_PASSWORD, QMessageBox::Critical);
    return;
  }
  m_doc->SetPassword(Cp1250FromQString(*first));
  edited();
}

namespace {
// What this view does while buffered records move into its document.
class ViewBufferMove : public BufferMoveView {
 public:
  explicit ViewBufferMove(int mode) : m_mode(mode) {}
  bool HasView(int mode) const override { return mode == m_mode; }
  void RecordMoved(int mode, CCasioPol* record) override {
    if (mode == m_mode) last = record;
  }
  CCasioPol* last = nullptr;

 private:
  int m_mode;
};
}  // namespace

void CDuxelView::BufferToDocument(bool allModes) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CommitAndShow();
  static const CCasioModel everyMode;
  const CCasioModel* diary = m_host.diaryModel();
  ViewBufferMove move(m_mode);
  const int moved = allModes
                        ? MoveAllToDocument(m_host.receiveBuffer(), *m_doc, diary ? *diary : everyMode, &move)
                        : MoveModeToDocument(m_host.receiveBuffer(), *m_doc, diary ? *diary : everyMode,
                                             m_mode, &move);
  listModel()->reset();
  if (move.last) {
    m_current = move.last;
    m_currentIndex = listModel()->rowOf(m_current);
    selectRow(m_currentIndex);
    showSelection();
  }
  updateCounters();
  if (moved > 0) edited();
  m_host.bufferChanged();
  QApplication::restoreOverrideCursor();
}
