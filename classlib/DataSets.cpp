#include "classlib/DataSets.h"

#include <algorithm>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TDataSet, TComponent)
CLASSLIB_IMPLEMENT(TDataSource, TComponent)

namespace {
template <class T>
void Forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
}  // namespace

// ---- data set ----

TDataSet::~TDataSet() {
    for (TDataSource* source : std::vector<TDataSource*>(FSources)) source->SetDataSet(nullptr);
}

void TDataSet::Notify(TDataEvent event) {
    for (TDataSource* source : std::vector<TDataSource*>(FSources)) {
        for (TDataLink* link : std::vector<TDataLink*>(source->FLinks)) {
            switch (event) {
                case deActiveChanged: link->ActiveChanged(); break;
                case deDataSetChanged: link->DataSetChanged(); break;
                case deEditingChanged: link->EditingChanged(); break;
            }
        }
    }
}

void TDataSet::SetState(TDataSetState state) {
    if (state == FState) return;
    const bool activeChanged = (state == dsInactive) != (FState == dsInactive);
    const bool wasEditing = FState == dsEdit || FState == dsInsert;
    FState = state;
    if (activeChanged) Notify(deActiveChanged);
    else if (wasEditing != (state == dsEdit || state == dsInsert)) Notify(deEditingChanged);
}

void TDataSet::CheckActive() const {
    if (!Active()) throw Exception(L"Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckBrowse() {
    CheckActive();
    if (FState == dsEdit || FState == dsInsert) Post();
}

void TDataSet::SetActive(bool value) {
    if (value == Active()) return;
    if (value) {
        FRecNo = RecordCount() > 0 ? 0 : -1;
        FBof = true;
        FEof = RecordCount() == 0;
    }
    SetState(value ? dsBrowse : dsInactive);
}

void TDataSet::First() {
    CheckBrowse();
    FRecNo = RecordCount() > 0 ? 0 : -1;
    FBof = true;
    FEof = RecordCount() == 0;
    Notify(deDataSetChanged);
}

void TDataSet::Last() {
    CheckBrowse();
    FRecNo = RecordCount() - 1;
    FEof = true;
    FBof = RecordCount() == 0;
    Notify(deDataSetChanged);
}

void TDataSet::Next() {
    CheckBrowse();
    if (FRecNo + 1 < RecordCount()) {
        ++FRecNo;
        FBof = false;
        FEof = false;
    } else {
        FEof = true;
    }
    Notify(deDataSetChanged);
}

void TDataSet::Prior() {
    CheckBrowse();
    if (FRecNo > 0) {
        --FRecNo;
        FBof = false;
        FEof = false;
    } else {
        FBof = true;
    }
    Notify(deDataSetChanged);
}

void TDataSet::Insert() {
    CheckBrowse();
    if (!CanModify()) throw Exception(L"Cannot modify a read-only dataset");
    const int at = std::max(FRecNo, 0);
    InternalInsert(at);
    FRecNo = at;
    FBof = FEof = false;
    SetState(dsInsert);
    Notify(deDataSetChanged);
}

void TDataSet::Append() {
    CheckBrowse();
    if (!CanModify()) throw Exception(L"Cannot modify a read-only dataset");
    InternalInsert(RecordCount());
    FRecNo = RecordCount() - 1;
    FBof = FEof = false;
    SetState(dsInsert);
    Notify(deDataSetChanged);
}

void TDataSet::Delete() {
    CheckActive();
    if (!CanModify()) throw Exception(L"Cannot modify a read-only dataset");
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRecNo < 0) throw Exception(L"Cannot perform this operation on an empty dataset");
    InternalDelete(FRecNo);
    SetState(dsBrowse);
    if (FRecNo >= RecordCount()) FRecNo = RecordCount() - 1;
    FBof = FRecNo <= 0;
    FEof = RecordCount() == 0 || FRecNo == RecordCount() - 1;
    Notify(deDataSetChanged);
}

void TDataSet::Edit() {
    CheckActive();
    if (FState == dsEdit || FState == dsInsert) return;
    if (!CanModify()) throw Exception(L"Cannot modify a read-only dataset");
    if (FRecNo < 0) {
        Append();
        return;
    }
    SetState(dsEdit);
}

void TDataSet::Post() {
    CheckActive();
    if (FState != dsEdit && FState != dsInsert) throw Exception(L"Dataset not in edit or insert mode");
    InternalPost(FRecNo);
    SetState(dsBrowse);
    Notify(deDataSetChanged);
}

void TDataSet::InternalCancel(int recNo, bool inserted) {
    if (inserted) InternalDelete(recNo);
}

void TDataSet::Cancel() {
    CheckActive();
    if (FState != dsEdit && FState != dsInsert) return;
    const bool inserted = FState == dsInsert;
    InternalCancel(FRecNo, inserted);
    if (inserted && FRecNo >= RecordCount()) FRecNo = RecordCount() - 1;
    SetState(dsBrowse);
    Notify(deDataSetChanged);
}

void TDataSet::Refresh() {
    CheckBrowse();
    Notify(deDataSetChanged);
}

// ---- data source ----

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(FLinks)) link->SetDataSource(nullptr);
}

const TPropertyList& TDataSource::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Reference(L"DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    return list;
}

void TDataSource::SetDataSet(TDataSet* value) {
    if (value == FDataSet) return;
    if (FDataSet) Forget(FDataSet->FSources, this);
    FDataSet = value;
    if (FDataSet) {
        FDataSet->FSources.push_back(this);
        FDataSet->FreeNotification(this);
    }
    for (TDataLink* link : std::vector<TDataLink*>(FLinks)) link->ActiveChanged();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FDataSet) SetDataSet(nullptr);
}

// ---- data link ----

TDataLink::~TDataLink() {
    if (FDataSource) Forget(FDataSource->FLinks, this);
}

void TDataLink::SetDataSource(TDataSource* value) {
    if (value == FDataSource) return;
    if (FDataSource) Forget(FDataSource->FLinks, this);
    FDataSource = value;
    if (FDataSource) FDataSource->FLinks.push_back(this);
    ActiveChanged();
}

}  // namespace ClassLib
