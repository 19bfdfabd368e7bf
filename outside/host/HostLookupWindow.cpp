#include "outside/host/HostLookupWindow.h"

#include "platform/core/CodePages.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdio>

namespace qz {

QZ_CLASS_INFO(THostLookupWindow, TForm) {}

namespace {

constexpr int kMargin = 8, kButtonWidth = 75, kButtonHeight = 25;

} // namespace

AnsiString FieldText(const Variant& field) {
    if (field.Type() == varDouble) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", field.AsDouble());
        return text;
    }
    return VarToStr(field);
}

THostLookupWindow::THostLookupWindow(TComponent* owner) : TForm(owner) {
    SetName("frmHostLookup");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetColor(clBtnFace);
    Font()->SetName(GB("宋体"));
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);
    SetClientWidth(560);
    SetClientHeight(360);

    lvRows = new TListView(this);
    lvRows->SetName("lvRows");
    lvRows->SetParent(this);
    lvRows->SetBounds(kMargin, kMargin, ClientWidth() - 2 * kMargin,
                      ClientHeight() - 3 * kMargin - kButtonHeight);
    lvRows->SetViewStyle(vsReport);
    lvRows->SetRowSelect(true);
    lvRows->SetReadOnly(true);
    lvRows->SetHideSelection(false);
    lvRows->SetTabStop(true);
    lvRows->OnDblClick = TNotifyEvent(this, &THostLookupWindow::lvRowsDblClick);

    int top = ClientHeight() - kMargin - kButtonHeight;
    btnOK = new TButton(this);
    btnOK->SetName("btnOK");
    btnOK->SetParent(this);
    btnOK->SetCaption(GB("确定"));
    btnOK->SetBounds(ClientWidth() - 2 * (kMargin + kButtonWidth), top, kButtonWidth, kButtonHeight);
    btnOK->SetModalResult(mrOk);
    btnOK->SetDefault(true);

    btnCancel = new TButton(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetCaption(GB("取消"));
    btnCancel->SetBounds(ClientWidth() - kMargin - kButtonWidth, top, kButtonWidth, kButtonHeight);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetCancel(true);
}

void THostLookupWindow::Fill(const AnsiString& caption, const std::vector<TColumnInfo>& columns, TRows rows,
                             bool multiSelect) {
    SetCaption(caption);
    rows_ = std::move(rows);
    lvRows->SetMultiSelect(multiSelect);
    lvRows->Columns()->Clear();
    for (const TColumnInfo& c : columns) {
        TListColumn* column = lvRows->Columns()->Add();
        column->SetCaption(GB(c.Caption));
        column->SetWidth(c.Width);
        if (c.Right) column->SetAlignment(taRightJustify);
    }
    TListItems* items = lvRows->Items();
    items->BeginUpdate();
    items->Clear();
    for (const TRow& row : rows_) {
        TListItem* item = items->Add();
        for (size_t i = 0; i < row.size(); ++i) {
            if (i == 0)
                item->SetCaption(FieldText(row[i]));
            else
                item->SubItems()->Add(FieldText(row[i]));
        }
    }
    items->EndUpdate();
    if (items->Count() > 0) {
        lvRows->SetSelected(items->Item(0));
        lvRows->SetItemFocused(items->Item(0));
    }
}

Variant THostLookupWindow::SelectedRows() const {
    std::vector<Variant> chosen;
    for (int i = 0; i < lvRows->Items()->Count(); ++i)
        if (lvRows->Items()->Item(i)->Selected()) chosen.push_back(VarArrayOf(rows_.at(i)));
    return chosen.empty() ? Variant() : VarArrayOf(chosen);
}

void THostLookupWindow::lvRowsDblClick(TObject*) {
    if (lvRows->Selected()) SetModalResult(mrOk);
}

Variant ShowLookupWindow(const AnsiString& caption, const std::vector<TColumnInfo>& columns, TRows rows,
                         bool multiSelect) {
    auto* window = CreateForm<THostLookupWindow>(nullptr);
    Variant chosen;
    try {
        window->Fill(caption, columns, std::move(rows), multiSelect);
        if (window->ShowModal() == mrOk) chosen = window->SelectedRows();
    } catch (...) {
        window->Free();
        throw;
    }
    window->Free();
    return chosen;
}

} // namespace qz
