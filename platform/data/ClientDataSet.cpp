#include "platform/data/ClientDataSet.h"

#include "platform/core/Strings.h"
#include "platform/data/SocketConnection.h"

#include <algorithm>
#include <numeric>

namespace qz {

namespace {

const Variant& NullValue() {
    static const Variant v = Null();
    return v;
}

// Order of two field values: Null first, texts by their bytes, numbers by value.
int CompareValues(const Variant& a, const Variant& b) {
    bool an = VarIsNull(a) || VarIsEmpty(a), bn = VarIsNull(b) || VarIsEmpty(b);
    if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
    if (VarIsStr(a) && VarIsStr(b)) return a.AsString().compare(b.AsString());
    try {
        return a < b ? -1 : (b < a ? 1 : 0);
    } catch (const Exception&) {
        return VarToStr(a).compare(VarToStr(b));
    }
}

bool Matches(const Variant& value, const Variant& key, TLocateOptions options) {
    if (VarIsNull(key) || VarIsEmpty(key)) return VarIsNull(value) || VarIsEmpty(value);
    if (VarIsNull(value) || VarIsEmpty(value)) return false;
    if (VarIsStr(key) || VarIsStr(value)) {
        AnsiString v = VarToStr(value), k = VarToStr(key);
        if (options.Contains(loPartialKey) && v.size() > k.size()) v.resize(k.size());
        return options.Contains(loCaseInsensitive) ? SameText(v, k) : v == k;
    }
    try {
        return value == key;
    } catch (const Exception&) {
        return false;
    }
}

// The type of a field from its values: the first value that is not Null, a text of more than 255 bytes
// in any row making a memo.
TFieldType TypeOfValues(const std::vector<std::vector<Variant>>& rows, size_t column) {
    TFieldType type = ftUnknown;
    for (const auto& row : rows) {
        const Variant& v = row[column];
        if (VarIsNull(v) || VarIsEmpty(v)) continue;
        TFieldType t = ftUnknown;
        TVarType vt = VarType(v) & varTypeMask;
        if (VarIsStr(v))
            t = VarToStr(v).size() > 255 ? ftMemo : ftString;
        else if (vt == varBoolean)
            t = ftBoolean;
        else if (vt == varDate)
            t = ftDateTime;
        else if (vt == varSingle || vt == varDouble || vt == varCurrency)
            t = ftFloat;
        else if (VarIsNumeric(v))
            t = ftInteger;
        if (type == ftUnknown || (type == ftString && t == ftMemo)) type = t;
        if (type != ftString) break;
    }
    return type;
}

} // namespace

// ---- TField

TField::TField(TComponent* owner) : TComponent(owner) {}

Variant TField::AsVariant() const {
    if (!dataSet_) throw EDatabaseError("Field '" + fieldName_ + "' has no dataset");
    return dataSet_->Value(index_);
}

void TField::SetAsVariant(const Variant& value) {
    if (!dataSet_) throw EDatabaseError("Field '" + fieldName_ + "' has no dataset");
    dataSet_->SetValue(index_, value);
}

AnsiString TField::AsString() const {
    return VarToStr(AsVariant());
}

int TField::AsInteger() const {
    Variant v = AsVariant();
    return VarIsNull(v) ? 0 : v.AsInteger();
}

bool TField::IsNull() const {
    Variant v = AsVariant();
    return VarIsNull(v) || VarIsEmpty(v);
}

AnsiString TField::GetText(bool display) const {
    AnsiString text = AsString();
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), text, display);
    }
    return text;
}

AnsiString TField::Text() const {
    return GetText(false);
}
AnsiString TField::DisplayText() const {
    return GetText(true);
}

void TField::SetText(const AnsiString& value) {
    if (OnSetText)
        OnSetText(this, value);
    else
        SetAsString(value);
}

QZ_CLASS_INFO(TField, TComponent) {
    b.Property("FieldName", &TField::FieldName);
    b.Property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
    b.Property("DataType", &TField::DataType, &TField::SetDataType).Default(ftUnknown);
    b.Event("OnGetText", &TField::OnGetText);
    b.Event("OnSetText", &TField::OnSetText);
}

// ---- TClientDataSet

TClientDataSet::TClientDataSet(TComponent* owner) : TComponent(owner) {}

TClientDataSet::~TClientDataSet() {
    if (remoteServer_) remoteServer_->RemoveFreeNotification(this);
    // The fields go with the owned components.
}

void TClientDataSet::SetRemoteServer(TSocketConnection* value) {
    if (value == remoteServer_) return;
    if (remoteServer_) remoteServer_->RemoveFreeNotification(this);
    remoteServer_ = value;
    if (remoteServer_) remoteServer_->FreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == remoteServer_) remoteServer_ = nullptr;
    auto f = std::find(fields_.begin(), fields_.end(), component);
    if (f != fields_.end()) {
        // A field freed by someone else: drop it and close, the records no longer match.
        fields_.erase(f);
        if (Active()) Close();
    }
}

void TClientDataSet::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        Open();
    }
}

void TClientDataSet::SetIndexFieldNames(const AnsiString& value) {
    indexFieldNames_ = value;
    if (Active()) {
        CheckBrowse();
        Sort();
    }
}

void TClientDataSet::Open() {
    if (IsLoading()) {
        streamedActive_ = true;
        return;
    }
    if (Active()) return;
    if (!remoteServer_) throw EDatabaseError(Name() + ": Missing remote server");
    if (ProviderName.empty()) throw EDatabaseError(Name() + ": Missing provider name");
    if (!VarIsObject(remoteServer_->AppServer()) && !remoteServer_->Connected()) remoteServer_->Open();
    Variant packet = remoteServer_->AppServer().Call("AS_GetRecords", {ProviderName});

    AnsiString bad = "Invalid data packet from provider " + ProviderName + ": ";
    auto elements = [&](const Variant& v, const char* what) {
        if (!VarIsArray(v) || VarArrayDimCount(v) != 1) throw EDatabaseError(bad + what + " is not a list");
        std::vector<Variant> items;
        for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i) items.push_back(v[i]);
        return items;
    };
    std::vector<Variant> parts = elements(packet, "the packet");
    if (parts.size() != 2) throw EDatabaseError(bad + "the packet must hold field names and rows");
    std::vector<AnsiString> names;
    for (const Variant& n : elements(parts[0], "the field list")) {
        if (!VarIsStr(n) || Trim(n.AsString()).empty())
            throw EDatabaseError(bad + "a field name is not a text");
        for (const AnsiString& seen : names)
            if (SameText(seen, n.AsString())) throw EDatabaseError(bad + "field " + seen + " appears twice");
        names.push_back(n.AsString());
    }
    std::vector<std::vector<Variant>> rows;
    for (const Variant& r : elements(parts[1], "the row list")) {
        std::vector<Variant> row = elements(r, "a row");
        if (row.size() != names.size())
            throw EDatabaseError(bad + "a row has " + IntToStr(row.size()) + " values for " +
                                 IntToStr(names.size()) + " fields");
        rows.push_back(std::move(row));
    }

    // Fields of the same name are kept with their labels and events.
    std::vector<TField*> fields;
    for (const AnsiString& name : names) {
        TField* f = FindField(name);
        if (!f) {
            f = new TField(this);
            f->dataSet_ = this;
        }
        f->fieldName_ = name;
        f->index_ = static_cast<int>(fields.size());
        if (f->dataType_ == ftUnknown) f->dataType_ = TypeOfValues(rows, fields.size());
        fields.push_back(f);
    }
    std::vector<TField*> old;
    old.swap(fields_);
    for (TField* f : old)
        if (std::find(fields.begin(), fields.end(), f) == fields.end()) f->Free();
    fields_ = std::move(fields);
    rows_ = std::move(rows);
    state_ = dsBrowse;
    Sort();
    First();
}

void TClientDataSet::Close() {
    streamedActive_ = false;
    state_ = dsInactive;
    rows_.clear();
    buffer_.clear();
    cursor_ = 0;
    eof_ = bof_ = true;
}

void TClientDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError(Name() + ": Cannot perform this operation on a closed dataset");
}

void TClientDataSet::CheckBrowse() {
    CheckActive();
    if (state_ == dsEdit) Post();
}

void TClientDataSet::First() {
    CheckBrowse();
    cursor_ = 0;
    bof_ = true;
    eof_ = rows_.empty();
}

void TClientDataSet::Last() {
    CheckBrowse();
    cursor_ = rows_.empty() ? 0 : RecordCount() - 1;
    eof_ = true;
    bof_ = rows_.empty();
}

void TClientDataSet::Next() {
    CheckBrowse();
    bof_ = false;
    if (cursor_ + 1 < RecordCount())
        ++cursor_;
    else
        eof_ = true;
}

void TClientDataSet::Prior() {
    CheckBrowse();
    eof_ = false;
    if (cursor_ > 0)
        --cursor_;
    else
        bof_ = true;
}

TField* TClientDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) throw EDatabaseError("Field index out of range");
    return fields_[index];
}

TField* TClientDataSet::FindField(const AnsiString& name) const {
    for (TField* f : fields_)
        if (SameText(f->FieldName(), name)) return f;
    return nullptr;
}

TField* TClientDataSet::FieldByName(const AnsiString& name) const {
    TField* f = FindField(name);
    if (!f) throw EDatabaseError(Name() + ": Field '" + name + "' not found");
    return f;
}

std::vector<int> TClientDataSet::FieldIndexes(const AnsiString& names) const {
    std::vector<int> indexes;
    AnsiString rest = names;
    while (!rest.empty()) {
        int p = Pos(";", rest);
        AnsiString name = Trim(p ? Copy(rest, 1, p - 1) : rest);
        rest = p ? Copy(rest, p + 1, static_cast<int>(rest.size())) : AnsiString();
        if (!name.empty()) indexes.push_back(FieldByName(name)->Index());
    }
    return indexes;
}

void TClientDataSet::Sort() {
    std::vector<int> keys = FieldIndexes(indexFieldNames_);
    if (keys.empty() || rows_.empty()) return;
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (int k : keys) {
            int c = CompareValues(rows_[a][k], rows_[b][k]);
            if (c != 0) return c < 0;
        }
        return false;
    });
    std::vector<std::vector<Variant>> sorted;
    sorted.reserve(rows_.size());
    int cursor = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == cursor_) cursor = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    cursor_ = cursor;
}

bool TClientDataSet::Locate(const AnsiString& keyFields, const Variant& keyValues, TLocateOptions options) {
    CheckBrowse();
    std::vector<int> keys = FieldIndexes(keyFields);
    if (keys.empty()) throw EDatabaseError(Name() + ": No key fields to locate by");
    std::vector<Variant> values;
    if (keys.size() == 1 && !VarIsArray(keyValues)) {
        values.push_back(keyValues);
    } else {
        if (!VarIsArray(keyValues) || VarArrayDimCount(keyValues) != 1 ||
            VarArrayHighBound(keyValues, 1) - VarArrayLowBound(keyValues, 1) + 1 !=
                static_cast<int>(keys.size()))
            throw EDatabaseError(Name() + ": Locate needs one value for each of " + IntToStr(keys.size()) +
                                 " fields");
        for (int i = VarArrayLowBound(keyValues, 1); i <= VarArrayHighBound(keyValues, 1); ++i)
            values.push_back(keyValues[i]);
    }
    for (int r = 0; r < RecordCount(); ++r) {
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k) all = Matches(rows_[r][keys[k]], values[k], options);
        if (all) {
            cursor_ = r;
            eof_ = bof_ = false;
            return true;
        }
    }
    return false;
}

void TClientDataSet::Edit() {
    CheckActive();
    if (state_ == dsEdit) return;
    if (rows_.empty()) throw EDatabaseError(Name() + ": Cannot edit an empty dataset");
    buffer_ = rows_[cursor_];
    state_ = dsEdit;
}

void TClientDataSet::Post() {
    CheckActive();
    if (state_ != dsEdit) return;
    rows_[cursor_] = std::move(buffer_);
    buffer_.clear();
    state_ = dsBrowse;
    Sort();
}

void TClientDataSet::Cancel() {
    if (state_ != dsEdit) return;
    buffer_.clear();
    state_ = dsBrowse;
}

const Variant& TClientDataSet::Value(int field) const {
    CheckActive();
    if (state_ == dsEdit) return buffer_[field];
    if (rows_.empty()) return NullValue();
    return rows_[cursor_][field];
}

void TClientDataSet::SetValue(int field, const Variant& value) {
    CheckActive();
    if (state_ != dsEdit) throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
    buffer_[field] = value;
}

QZ_CLASS_INFO(TClientDataSet, TComponent) {
    b.Property("RemoteServer", &TClientDataSet::RemoteServer, &TClientDataSet::SetRemoteServer);
    b.Property("ProviderName", &TClientDataSet::ProviderName);
    b.Property("IndexFieldNames", &TClientDataSet::IndexFieldNames, &TClientDataSet::SetIndexFieldNames);
    b.Property("Active", &TClientDataSet::Active, &TClientDataSet::SetActive).Default(false);
}

} // namespace qz
