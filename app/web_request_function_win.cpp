#include "app/web_request_function_win.h"

#include "http/web_request.h"

namespace lumenta::app {

WebRequestFunction WebRequestFunctionForProgram() {
  return [](const Text& url, int method, const Text& bodyText, const Text& extraHeaders) {
    WebAnswer answer;
    answer.body = WebRequest({.url = url,
                              .method = method,
                              .bodyText = bodyText,
                              .extraHeaders = extraHeaders,
                              .statusText = &answer.statusText});
    return answer;
  };
}

}  // namespace lumenta::app
