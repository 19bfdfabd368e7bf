#include "platform/vcl/Classes.h"
#include "platform/core/Strings.h"
#include <algorithm>

namespace qz {

// ---- TPersistent ----

QZ_CLASS_INFO(TPersistent, TObject) {}

void TPersistent::Assign(const TPersistent* source) {
    if (source)
        source->AssignTo(this);
    else
        AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw EConvertError("Cannot assign a " + ClassNameOf(this) + " to a " + ClassNameOf(dest));
}

AnsiString TPersistent::GetNamePath() const {
    return ClassNameOf(this);
}

// ---- TComponent ----

QZ_CLASS_INFO(TComponent, TPersistent) {
    b.Property("Name", &TComponent::Name, &TComponent::SetName).NotStored();
    b.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Those who asked to be told.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = c->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free() {
    if (!beforeDestructionDone_) BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction() {
    beforeDestructionDone_ = true;
    if (!IsDestroying()) Destroying();
    // Owned components go first, each whole while its own BeforeDestruction runs.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        c->Free();
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_ << csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetName(const AnsiString& name) {
    if (name == name_) return;
    if (!name.empty()) {
        bool valid = std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_';
        for (char ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_') valid = false;
        if (!valid) throw EComponentError("\"" + name + "\" is not a valid component name");
        if (owner_) {
            TComponent* other = owner_->FindComponent(name);
            if (other && other != this)
                throw EComponentError("A component named " + name + " already exists");
        }
    }
    SetReference(false);
    name_ = name;
    SetReference(true);
}

void TComponent::SetReference(bool enable) {
    if (!owner_ || name_.empty()) return;
    const TMetaClass* mc = ClassOf(owner_);
    const TFieldInfo* f = mc ? mc->FindField(name_) : nullptr;
    if (!f) return;
    if (enable) {
        try {
            f->Set(owner_, this);
        } catch (const EPropertyConvertError&) {
            throw EComponentError("Field " + name_ + " of " + mc->ClassName() + " does not fit class " +
                                  ClassNameOf(this));
        }
    } else if (f->Get(owner_) == this) {
        f->Set(owner_, nullptr);
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return components_[index];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError("A component named " + component->name_ + " already exists");
    if (component->owner_) component->owner_->RemoveComponent(component);
    Insert(component);
    component->SetReference(true);
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component->owner_ != this) return;
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        delete c;
    }
}

void TComponent::SetDesigning(bool value, bool children) {
    if (value)
        state_ << csDesigning;
    else
        state_ >> csDesigning;
    if (children)
        for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::FreeNotification(TComponent* target) {
    if (!target || target == this) return;
    if (owner_ && target == owner_) return; // an owner is told anyway
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), target) == freeNotifies_.end()) {
        freeNotifies_.push_back(target);
        target->FreeNotification(this);
    }
    state_ << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* target) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), target), freeNotifies_.end());
    auto& back = target->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component)
        freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                            freeNotifies_.end());
    // Components the notification itself may remove are not visited twice.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Loaded() {
    state_ >> csLoading >> csReading;
}

// ---- collections ----

QZ_CLASS_INFO(TCollectionItem, TPersistent) {}

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) {
        collection_ = collection;
        collection->items_.push_back(this);
    }
}

TCollectionItem::~TCollectionItem() {
    if (collection_) {
        auto& items = collection_->items_;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
        TCollection* c = collection_;
        collection_ = nullptr;
        c->Changed();
    }
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int cur = Index();
    if (cur < 0 || index == cur) return;
    auto& items = collection_->items_;
    index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + index, this);
    Changed(true);
}

AnsiString TCollectionItem::DisplayName() const {
    return ClassNameOf(this);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

QZ_CLASS_INFO(TCollection, TPersistent) {}

TCollection::TCollection(const TMetaClass* itemClass) : itemClass_(itemClass) {}

TCollection::~TCollection() {
    updateCount_ = 1;
    Clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[index];
}

TCollectionItem* TCollection::NewItem() {
    TObject* o = itemClass_->Create(this);
    auto* item = dynamic_cast<TCollectionItem*>(o);
    if (!item) {
        delete o;
        throw EConvertError("Invalid collection item class " + itemClass_->ClassName());
    }
    return item;
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = NewItem();
    if (!item->collection_) {
        item->collection_ = this;
        items_.push_back(item);
    }
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    BeginUpdate();
    item->SetIndex(index);
    EndUpdate();
    return item;
}

void TCollection::Delete(int index) {
    delete Items(index);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) delete items_.back();
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {
    if (OnChange) OnChange(this);
}

void TCollection::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) return TPersistent::Assign(source);
    BeginUpdate();
    Clear();
    for (TCollectionItem* item : other->items_) Add()->Assign(item);
    EndUpdate();
}

} // namespace qz
