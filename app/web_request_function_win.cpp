#include "app/web_request_function_win.h"

#include "http/web_request.h"

namespace lumenta::app {

WebRequestFunction WebRequestFunctionForProgram() {
  return [](const Text& url, int method, const Text& bodyText, const Text& extraHeaders) {
    HttpResponse response = SendHttpRequest({.url = url,
                                             .verb = VerbOfMethod(method),
                                             .body = AsText(bodyText),
                                             .extraHeaders = extraHeaders});
    WebAnswer answer;
    answer.body = std::move(response.text);
    answer.statusText = response.status.value_or(Text());
    return answer;
  };
}

}  // namespace lumenta::app
