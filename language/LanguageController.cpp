#include "language/LanguageController.h"

#include "controls/PropUtils.h"
#include "platform/core/Format.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/os/System.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/variant/Variant.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/CorvaneINI.h"

#include <climits>

namespace qz {

namespace {

constexpr int kMaxLangLine = 65535;


const char kCodePageLanguages[] = "936=CHS\r\n950=CHT\r\n437=ENG";

// The number after "_" in "Items_5": the name and n; n is -1 without "_" or without a number after it.
void SplitIndex(const AnsiString& part, AnsiString& name, int& index) {
    index = -1;
    size_t underscore = part.find('_');
    if (underscore == AnsiString::npos) {
        name = part;
        return;
    }
    name = part.substr(0, underscore);
    AnsiString digits = part.substr(underscore + 1);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != AnsiString::npos)
        return;
    index = std::stoi(digits);
}

bool IsComboBox(const TComponent* c) {
    return dynamic_cast<const TCustomComboBox*>(c) != nullptr;
}

bool IsLookupComboBox(const TComponent* c) {
    return ObjectInheritsFrom(c, "TwwDBCustomComboBox");
}

bool IsFormOrDataModule(const TComponent* c) {
    return dynamic_cast<const TCustomForm*>(c) != nullptr || ObjectInheritsFrom(c, "TDataModule");
}

// One indexed step of a path ("Items_2", "Columns_0"): the item, column, row or node n of p, or p
// itself when n is past the end; nullptr when p has no object property of that name.
TObject* IndexedStep(TObject* p, const AnsiString& name, int n) {
    if (auto* collection = dynamic_cast<TCollection*>(p))
        return n < collection->Count() ? collection->Items(n) : p;
    if (auto* view = dynamic_cast<TListView*>(p)) {
        if (SameText(name, "Columns")) return n < view->Columns()->Count() ? view->Columns()->Items(n) : p;
        return n < view->Items()->Count() ? view->Items()->Item(n) : p;
    }
    if (dynamic_cast<TListItems*>(p)) return p;
    if (auto* tree = dynamic_cast<TTreeView*>(p); tree && SameText(name, "Items"))
        return n < tree->Items()->Count() ? tree->Items()->Item(n) : p;
    return GetObjectProperty(p, name);
}

} // namespace

AnsiString GetLangFolder(TDesignType designType) {
    AnsiString codePage, path;
    if (designType == dtClient) {
        TCorvaneIniC ini;
        codePage = ini.UICodePage;
        path = ini.ClientPath;
    } else {
        TCorvaneIniS ini;
        codePage = ini.UICodePage;
        path = ini.ServerPath;
    }
    TStringList table;
    table.SetText(kCodePageLanguages);
    AnsiString code = table.Values(codePage);
    if (code.empty()) return "";
    AnsiString folder =
        (path.empty() ? path : IncludeTrailingPathDelimiter(path)) + "MultiLanguage/" + code + "/";
    return DirectoryExists(folder) ? folder : "";
}

// ---- readers of one element

TComponentRead::TComponentRead(TComponent* component, const IXMLDOMNode& node)
    : component_(component), node_(node) {}

void TComponentRead::ReadAttribute(const Variant& index) {
    if (node_.IsNull()) return;
    IXMLDOMNode attribute;
    switch (VarType(index)) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: {
        long long i = index.AsInt64();
        std::vector<IXMLDOMNode> attributes = node_.Attributes();
        if (i >= 0 && i < static_cast<long long>(attributes.size()))
            attribute = attributes[static_cast<size_t>(i)];
        break;
    }
    case varString:
    case varOleStr: attribute = node_.AttributeNode(index.AsString()); break;
    default: return;
    }
    if (attribute) ApplyAttribute(attribute);
}

void TComponentRead::ReadAttributes() {
    if (node_.IsNull()) return;
    const int count = static_cast<int>(node_.Attributes().size());
    for (int i = 0; i < count; ++i) ReadAttribute(Variant(i));
}

void TComponentRead::ApplyAttribute(const IXMLDOMNode& attribute) {
    const AnsiString path = attribute.NodeName();
    const AnsiString value = attribute.NodeType() == ntAttribute ? attribute.Text() : AnsiString();
    TComponent* c = component_;
    TObject* p = c;

    AnsiString last = path;
    bool lastHasIndex = true;
    if (path.find('.') != AnsiString::npos) {
        AnsiString rest = path;
        size_t dot;
        while ((dot = rest.find('.')) != AnsiString::npos) {
            AnsiString part = Trim(rest.substr(0, dot));
            AnsiString remainder = rest.substr(dot + 1);
            if (Trim(remainder).empty()) {
                rest = part;
                break;
            }
            if (part.find('_') == AnsiString::npos) {
                p = GetObjectProperty(p, part);
                if (!p) return;
                rest = remainder;
                continue;
            }
            AnsiString name;
            int n;
            SplitIndex(part, name, n);
            if (n < 0 || !(SameText(name, "Items") || SameText(name, "Columns"))) {
                // Not a step this walk knows: the part is taken as the last one, without its index.
                rest = name;
                lastHasIndex = false;
                break;
            }
            p = IndexedStep(p, name, n);
            if (!p) return;
            rest = remainder;
        }
        last = Trim(rest);
    }

    AnsiString name;
    int index;
    SplitIndex(last, name, index);
    if (!lastHasIndex) index = -1;
    if (p == c && index >= 0) p = GetObjectProperty(c, name);
    if (!p) return;

    if (auto* lines = dynamic_cast<TStrings*>(p)) {
        // A line number past any real list is a damaged file: the attribute is skipped, not padded to.
        if (index < 0 || index > kMaxLangLine) return;
        while (lines->Count() <= index) lines->Add("");
        lines->Put(index, value);
    } else if (auto* row = dynamic_cast<TListItem*>(p)) {
        if (SameText(name, "Caption"))
            row->SetCaption(value);
        else
            TrySetPropertyByPath(row, name, Variant(value));
    } else if (auto* node = dynamic_cast<TTreeNode*>(p)) {
        if (SameText(name, "Text"))
            node->SetText(value);
        else
            TrySetPropertyByPath(node, name, Variant(value));
    } else {
        TrySetPropertyByPath(p, name, Variant(value));
    }
}

void TCustomComboBoxRead::ReadAttributes() {
    auto* combo = dynamic_cast<TCustomComboBox*>(GetComponent());
    if (!combo) {
        TComponentRead::ReadAttributes();
        return;
    }
    const int itemIndex = combo->ItemIndex();
    TComponentRead::ReadAttributes();
    combo->SetItemIndex(itemIndex);
}

void TwwDBCustomComboBoxRead::ReadAttributes() {
    TComponent* combo = GetComponent();
    const long long itemIndex = GetOrdPropByName(combo, "ItemIndex");
    TComponentRead::ReadAttributes();
    SetOrdPropByName(combo, "ItemIndex", itemIndex);
}

std::shared_ptr<ILangRead> TReaderFactory::CreateReader(TComponent* component, const IXMLDOMNode& node) {
    if (IsLookupComboBox(component)) return std::make_shared<TwwDBCustomComboBoxRead>(component, node);
    if (IsComboBox(component)) return std::make_shared<TCustomComboBoxRead>(component, node);
    return std::make_shared<TComponentRead>(component, node);
}

// ---- reader of a document

TLangReader::TLangReader(const IXMLDOMDocument& document)
    : document_(document), exclude_(std::make_unique<TStringList>()) {}

TLangReader::~TLangReader() = default;

void TLangReader::SetExcludeControls(const TStrings& value) {
    exclude_->Assign(value);
}

bool TLangReader::IsExcluded(const AnsiString& name) const {
    for (int i = 0; i < exclude_->Count(); ++i)
        if (SameText(Trim(exclude_->Get(i)), name)) return true;
    return false;
}

void TLangReader::ApplyElement(TComponent* component, const IXMLDOMNode& element) {
    BeforeLoadComponent(component, element);
    TReaderFactory::CreateReader(component, element)->ReadAttributes();
    AfterLoadComponent(component, element);
}

void TLangReader::LoadComponent(TComponent* component) {
    if (!component) return;
    IXMLDOMNode root = document_.DocumentElement();
    if (IsFormOrDataModule(component) && root) ApplyElement(component, root);
    const AnsiString& name = component->Name();
    // A name that is no XML name has no element (and is kept out of the query).
    if (!name.empty() && !IsExcluded(name) && root && IsXmlName(name)) {
        if (IXMLDOMNode element = root.SelectSingleNode(Format("//%s", {name})))
            ApplyElement(component, element);
    }
    for (int i = 0; i < component->ComponentCount(); ++i) LoadComponent(component->Components(i));
}

// ---- controller

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), exclude_(std::make_unique<TStringList>()) {
    exclude_->OnChange = [this](TObject*) {
        if (reader_) reader_->SetExcludeControls(*exclude_);
    };
}

TLanguageController::~TLanguageController() {
    exclude_->OnChange = nullptr;
    reader_.reset();
    document_.reset();
}

bool TLanguageController::Active() const {
    return document_ && !document_->DocumentElement().IsNull();
}

void TLanguageController::SetActive(bool value) {
    if (IsLoading()) {
        streamedActive_ = value;
        return;
    }
    if (value && !Active())
        Open();
    else if (!value && Active())
        Close();
}

void TLanguageController::Open() {
    BeforeOpen(this);
    reader_.reset();
    document_.reset();
    if (fileName_.empty()) throw LanguageControllerError(Format("Cannot Find File %s!", {fileName_}));
    auto document = std::make_unique<IXMLDOMDocument>();
    if (!document->Load(fileName_)) throw LanguageControllerError(document->ParseError().Reason);
    document_ = std::move(document);
    reader_ = std::make_unique<TLangReader>(*document_);
    reader_->SetExcludeControls(*exclude_);
    reader_->BeforeLoadComponent = BeforeLoadComponent;
    reader_->AfterLoadComponent = AfterLoadComponent;
    AfterOpen(this);
}

void TLanguageController::Close() {
    BeforeClose(this);
    document_.reset();
    reader_.reset();
    AfterClose(this);
}

void TLanguageController::SetFileName(const AnsiString& value) {
    if (value == fileName_) return;
    SetActive(false);
    fileName_ = value;
}

TStrings* TLanguageController::ExcludeControls() const {
    return exclude_.get();
}

void TLanguageController::SetExcludeControls(TStrings* value) {
    if (value && value != exclude_.get())
        exclude_->Assign(*value);
    else if (!value)
        exclude_->Clear();
}

void TLanguageController::CheckActive() const {
    if (!Active()) throw LanguageControllerError("No active LanguageController!");
}

TLangReader* TLanguageController::GetReader() const {
    CheckActive();
    return reader_.get();
}

void TLanguageController::LoadComponent(TComponent* component) {
    GetReader()->LoadComponent(component);
}

void TLanguageController::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) SetActive(true);
}

TQzLangController::TQzLangController(TComponent* owner) : TLanguageController(owner) {
    SetDesignType(dtClient);
}

void TQzLangController::SetLangPackageName(const AnsiString& value) {
    if (value == packageName_) return;
    packageName_ = value;
    SetFileName(GetLangFolder(DesignType()) + value + ".Lng");
}

// ---- messages

AnsiString ReadLangMessage(const AnsiString& fileName, const AnsiString& key, const AnsiString& def) {
    try {
        if (!FileExists(fileName) || !IsXmlName(key)) return def;
        IXMLDOMDocument document;
        if (!document.Load(fileName)) return def;
        IXMLDOMNode root = document.DocumentElement();
        if (!root) return def;
        if (IXMLDOMNode attribute = root.SelectSingleNode(Format("//%s/@%s", {key, AnsiString("Msg")})))
            return attribute.Text();
    } catch (const std::exception&) {}
    return def;
}

AnsiString GetLangMessage(TDesignType designType, const AnsiString& name, const AnsiString& key,
                          const AnsiString& def) {
    return ReadLangMessage(GetLangFolder(designType) + name + ".Lng", key, def);
}

QZ_CLASS_INFO(TLanguageController, TComponent) {
    b.Property("Active", &TLanguageController::Active, &TLanguageController::SetActive).Default(false);
    b.Event("AfterClose", &TLanguageController::AfterClose);
    b.Event("AfterOpen", &TLanguageController::AfterOpen);
    b.Event("BeforeClose", &TLanguageController::BeforeClose);
    b.Event("BeforeOpen", &TLanguageController::BeforeOpen);
    b.Event("AfterLoadComponent", &TLanguageController::AfterLoadComponent);
    b.Event("BeforeLoadComponent", &TLanguageController::BeforeLoadComponent);
    b.Property("ExcludeControls", &TLanguageController::ExcludeControls,
               &TLanguageController::SetExcludeControls);
}

QZ_CLASS_INFO(TQzLangController, TLanguageController) {
    b.Property("LangPackageName", &TQzLangController::LangPackageName,
               &TQzLangController::SetLangPackageName);
    b.Property("DesignType", &TQzLangController::DesignType, &TQzLangController::SetDesignType)
        .Default(dtClient);
}

} // namespace qz
