// Word's Tables, Table and Cell objects over the tables of a document's main story.
#include "automation_object.h"
#include "hresult.h"
#include "objects.h"
#include "table_layout.h"
#include "word_error.h"

namespace standin {
namespace {

HRESULT NoSuchMember(REFIID iid) {
  return WordError(iid, kNoSuchMember, L"The requested member of the collection does not exist.");
}

// A table is followed through edits by a span over its first character, which text typed
// into its first cell does not move.
using TableAnchor = std::shared_ptr<Span>;

class CellObject final : public AutomationObject<Cell> {
 public:
  CellObject(DocumentPtr doc, TableAnchor table, LONG row, LONG column)
      : AutomationObject(L"Cell"), doc_(std::move(doc)), table_(std::move(table)), row_(row),
        column_(column) {}

  HRESULT STDMETHODCALLTYPE get_Range(::Range** prop) override {
    Span cell;
    RETURN_IF_FAILED(Locate(&cell));
    return NewRange(doc_, doc_->main, cell.start, cell.end, prop);
  }
  // The selection becomes the whole cell, its end-of-cell mark included.
  HRESULT STDMETHODCALLTYPE Select() override {
    Span cell;
    RETURN_IF_FAILED(Locate(&cell));
    doc_->selection->start = cell.start;
    doc_->selection->end = cell.end;
    App().Activate(doc_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_RowIndex(LONG* prop) override {
    *prop = row_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ColumnIndex(LONG* prop) override {
    *prop = column_;
    return S_OK;
  }

 private:
  HRESULT Locate(Span* cell) {
    TableLayout layout;
    if (doc_->closed || !LayoutTableAt(*doc_->main, table_->start, &layout) ||
        row_ > static_cast<LONG>(layout.rows.size()) ||
        column_ > static_cast<LONG>(layout.rows[row_ - 1].size())) {
      return ObjectDeleted(IID_Cell);
    }
    *cell = layout.rows[row_ - 1][column_ - 1];
    return S_OK;
  }

  DocumentPtr doc_;
  TableAnchor table_;
  LONG row_, column_;
};

class TableObject final : public AutomationObject<Table> {
 public:
  TableObject(DocumentPtr doc, TableAnchor anchor)
      : AutomationObject(L"Table"), doc_(std::move(doc)), anchor_(std::move(anchor)) {}

  // Rows and columns count from 1; a cell outside the table is Word's "no such member".
  HRESULT STDMETHODCALLTYPE Cell(LONG Row, LONG Column, ::Cell** prop) override {
    TableLayout layout;
    if (doc_->closed || !LayoutTableAt(*doc_->main, anchor_->start, &layout))
      return ObjectDeleted(IID_Table);
    if (Row < 1 || Row > static_cast<LONG>(layout.rows.size()) || Column < 1 ||
        Column > static_cast<LONG>(layout.rows[Row - 1].size())) {
      return NoSuchMember(IID_Table);
    }
    return NewObject<CellObject>(prop, doc_, anchor_, Row, Column);
  }
  HRESULT STDMETHODCALLTYPE get_Range(::Range** prop) override {
    TableLayout layout;
    if (doc_->closed || !LayoutTableAt(*doc_->main, anchor_->start, &layout))
      return ObjectDeleted(IID_Table);
    return NewRange(doc_, doc_->main, layout.start, layout.end, prop);
  }

 private:
  DocumentPtr doc_;
  TableAnchor anchor_;
};

class TablesObject final : public AutomationObject<Tables> {
 public:
  explicit TablesObject(DocumentPtr doc) : AutomationObject(L"Tables"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE Item(LONG Index, Table** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Tables);
    const std::vector<LONG> starts = TableStarts(*doc_->main);
    if (Index < 1 || Index > static_cast<LONG>(starts.size())) return NoSuchMember(IID_Tables);
    const LONG start = starts[Index - 1];
    return NewObject<TableObject>(prop, doc_, doc_->main->Track(start, start + 1));
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Tables);
    *prop = static_cast<LONG>(TableStarts(*doc_->main).size());
    return S_OK;
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewTables(const DocumentPtr& doc, Tables** out) {
  return NewObject<TablesObject>(out, doc);
}

}  // namespace standin
