#pragma once
// Language files: one XML file per window class ("<folder><class>.Lng") below the installation's
// "MultiLanguage" folder for the interface code page. The controller opens a file and applies it to a
// component and everything the component owns: an element named after a component holds, as attributes,
// property paths and the texts to assign. The same files hold message texts ("<key Msg=...>").
#include "platform/vcl/Classes.h"
#include "platform/xml/XmlDom.h"
#include "support/CodeConverter.h"
#include <memory>

namespace qz {

class TStrings;
class TStringList;
class Variant;

QZ_EXCEPTION_CLASS(LanguageControllerError, Exception);

QZ_EVENT_TYPE(TLoadComponentEvent, void(TComponent* xComponent, const IXMLDOMNode& xComponentNode))

// The language folder of the installation for the design type, with its trailing separator; "" when
// the interface code page has no language or the folder does not exist.
AnsiString GetLangFolder(TDesignType designType);

// Applies one element to one component.
class ILangRead {
public:
    static constexpr const char* IID = "{B0CB6881-FA13-4102-805C-97686F87497B}";
    virtual ~ILangRead() = default;
    virtual TComponent* GetComponent() const = 0;
    virtual IXMLDOMNode GetNode() const = 0;
    virtual void SetComponent(TComponent* value) = 0;
    virtual void SetNode(const IXMLDOMNode& value) = 0;
    // By position (an integer) or by name (a text); anything else does nothing.
    virtual void ReadAttribute(const Variant& index) = 0;
    virtual void ReadAttributes() = 0;
};

class TComponentRead : public TObject, public ILangRead {
public:
    TComponentRead(TComponent* component, const IXMLDOMNode& node);

    TComponent* GetComponent() const override { return component_; }
    IXMLDOMNode GetNode() const override { return node_; }
    void SetComponent(TComponent* value) override { component_ = value; }
    void SetNode(const IXMLDOMNode& value) override { node_ = value; }
    void ReadAttribute(const Variant& index) override;
    void ReadAttributes() override;

protected:
    // Assigns the attribute's text to the property its name is the path of.
    virtual void ApplyAttribute(const IXMLDOMNode& attribute);

private:
    TComponent* component_;
    IXMLDOMNode node_;
};

// Combo boxes keep their selected index over the assignments.
class TCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAttributes() override;
};

// The same for the data-aware lookup combo box of the outside package, known by its class name.
class TwwDBCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAttributes() override;
};

class TReaderFactory : public TObject {
public:
    static std::shared_ptr<ILangRead> CreateReader(TComponent* component, const IXMLDOMNode& node);
};

// Walks a component tree and applies the elements of an open document.
class TLangReader : public TObject {
public:
    explicit TLangReader(const IXMLDOMDocument& document);
    ~TLangReader() override;

    const IXMLDOMDocument& Document() const { return document_; }
    const TStringList& ExcludeControls() const { return *exclude_; }
    void SetExcludeControls(const TStrings& value);

    // The component's own element (the document element for a form or data module, then the first
    // element named after it unless it is excluded), then every component it owns, depth first.
    virtual void LoadComponent(TComponent* component);

    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

private:
    void ApplyElement(TComponent* component, const IXMLDOMNode& element);
    bool IsExcluded(const AnsiString& name) const;

    IXMLDOMDocument document_;
    std::unique_ptr<TStringList> exclude_;
};

class TLanguageController : public TComponent {
    QZ_CLASS(TLanguageController)
public:
    explicit TLanguageController(TComponent* owner);
    ~TLanguageController() override;

    // A document with a document element is open.
    bool Active() const;
    void SetActive(bool value);
    const AnsiString& FileName() const { return fileName_; }
    // A different name closes the document.
    void SetFileName(const AnsiString& value);
    // Entries are trimmed and compared without regard to case.
    TStrings* ExcludeControls() const;
    void SetExcludeControls(TStrings* value);
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value) { designType_ = value; }
    // The open document (empty when closed).
    const IXMLDOMDocument* Document() const { return document_.get(); }

    // Raises "No active LanguageController!" unless a document is open.
    void CheckActive() const;
    TLangReader* GetReader() const;
    // GetReader, then its LoadComponent.
    void LoadComponent(TComponent* component);

    TNotifyEvent BeforeOpen;
    TNotifyEvent AfterOpen;
    TNotifyEvent BeforeClose;
    TNotifyEvent AfterClose;
    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

protected:
    void Loaded() override;

private:
    void Open();
    void Close();

    AnsiString fileName_;
    std::unique_ptr<IXMLDOMDocument> document_;
    std::unique_ptr<TLangReader> reader_;
    std::unique_ptr<TStringList> exclude_;
    bool streamedActive_ = false;
    TDesignType designType_ = dtClient;
};

class TQzLangController : public TLanguageController {
    QZ_CLASS(TQzLangController)
public:
    explicit TQzLangController(TComponent* owner);
    const AnsiString& LangPackageName() const { return packageName_; }
    // A new name points FileName at "<language folder><name>.Lng".
    void SetLangPackageName(const AnsiString& value);

private:
    AnsiString packageName_;
};

// The "Msg" text of the element key in the file; the default when the file, the element or the
// attribute is missing or the file cannot be read.
AnsiString ReadLangMessage(const AnsiString& fileName, const AnsiString& key, const AnsiString& def);
// ReadLangMessage of "<language folder><name>.Lng".
AnsiString GetLangMessage(TDesignType designType, const AnsiString& name, const AnsiString& key,
                          const AnsiString& def);

} // namespace qz
