// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

class CCasioList;
class CCasioPol;
class CDuxelDoc;
class FieldEdit;
class MarkingListBox;
class QLabel;
class QHBoxLayout;
class QVBoxLayout;
class RecordListModel;
class RepeatButton;
class ViewHost;
struct FontEntry;

// The form view of one mode of a document: the record list box on the left with its counters,
// the mode's edit area on the right, and every Edit command. Each mode view derives from it
// and moves data between its controls and a record; the list, the commands and the clipboard
// live here. (Mode 9 without its own view shows the list alone.)
class CDuxelView : public QWidget {
  Q_OBJECT

 public:
  CDuxelView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent = nullptr);
  ~CDuxelView() override;

  CDuxelDoc* document() const { return m_doc; }
  int mode() const { return m_mode; }
  ViewHost& host() const { return m_host; }
  CCasioList* list() const { return m_list; }

  // Fills the list box from the document and shows the first record (the Scheduler selects
  // today's). The factory calls it once the mode view is complete.
  virtual void initialUpdate();
  // Redraws from the document: another view changed it, or the settings changed.
  virtual void refresh();
  // Whether the child window may close now; while the document is being sent it asks
  // message 32, and OK stops the send.
  virtual bool canClose();

  // The view's commands by the menus' command ids (see viewmodel/ViewCommands.h).
  virtual bool commandState(int id, bool* checked) const;
  virtual void runCommand(int id);

  // --- What each mode view provides -----------------------------------------------------
  // Copies the edit fields into `record`; false (after a message) when they do not read.
  virtual bool StoreFields(CCasioPol& record);
  virtual void ShowRecord(const CCasioPol& record);
  virtual void ImportRecords();
  virtual void ExportRecords();
  // Whether the edit fields would make a non-empty record (enables Add).
  virtual bool HasFieldsContent();
  virtual void ClearFields();
  // The plain text of records for the clipboard (Windows-1250, CR LF line ends).
  virtual std::string ClipboardText(const std::vector<const CCasioPol*>& records) const;
  virtual bool AreFieldsModified() const;
  virtual void SetFieldsModified(bool modified);
  // Printing and its preview; the print cycle (PrintModeRecords) plugs in here.
  virtual void print(bool preview);

  // Reads the list-box selection, files the edited record (re-sorted; an emptied one goes,
  // one edited into a duplicate merges with it) and shows the selected record.
  void CommitAndShow();

  // --- State, for the frame and for tests ----------------------------------------------
  CCasioPol* currentRecord() const { return m_current; }
  int currentIndex() const { return m_currentIndex; }
  int markedCount() const { return m_marked; }
  int rowCount() const;
  // The rows as text, as the records summarise themselves.
  QStringList rowTexts() const;
  // Selects row `row` (or none with -1) without committing.
  void selectRow(int row);
  int selectedRow() const;
  MarkingListBox* listBox() const { return m_listBox; }
  RecordListModel* listModel() const;
  FieldEdit* fieldEdit() const { return m_edit; }
  QLabel* itemCounter() const { return m_countLabel; }
  QLabel* markedCounter() const { return m_markedLabel; }
  QLabel* freeCounter() const { return m_freeLabel; }

  // Find settings kept for the whole run (dialog 129).
  struct FindOptions {
    QString text;
    bool wholeWord = false;
    bool matchCase = false;
    bool fromEdge = false;
    bool down = true;
    bool markFound = false;
  };
  static FindOptions& findOptions();
  // The search as the dialog's "Hledej" runs it, without the dialog.
  void runFind(const FindOptions& options);
  void FindNext();
  void MarkFound();

 public slots:
  // Button 345 of the Expenses form: the totals dialog plugs in here.
  virtual void showExpenseTotals() {}

 protected:
  // The mode view's form goes into this layout, above or around the field edit it adds with
  // addFieldEdit.
  QVBoxLayout* editArea() const { return m_editArea; }
  // The field edit 136 with its caption column and the counter 140 under it.
  // `fields` empty fields stand in it when nothing is shown, so that typing has a place.
  FieldEdit* addFieldEdit(int limit, bool captions, int fields = 1);
  // Move buttons 166 "U" and 167 "D" under the list.
  void addMoveButtons();
  // The view's scratch record of the mode's kind, for HasFieldsContent.
  CCasioPol* scratch() const { return m_scratch.get(); }
  // The field edit's modified state and the view's own flag.
  bool m_fieldsModified = false;
  // A form's extra control changed: the fields count as modified.
  void fieldChanged() { m_fieldsModified = true; }
  // A store refused a value: message 124 and the control gets the focus, text selected.
  void badValue(QWidget* control);
  // Inserts a new record from outside the fields (FreeFile import): sorted place, current,
  // selected and shown. Takes ownership; false (record deleted) when the list refuses it.
  bool insertAndShow(CCasioPol* record);
  void edited();
  // Counters 139, 146 and 140 show the list and the field edit as they are now.
  virtual void updateCounters();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Add();
  void New();
  void Delete();
  void Move(bool up);
  void setAllMarks(int how);  // 0 unmark, 1 mark, 2 invert
  void toggleMark();
  void Copy();
  void Paste();
  void Undo();
  void Find();
  void DeleteModes();
  void Send();
  void Password();
  void BufferToDocument(bool allModes);
  // Takes the record of `row` out of the list and the list box (not deleted).
  CCasioPol* takeRow(int row);
  // Whether the record of `record`'s address is still in the list.
  bool inList(const CCasioPol* record) const;
  void showSelection();
  void applySettings();
  enum class FocusKind { Other, List, FieldEdit, OtherEdit };
  FocusKind focusKind() const;

  CDuxelDoc* m_doc;
  int m_mode;
  ViewHost& m_host;
  CCasioList* m_list;
  std::unique_ptr<CCasioPol> m_scratch;
  CCasioPol* m_current = nullptr;
  int m_currentIndex = -1;
  int m_marked = 0;
  bool m_updated = false;
  int m_committing = 0;

  MarkingListBox* m_listBox;
  FieldEdit* m_edit = nullptr;
  int m_fieldCount = 1;
  QLabel* m_countLabel;
  QLabel* m_markedLabel;
  QLabel* m_freeLabel = nullptr;
  QHBoxLayout* m_buttonRow;
  QVBoxLayout* m_editArea;
  QPointer<QWidget> m_lastFocus;
  FontEntry* m_listFont = nullptr;
  FontEntry* m_editFont = nullptr;
};
