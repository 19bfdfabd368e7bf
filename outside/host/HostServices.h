#pragma once
// The reference host's application object and its services: counter and settings, validator (table
// queries and checks) and lookup windows over the demo company database, and the message catalogue.
#include "platform/variant/Variant.h"

namespace qz {

class IDispatchObject;

struct THostOptions {
    AnsiString catalogueFile; // the message catalogue (UTF-8 settings file)
    AnsiString companyDb;     // the company database; "" for CompanyDbLocation beside the catalogue
    bool verbose = true;      // report help calls on standard output
};

// A new host application object (one reference for the caller's Variant).
Variant CreateHostApplication(const THostOptions& options);

// The message catalogue of the build or installation that holds the program or shared object:
// "../share/qz/catalogue.ini" from its folder.
AnsiString CatalogueBeside(const AnsiString& binaryFile);

} // namespace qz
