#pragma once
// String lists: TStrings is the interface every list of lines shares (list boxes, memos, combo items);
// TStringList keeps its lines itself. Lines may carry an object reference beside them.
#include "platform/core/Types.h"
#include <functional>
#include <vector>

namespace qz {

class TStrings : public TObject {
public:
    ~TStrings() override = default;

    // The primitives a descendant provides.
    virtual int Count() const = 0;
    virtual AnsiString Get(int index) const = 0;
    virtual void Put(int index, const AnsiString& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const AnsiString& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}

    virtual int Add(const AnsiString& s);
    int AddObject(const AnsiString& s, TObject* object);
    void InsertObject(int index, const AnsiString& s, TObject* object);
    void AddStrings(const TStrings& other);
    virtual void Assign(const TStrings& other);
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);

    AnsiString operator[](int index) const { return Get(index); }
    AnsiString Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    // Without regard to case unless the list says otherwise.
    virtual int IndexOf(const AnsiString& s) const;
    int IndexOfName(const AnsiString& name) const;
    int IndexOfObject(const TObject* object) const;

    // name=value lines.
    AnsiString Names(int index) const;
    AnsiString Values(const AnsiString& name) const;
    // Sets the value of name; an empty value removes the line.
    void SetValue(const AnsiString& name, const AnsiString& value);
    AnsiString ValueFromIndex(int index) const;

    // Lines joined with CR LF after each; SetText splits at CR, LF or CR LF.
    AnsiString Text() const;
    void SetText(const AnsiString& text);
    // Lines separated by commas; lines with blanks, commas or quotes are quoted with '"'.
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& text);

    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value) { caseSensitive_ = value; }
    bool Equals(const TStrings& other) const;

protected:
    int CompareStrings(const AnsiString& a, const AnsiString& b) const;
    void CheckIndex(int index, int limit) const;

private:
    bool caseSensitive_ = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<AnsiString> lines);

    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void BeginUpdate() override { ++updateCount_; }
    void EndUpdate() override;

    // Sorted lists keep their order on Add and find lines by binary search.
    int Add(const AnsiString& s) override;
    int IndexOf(const AnsiString& s) const override;
    bool Find(const AnsiString& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(TStringList&, int, int)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }

    std::function<void(TObject* sender)> OnChange;
    std::function<void(TObject* sender)> OnChanging;

private:
    struct Item {
        AnsiString text;
        TObject* object = nullptr;
    };
    void Changing();
    void Changed();

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    int updateCount_ = 0;
};

} // namespace qz
