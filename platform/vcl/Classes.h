#pragma once
// Persistent objects, components with owner and name, collections.
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include "platform/rtti/ClassBuilder.h"
#include <vector>

namespace qz {

QZ_EXCEPTION_CLASS(EComponentError, Exception);   // duplicate or invalid component names
QZ_EXCEPTION_CLASS(EInvalidOperation, Exception); // "Cannot focus a disabled or invisible window"
QZ_EXCEPTION_CLASS(EReadError, Exception);        // form resources that cannot be read

QZ_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
        csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
QZ_SET(TComponentState, TComponentStateItem)
QZ_ENUM(TOperation, opInsert, opRemove)

class TComponent;

class TPersistent : public TObject {
    QZ_CLASS(TPersistent)
public:
    // Copies the state of source; raises EConvertError when the classes do not fit.
    virtual void Assign(const TPersistent* source);
    // Reads a property written as binary data ({ hex }) in a form resource; false when unknown.
    virtual bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) { return false; }
    virtual AnsiString GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

class TComponent : public TPersistent {
    QZ_CLASS(TComponent)
public:
    using OwnerType = TComponent;
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Destroys the component the way the class library does: its descendants' BeforeDestruction runs
    // first (destroying state, form OnDestroy, free notifications) while the object is whole.
    void Free();
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction();

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    virtual void SetName(const AnsiString& name);
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const AnsiString& name) const; // ignores case; nullptr when absent
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    TComponentState ComponentState() const { return state_; }
    bool IsLoading() const { return state_.Contains(csLoading); }
    bool IsDestroying() const { return state_.Contains(csDestroying); }
    bool IsDesigning() const { return state_.Contains(csDesigning); }
    void SetDesigning(bool value, bool children = true);
    // Loading state: set by the form reader, cleared by Loaded.
    void BeginLoading() { state_ << csLoading << csReading; }
    void EndReading() { state_ >> csReading; }

    // When this component is destroyed, target receives Notification(this, opRemove).
    void FreeNotification(TComponent* target);
    void RemoveFreeNotification(TComponent* target);

    // For the form reader: the component a child is put into (the parent control of controls).
    virtual void SetParentComponent(TComponent* parent) {}
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual bool HasParent() const { return false; }

    // Called once after the component has been read from a form resource.
    virtual void Loaded();

protected:
    friend class TFormReader;
    // opInsert or opRemove of component; passed on to every owned component.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void Destroying();
    void SetComponentState(TComponentState state) { state_ = state; }
    // Sets or clears the owner's published field of this component's name.
    void SetReference(bool enable);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    AnsiString name_;
    int tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool beforeDestructionDone_ = false;
};

// Frees a component through Free and clears the pointer.
template <class T> void FreeAndNil(T*& component) {
    T* c = component;
    component = nullptr;
    if (c) c->Free();
}

class TCollection;

class TCollectionItem : public TPersistent {
    QZ_CLASS(TCollectionItem)
public:
    using OwnerType = TCollection;
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollection* Collection() const { return collection_; }
    int Index() const;
    void SetIndex(int index);
    virtual AnsiString DisplayName() const;

protected:
    void Changed(bool allItems = false);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

// Items of one class, owned by the collection. Form resources write them as < item ... end >.
class TCollection : public TPersistent {
    QZ_CLASS(TCollection)
public:
    explicit TCollection(const TMetaClass* itemClass);
    ~TCollection() override;
    const TMetaClass* ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void Assign(const TPersistent* source) override;
    // The persistent that holds the collection (a list view for its columns).
    virtual TPersistent* GetOwner() const { return nullptr; }
    TNotifyEvent OnChange;

protected:
    friend class TCollectionItem;
    virtual TCollectionItem* NewItem();
    // Called after any change (item nullptr: the whole collection).
    virtual void Update(TCollectionItem* item);
    void Changed();

private:
    const TMetaClass* itemClass_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
};

} // namespace qz
