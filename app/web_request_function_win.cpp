#include "app/web_request_function_win.h"

#include <optional>

#include "base/text_encoders.h"
#include "http/web_request.h"
#include "ocr/picture_field.h"

namespace lumenta::app {

WebRequestFunction WebRequestFunctionForProgram() {
  return [](const Text& url, int method, const RequestBody& body, const Text& extraHeaders) {
    HttpRequest request{.url = url, .verb = VerbOfMethod(method), .extraHeaders = extraHeaders};
    // A picture field is encoded while it is sent, piece by piece through WebRequest's buffer.
    std::optional<PictureFieldPieces> field;
    BodyPieces pieces;
    if (body.isPictureField()) {
      field.emplace(body.picture());
      pieces = {.length = field->length(),
                .next = [&field](char* buffer, size_t room) { return field->Next(buffer, room); }};
      request.bodyPieces = &pieces;
    } else {
      request.body = AsLongText(body.text());
    }
    HttpResponse response = SendHttpRequest(request);
    WebAnswer answer;
    answer.body = std::move(response.text);
    answer.statusText = response.status.value_or(Text());
    return answer;
  };
}

}  // namespace lumenta::app
