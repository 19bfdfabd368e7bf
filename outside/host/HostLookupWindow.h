#pragma once
// The host's lookup window "frmHostLookup": the rows of a table in a report-style list "lvRows", type
// and number first. Enter, a double click on a row or "btnOK" chooses the selected rows; Esc or
// "btnCancel" chooses nothing. Texts are GB bytes.
#include "outside/host/CompanyDb.h"
#include "platform/vcl/Forms.h"

namespace qz {

class TButton;
class TListView;

class THostLookupWindow : public TForm {
    QZ_CLASS(THostLookupWindow)
public:
    explicit THostLookupWindow(TComponent* owner);

    // Fills the list: caption, columns and rows; the first row is selected.
    void Fill(const AnsiString& caption, const std::vector<TColumnInfo>& columns, TRows rows,
              bool multiSelect);
    // The selected rows as the lookup answers them: an array of rows from 0, each an array of its
    // fields; Empty when no row is selected.
    Variant SelectedRows() const;

    TListView* lvRows;
    TButton* btnOK;
    TButton* btnCancel;

private:
    void lvRowsDblClick(TObject* Sender);
    TRows rows_;
};

// Shows the lookup window modally: the chosen rows (SelectedRows), or Empty when it was cancelled.
Variant ShowLookupWindow(const AnsiString& caption, const std::vector<TColumnInfo>& columns, TRows rows,
                         bool multiSelect);

// The text a field shows in a list: amounts with two decimals.
AnsiString FieldText(const Variant& field);

} // namespace qz
