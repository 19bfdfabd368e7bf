#pragma once
// Common controls as models: page control with tab sheets, tool bar with tool buttons, status bar
// with panels, tab set, tree view, animation.
#include "platform/core/StringList.h"
#include "platform/vcl/Controls.h"
#include <memory>
#include <vector>

namespace qz {

class TPageControl;
class TPopupMenu;
class TMenuItem;

QZ_EVENT_TYPE(TTabChangingEvent, void(TObject* Sender, bool& AllowChange))
QZ_EVENT_TYPE(TDrawTabEvent, void(TObject* Control, int TabIndex, const TRect& Rect, bool Active))

class TTabSheet : public TWinControl {
    QZ_CLASS(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* v);
    // Position among the pages (moving a page reorders them).
    int PageIndex() const;
    void SetPageIndex(int v);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    // Position of the page's tab among the visible tabs; -1 when its tab is hidden.
    int TabIndex() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    void SetParent(TWinControl* parent) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    friend class TPageControl;
    virtual void DoShow() { OnShow(this); }
    virtual void DoHide() { OnHide(this); }

private:
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = 0;
};

QZ_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
QZ_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)

// Pages with tabs. A program setting ActivePage raises no events; a tab chosen by the user
// (SelectTab, a click on a tab, Ctrl+Tab) asks OnChanging first and tells OnChange after.
class TPageControl : public TCustomControl {
    QZ_CLASS(TPageControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The active page's tab among the visible tabs (-1 for none).
    int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }
    int TabCount() const;
    // The page shown by a tab: the (tab + 1)-th page whose tab is visible.
    TTabSheet* PageOfTab(int tabIndex) const;
    // The next or previous page (wrapping), only pages with a visible tab when tabsOnly.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool tabsOnly) const;

    // The user's choice of a tab: OnChanging may refuse; then the page is activated and OnChange
    // runs. Returns false when refused or when the tab is already active or does not exist.
    bool SelectTab(int tabIndex);
    void SelectNextPage(bool goForward);

    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v) { multiLine_ = v; }
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition v) { tabPosition_ = v; }
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle v) { style_ = v; }
    // 0: from the captions and the font.
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int v) { tabHeight_ = v; }
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int v) { tabWidth_ = v; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v) { ownerDraw_ = v; }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v) { hotTrack_ = v; }

    // Tab layout: tabs in one row along the top, each as wide as its caption plus 12 pixels
    // (or TabWidth), TabHeight high (or the text height plus 6).
    TRect TabRect(int tabIndex);
    int IndexOfTabAt(int x, int y);
    TRect DisplayRect();

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;
    TDrawTabEvent OnDrawTab;

protected:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    virtual bool CanChange();
    virtual void Change();
    // Draws one tab: OnDrawTab when set (for owner-drawn tabs), else the caption centred.
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    void Paint() override;
    // Pages fill the display area below the tabs.
    void AlignControls(TControl* control, TRect& rect) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;

private:
    void ChangeActivePage(TTabSheet* page);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    bool multiLine_ = false;
    TTabPosition tabPosition_ = tpTop;
    TTabStyle style_ = tsTabs;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    bool ownerDraw_ = false;
    bool hotTrack_ = false;
};

// ---- tool bar

QZ_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)

class TToolBar;

class TToolButton : public TGraphicControl {
    QZ_CLASS(TToolButton)
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle v) { style_ = v; }
    // A check button stays down; grouped check buttons next to each other release each other.
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool v) { grouped_ = v; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    bool Marked() const { return marked_; }
    void SetMarked(bool v) { marked_ = v; }
    bool Indeterminate() const { return indeterminate_; }
    void SetIndeterminate(bool v) { indeterminate_ = v; }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool v) { wrap_ = v; }
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* v);
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* v);
    int Index() const;
    TToolBar* ToolBar() const;

    // A check button toggles (or goes down, in a group); then OnClick.
    void Click() override;
    // The drop-down arrow (or a menu button): shows DropdownMenu below the button; false when none.
    bool CheckMenuDropdown();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    TToolButtonStyle style_ = tbsButton;
    bool down_ = false;
    bool grouped_ = false;
    bool allowAllUp_ = false;
    int imageIndex_ = -1;
    bool marked_ = false;
    bool indeterminate_ = false;
    bool wrap_ = false;
    TPopupMenu* dropdownMenu_ = nullptr;
    TMenuItem* menuItem_ = nullptr;
};

class TToolBar : public TWinControl {
    QZ_CLASS(TToolBar)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    // The buttons in their order along the bar.
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int v);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int v);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v) { showCaptions_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* v);
    // Lays the buttons out left to right (separators 8 pixels wide) from the left edge.
    void ArrangeButtons();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool showCaptions_ = false;
    bool flat_ = false;
    TComponent* images_ = nullptr;
};

// ---- status bar

QZ_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
QZ_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusPanel : public TCollectionItem {
    QZ_CLASS(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle v) { style_ = v; }
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel v) { bevel_ = v; }
    AnsiString DisplayName() const override { return text_; }

private:
    AnsiString text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelStyle style_ = psText;
    TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusBar;

class TStatusPanels : public TCollection {
    QZ_CLASS(TStatusPanels)
public:
    explicit TStatusPanels(TStatusBar* owner = nullptr);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* operator[](int index) const { return Items(index); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* bar_;
};

class TStatusBar : public TCustomControl {
    QZ_CLASS(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const AnsiString& SimpleText() const { return simpleText_; }
    void SetSimpleText(const AnsiString& v);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v) { sizeGrip_ = v; }
    // Panel rectangles: each panel its width from the left; the last one reaches the right edge.
    TRect PanelRect(int index) const;

protected:
    void Paint() override;

private:
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    AnsiString simpleText_;
    bool sizeGrip_ = true;
};

// ---- tab set

QZ_EVENT_TYPE(TTabChangeEvent, void(TObject* Sender, int NewTab, bool& AllowChange))

class TTabSet : public TCustomControl {
    QZ_CLASS(TTabSet)
public:
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;
    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings* v);
    int TabIndex() const { return tabIndex_; }
    // Raises OnChange, which may refuse; -1 selects no tab; out-of-range indexes are ignored.
    void SetTabIndex(int v);
    // The user's click on a tab: SetTabIndex, then OnClick when it changed.
    void SelectTab(int index);
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int v);

    TTabChangeEvent OnChange;

private:
    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
};

// ---- tree view

class TTreeNodes;
class TTreeView;

class TTreeNode : public TPersistent {
    QZ_CLASS(TTreeNode)
public:
    ~TTreeNode() override;
    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& v) { text_ = v; }
    void* Data() const { return data_; }
    void SetData(void* v) { data_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int v) { selectedIndex_ = v; }
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool v);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool HasChildren() const { return !children_.empty() || hasChildren_; }
    void SetHasChildren(bool v) { hasChildren_ = v; }

    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    TTreeNode* operator[](int index) const { return Item(index); }
    // Position among the siblings; depth (0 for a top node); position in the whole tree.
    int Index() const;
    int Level() const;
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in tree order (depth first).
    TTreeNode* GetNext() const;
    bool Selected() const;
    bool Focused() const { return Selected(); }
    TTreeNodes* Owner() const { return owner_; }
    TTreeView* TreeView() const;
    void Delete();
    void DeleteChildren();
    bool IsVisible() const;

private:
    friend class TTreeNodes;
    explicit TTreeNode(TTreeNodes* owner) : owner_(owner) {}
    std::vector<TTreeNode*>& Siblings() const;

    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<TTreeNode*> children_;
    AnsiString text_;
    void* data_ = nullptr;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    bool expanded_ = false;
    bool hasChildren_ = false;
};

class TTreeNodes : public TPersistent {
    QZ_CLASS(TTreeNodes)
public:
    explicit TTreeNodes(TTreeView* owner = nullptr) : view_(owner) {}
    ~TTreeNodes() override;
    // All nodes in tree order.
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* operator[](int index) const { return Item(index); }
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    // A new last sibling of node (a top node when node is nullptr).
    TTreeNode* Add(TTreeNode* sibling, const AnsiString& text);
    TTreeNode* AddObject(TTreeNode* sibling, const AnsiString& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const AnsiString& text);
    // A new last child of parent (a top node when parent is nullptr).
    TTreeNode* AddChild(TTreeNode* parent, const AnsiString& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const AnsiString& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const AnsiString& text);
    // A new node before node, among its siblings.
    TTreeNode* Insert(TTreeNode* node, const AnsiString& text);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() {
        if (updateCount_ > 0) --updateCount_;
    }
    TTreeView* Owner() const { return view_; }

private:
    friend class TTreeNode;
    TTreeNode* InsertNode(TTreeNode* parent, int index, const AnsiString& text, void* data);
    void NodeDeleting(TTreeNode* node);

    TTreeView* view_;
    std::vector<TTreeNode*> roots_;
    int updateCount_ = 0;
};

QZ_EVENT_TYPE(TTVChangingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowChange))
QZ_EVENT_TYPE(TTVChangedEvent, void(TObject* Sender, TTreeNode* Node))
QZ_EVENT_TYPE(TTVExpandingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion))
QZ_EVENT_TYPE(TTVExpandedEvent, void(TObject* Sender, TTreeNode* Node))

class TTreeView : public TCustomControl {
    QZ_CLASS(TTreeView)
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;
    TTreeNodes* Items() const { return items_.get(); }
    TTreeNode* Selected() const { return selected_; }
    // Selecting asks OnChanging (which may refuse) and tells OnChange.
    void SetSelected(TTreeNode* node);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { hideSelection_ = v; }
    void FullExpand();
    void FullCollapse();

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVExpandingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
    bool readOnly_ = false;
    bool hideSelection_ = true;
};

// ---- animation

QZ_ENUM(TCommonAVI, aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile,
        aviRecycleFile, aviEmptyRecycle, aviDeleteFile)

// An animation as a model: a clip (a common one or a file) of frames played between two frames a
// number of times; no pictures are decoded.
class TAnimate : public TWinControl {
    QZ_CLASS(TAnimate)
public:
    explicit TAnimate(TComponent* owner);
    ~TAnimate() override;
    TCommonAVI CommonAVI() const { return commonAVI_; }
    void SetCommonAVI(TCommonAVI v);
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& v);
    bool Active() const { return active_; }
    // Starts playing from StartFrame to StopFrame Repetitions times (0: until stopped).
    void SetActive(bool v);
    bool Open() const { return commonAVI_ != aviNone || !fileName_.empty(); }
    int FrameCount() const { return frameCount_; }
    // Frames of a clip; the common clips count 16 frames, a file clip takes what is set here.
    void SetFrameCount(int v);
    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int v) { startFrame_ = v; }
    int StopFrame() const { return stopFrame_; }
    void SetStopFrame(int v) { stopFrame_ = v; }
    int Repetitions() const { return repetitions_; }
    void SetRepetitions(int v) { repetitions_ = v; }
    bool Center() const { return center_; }
    void SetCenter(bool v) { center_ = v; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    int CurrentFrame() const { return currentFrame_; }

    void Play(int fromFrame, int toFrame, int count);
    void Reset();
    void Seek(int frame);
    void Stop();
    // Advances one frame (the display's timer); the last frame of the last repetition stops.
    void Step();

    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

private:
    TCommonAVI commonAVI_ = aviNone;
    AnsiString fileName_;
    bool active_ = false;
    int frameCount_ = 0;
    int startFrame_ = 1;
    int stopFrame_ = 0;
    int repetitions_ = 0;
    bool center_ = true;
    bool transparent_ = true;
    int currentFrame_ = 0;
    int playsLeft_ = 0;
};

} // namespace qz
