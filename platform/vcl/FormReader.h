#pragma once
// Form resources: the components of a window and their property values as text,
//   object frmX: TfrmX
//     Caption = 'Report'#13#10'two lines'
//     Font.Name = 'Tahoma'
//     BorderIcons = [biSystemMenu, biMinimize]
//     OnShow = FormShow
//     object lstPlans: TListBox
//       Items.Strings = (
//         'a'
//         'b')
//     end
//     inherited btnOk: TButton
//       Default = True
//     end
//   end
// read through the type information into a component under construction: components created by class
// name and owned by the root, parented to the enclosing control, in the loading state until Loaded is
// called on all of them at the end; properties set in the order written; events bound to published
// methods of the root; component references resolved after reading. Quoted text with bytes above 127
// is UTF-8 and is stored in code page 936; #nnn is the byte nnn.
#include "platform/vcl/Classes.h"

namespace qz {

// Resources by class name. A class may also carry its resource in its metaclass (ClassBuilder::Resource).
void RegisterFormResource(const AnsiString& className, const char* text);
const char* FindFormResource(const AnsiString& className);

// Reads the resources of the classes from below rootAncestor down to the class of instance, the most
// basic first, then calls Loaded. Returns false when no class of the chain has a resource.
bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor);

// Reads one resource text into root (with its own loading state and Loaded). Raises EReadError.
void ReadComponentResText(TComponent* root, const AnsiString& text);

// Registers the classes of the library so that resources find them by name.
void RegisterVclClasses();

} // namespace qz
