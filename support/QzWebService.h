#pragma once
// Web-service calls through the outside library "WsBridge.dll", which writes the service's answer into
// a temporary file that is read back here.
#include "platform/core/Types.h"

namespace qz {

// The library's entry: service address, operation, request, answer file (texts of the process code page).
using TWsBridgeFx = void (*)(const char* url, const char* operation, const char* request,
                             const char* answerFile);

// The library the call loads: "WsBridge.dll" unless a test named another (empty restores it).
const AnsiString& WebServiceLibraryName();
void SetWebServiceLibraryName(const AnsiString& name);

// A new answer file: <temp>~Tessel_<YYYYMMDDHHNNSSZZZ>_<unique>.tmp, created empty and only for us.
AnsiString NewAnswerFileName();

// Calls the service; response becomes the answer's lines, each followed by CR LF. A missing library or
// entry leaves response empty; an answer file that cannot be read raises EInOutError. The answer file
// is removed in every case.
void InvokeWebService(const AnsiString& url, const AnsiString& operation, const AnsiString& request,
                      AnsiString& response);

} // namespace qz
