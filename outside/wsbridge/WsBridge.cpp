// WsBridge: calls a web service over HTTP. The request is posted as XML (UTF-8) with the operation as
// its SOAPAction; a successful answer (status 2xx) is written into the answer file in the process code
// page. When the call fails the answer file is removed, so the caller cannot take the failure for an
// empty answer.
#include "platform/core/CodePages.h"

#include <cstdio>
#include <curl/curl.h>
#include <string>

using namespace qz;

namespace {

size_t Collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The answer in the process code page: GB answers as GB text, all others read as UTF-8.
std::string ToProcessCodePage(const std::string& body, const char* contentType) {
    const std::string type = contentType ? Lower(contentType) : std::string();
    if (type.find("charset=gb") != std::string::npos) {
        AnsiString out;
        if (SystemCodePage() == 936 || !TryConvertCodePage(body, 936, SystemCodePage(), out)) return body;
        return out;
    }
    return Utf8ToAnsi(body);
}

// The answer, or false when the service could not be reached or answered with an error status.
bool Call(const char* url, const char* operation, const char* request, std::string& answer) {
    CURL* curl = curl_easy_init();
    if (!curl) return false;
    const std::string body = AnsiToUtf8(request ? request : "");
    const std::string action = std::string("SOAPAction: \"") + (operation ? operation : "") + "\"";
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: text/xml; charset=UTF-8");
    headers = curl_slist_append(headers, action.c_str());

    std::string received;
    curl_easy_setopt(curl, CURLOPT_URL, url ? url : "");
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);

    bool ok = curl_easy_perform(curl) == CURLE_OK;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    ok = ok && status >= 200 && status < 300;
    if (ok) {
        char* contentType = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
        answer = ToProcessCodePage(received, contentType);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return ok;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void
WsBridgeFx(const char* url, const char* operation, const char* request, const char* answerFile) {
    if (!answerFile || !*answerFile) return;
    std::string answer;
    if (!Call(url, operation, request, answer)) {
        std::remove(answerFile);
        return;
    }
    FILE* f = std::fopen(answerFile, "wb");
    if (!f) return;
    const bool written = std::fwrite(answer.data(), 1, answer.size(), f) == answer.size();
    if (std::fclose(f) != 0 || !written) std::remove(answerFile);
}
