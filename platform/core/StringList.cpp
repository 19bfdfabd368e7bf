#include "platform/core/StringList.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>

namespace qz {

// TStrings

void TStrings::Put(int index, const AnsiString& s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int) const {
    return nullptr;
}
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const AnsiString& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const AnsiString& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.GetObject(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(other);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    AnsiString s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    AnsiString s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const {
    return caseSensitive_ ? a.compare(b) : CompareText(a, b);
}

void TStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

int TStrings::IndexOf(const AnsiString& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& name) const {
    for (int i = 0; i < Count(); ++i) {
        AnsiString line = Get(i);
        size_t eq = line.find('=');
        if (eq != AnsiString::npos && CompareStrings(line.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

AnsiString TStrings::Names(int index) const {
    AnsiString line = Get(index);
    size_t eq = line.find('=');
    return eq == AnsiString::npos ? "" : line.substr(0, eq);
}

AnsiString TStrings::Values(const AnsiString& name) const {
    int i = IndexOfName(name);
    return i < 0 ? "" : ValueFromIndex(i);
}

AnsiString TStrings::ValueFromIndex(int index) const {
    AnsiString line = Get(index);
    size_t eq = line.find('=');
    return eq == AnsiString::npos ? "" : line.substr(eq + 1);
}

void TStrings::SetValue(const AnsiString& name, const AnsiString& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        Put(i, name + "=" + value);
    }
}

AnsiString TStrings::Text() const {
    AnsiString r;
    for (int i = 0; i < Count(); ++i) r += Get(i) + "\r\n";
    return r;
}

void TStrings::SetText(const AnsiString& text) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    const size_t n = text.size();
    while (start < n) {
        size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
        Add(text.substr(start, end - start));
        if (end < n && text[end] == '\r') ++end;
        if (end < n && text[end] == '\n') ++end;
        start = end;
    }
    EndUpdate();
}

AnsiString TStrings::CommaText() const {
    AnsiString r;
    for (int i = 0; i < Count(); ++i) {
        AnsiString s = Get(i);
        bool quote = s.empty() || s.find_first_of(" ,\"\t\r\n") != AnsiString::npos;
        if (quote) {
            AnsiString q = "\"";
            for (char c : s) {
                q += c;
                if (c == '"') q += c;
            }
            s = q + "\"";
        }
        if (i) r += ',';
        r += s;
    }
    return r;
}

void TStrings::SetCommaText(const AnsiString& text) {
    BeginUpdate();
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    };
    skipBlanks();
    while (i < n) {
        AnsiString item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < n && text[i] == ',') {
            ++i;
            skipBlanks();
            if (i >= n) Add("");
        }
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

// TStringList

TStringList::TStringList(std::initializer_list<AnsiString> lines) {
    for (const auto& s : lines) Add(s);
}

AnsiString TStringList::Get(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const AnsiString& s) {
    if (sorted_) throw EListError("Operation not allowed on sorted string list");
    CheckIndex(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].text = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const AnsiString& s) {
    if (sorted_) throw EListError("Operation not allowed on sorted string list");
    CheckIndex(index, Count() + 1);
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

int TStringList::Add(const AnsiString& s) {
    if (!sorted_) return TStrings::Add(s);
    int index;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
    }
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
    return index;
}

int TStringList::IndexOf(const AnsiString& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    Changed();
}

void TStringList::CustomSort(const std::function<int(TStringList&, int, int)>& compare) {
    // Sorts indexes through the caller's comparison, then rearranges the items once.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(items_[static_cast<size_t>(i)]);
    Changing();
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (value == sorted_) return;
    if (value) Sort();
    sorted_ = value;
}

void TStringList::Changing() {
    if (updateCount_ == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (updateCount_ == 0 && OnChange) OnChange(this);
}

} // namespace qz
