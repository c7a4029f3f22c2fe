#pragma once
// The data-set surface controls bind to: a data set with a cursor and an editing state,
// the data source that shares it, and the data links through which controls hear of its
// changes. Concrete data sets derive from TDataSet and keep the records.
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

class TDataSource;
class TDataLink;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TDataSet : public TComponent {
    CLASSLIB_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* owner) : TComponent(owner) {}
    ~TDataSet() override;

    bool Active() const { return FState != dsInactive; }
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return FState; }
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    int RecNo() const { return FRecNo; }
    virtual bool CanModify() const { return true; }

    void First();
    void Prior();
    void Next();
    void Last();
    void Insert();
    void Append();
    void Delete();
    void Edit();
    void Post();
    void Cancel();
    void Refresh();

    // The records: how many there are, and the steps that change them.
    virtual int RecordCount() const = 0;
protected:
    virtual void InternalInsert(int at) = 0;     // a new empty record at `at`
    virtual void InternalDelete(int recNo) = 0;
    virtual void InternalPost(int recNo) { (void)recNo; }
    virtual void InternalCancel(int recNo, bool inserted);
private:
    friend class TDataSource;
    enum TDataEvent { deActiveChanged, deDataSetChanged, deEditingChanged };
    void Notify(TDataEvent event);
    void SetState(TDataSetState state);
    void CheckActive() const;
    void CheckBrowse();

    TDataSetState FState = dsInactive;
    int FRecNo = -1;  // invariant: -1 without records, else 0 <= FRecNo < RecordCount()
    bool FBof = true, FEof = true;
    std::vector<TDataSource*> FSources;  // not owned
};

class TDataSource : public TComponent {
    CLASSLIB_CLASS(TDataSource, TComponent)
public:
    static const TPropertyList& Published();
    explicit TDataSource(TComponent* owner) : TComponent(owner) {}
    ~TDataSource() override;
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);
    TDataSetState State() const { return FDataSet ? FDataSet->State() : dsInactive; }
protected:
    void Notification(TComponent* component, TOperation operation) override;
private:
    friend class TDataSet;
    friend class TDataLink;
    std::vector<TDataLink*> FLinks;  // not owned
    TDataSet* FDataSet = nullptr;
};

// How a control hears of its data set: overridable steps for each kind of change.
class TDataLink : public TObject {
public:
    TDataLink() = default;
    ~TDataLink() override;
    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* value);
    TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
    bool Active() const { return DataSet() && DataSet()->Active(); }
    bool Editing() const { return DataSet() && (DataSet()->State() == dsEdit || DataSet()->State() == dsInsert); }
protected:
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    virtual void EditingChanged() {}
private:
    friend class TDataSet;
    friend class TDataSource;
    TDataSource* FDataSource = nullptr;
};

}  // namespace ClassLib
