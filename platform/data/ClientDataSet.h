#pragma once
// A client data set: a local copy of a provider's records, read from the connection's application
// server (AS_GetRecords answers [field names, rows]). Records can be sorted by a field list, located by
// key values, and edited and posted in the local copy.
#include "platform/core/Exceptions.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/variant/Variant.h"
#include "platform/vcl/Classes.h"

#include <vector>

namespace qz {

QZ_EXCEPTION_CLASS(EDatabaseError, Exception);

class TClientDataSet;
class TField;
class TSocketConnection;

QZ_EVENT_TYPE(TFieldGetTextEvent, void(TField* Sender, AnsiString& Text, bool DisplayText))
QZ_EVENT_TYPE(TFieldSetTextEvent, void(TField* Sender, const AnsiString& Text))

QZ_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit)
// A text of more than 255 bytes makes a memo.
QZ_ENUM(TFieldType, ftUnknown, ftString, ftMemo, ftInteger, ftFloat, ftBoolean, ftDateTime)
QZ_ENUM(TLocateOption, loCaseInsensitive, loPartialKey)
QZ_SET(TLocateOptions, TLocateOption)

// One field of the current record. Fields belong to their data set and outlive Close and Open as long
// as the provider still sends a field of that name.
class TField : public TComponent {
    QZ_CLASS(TField)
public:
    explicit TField(TComponent* owner = nullptr);

    TClientDataSet* DataSet() const { return dataSet_; }
    const AnsiString& FieldName() const { return fieldName_; }
    int Index() const { return index_; }
    // Given by the provider's values when the field is first read (ftUnknown while they are all Null).
    TFieldType DataType() const { return dataType_; }
    void SetDataType(TFieldType value) { dataType_ = value; }
    // The field name until one is given.
    AnsiString DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const AnsiString& value) { displayLabel_ = value; }

    // The value of the current record (Null on an empty data set). Writing needs the edit state.
    Variant AsVariant() const;
    void SetAsVariant(const Variant& value);
    AnsiString AsString() const; // Null reads as ""
    void SetAsString(const AnsiString& value) { SetAsVariant(value); }
    int AsInteger() const; // Null reads as 0; raises EVariantError for a value that is no number
    void SetAsInteger(int value) { SetAsVariant(value); }
    bool IsNull() const;
    // Through OnGetText when it is set (DisplayText false for Text, true for DisplayText).
    AnsiString Text() const;
    AnsiString DisplayText() const;
    // Through OnSetText when it is set, else as AsString.
    void SetText(const AnsiString& value);

    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

private:
    friend class TClientDataSet;
    AnsiString GetText(bool display) const;
    TClientDataSet* dataSet_ = nullptr;
    AnsiString fieldName_;
    AnsiString displayLabel_;
    int index_ = -1;
    TFieldType dataType_ = ftUnknown;
};

class TClientDataSet : public TComponent {
    QZ_CLASS(TClientDataSet)
public:
    explicit TClientDataSet(TComponent* owner = nullptr);
    ~TClientDataSet() override;

    TSocketConnection* RemoteServer() const { return remoteServer_; }
    void SetRemoteServer(TSocketConnection* value);
    AnsiString ProviderName;
    // Field names separated by ";": the order of the records. Empty keeps the provider's order.
    const AnsiString& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const AnsiString& value);

    // Reads the provider's records; raises EDatabaseError without a remote server or provider name, or
    // for a packet that is not [field names, rows] (the data set then stays closed).
    void Open();
    void Close(); // drops the local copy and any pending edit
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool value) { value ? Open() : Close(); }
    TDataSetState State() const { return state_; }

    // Moving posts a pending edit first.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return rows_.empty(); }
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    int RecNo() const { return rows_.empty() ? 0 : cursor_ + 1; } // 1-based, 0 when empty

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int index) const;
    TField* FindField(const AnsiString& name) const;   // ignores case; nullptr when absent
    TField* FieldByName(const AnsiString& name) const; // raises EDatabaseError "Field 'X' not found"

    // Moves to the first record whose fields (names separated by ";") equal values: a single value for
    // one field, an array of one value per field otherwise. False, with the cursor unchanged, when none
    // matches.
    bool Locate(const AnsiString& keyFields, const Variant& keyValues, TLocateOptions options = {});

    // Edits the current record in a buffer; Post writes it into the local copy (and re-sorts it by the
    // index fields, staying on it); Cancel drops it. Edit raises EDatabaseError on an empty data set.
    void Edit();
    void Post();
    void Cancel();

    void Loaded() override; // opens when Active was read from a form resource

    // Data-aware controls follow the records only while no DisableControls is pending.
    void DisableControls() { ++disabledControls_; }
    void EnableControls() {
        if (disabledControls_ > 0) --disabledControls_;
    }
    bool ControlsDisabled() const { return disabledControls_ > 0; }

private:
    friend class TField;
    void CheckActive() const;
    void CheckBrowse(); // posts a pending edit
    void Sort();
    std::vector<int> FieldIndexes(const AnsiString& names) const;
    const Variant& Value(int field) const;
    void SetValue(int field, const Variant& value);

    TSocketConnection* remoteServer_ = nullptr;
    AnsiString indexFieldNames_;
    TDataSetState state_ = dsInactive;
    std::vector<TField*> fields_; // owned by this component
    std::vector<std::vector<Variant>> rows_;
    std::vector<Variant> buffer_; // the record being edited
    int cursor_ = 0;
    bool eof_ = true;
    bool bof_ = true;
    bool streamedActive_ = false; // Active read while loading
    int disabledControls_ = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

} // namespace qz
