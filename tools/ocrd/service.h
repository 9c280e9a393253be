#pragma once
// The two paths of the service on an httplib server:
//   POST /oauth/2.0/token?grant_type=client_credentials&client_id=..&client_secret=..
//   POST /rest/2.0/ocr/v1/general_basic?access_token=..   with the form body image=<Base64>
// Errors answer with the cloud service's error objects; every request is logged in one line.
#include <string>

#include "tools/ocrd/engine_pool.h"
#include "tools/ocrd/options.h"
#include "tools/ocrd/request_log.h"
#include "tools/ocrd/token_issuer.h"

namespace httplib {
class Server;
}

namespace lumenta::ocrd {

inline constexpr char kTokenPath[] = "/oauth/2.0/token";
inline constexpr char kRecognitionPath[] = "/rest/2.0/ocr/v1/general_basic";

class OcrService {
 public:
  OcrService(const Options& options, EnginePool& engines, TokenIssuer& tokens, RequestLog& log);

  // Registers the handlers, the error answers, the body limit and the logger on `server`.
  void Install(httplib::Server& server);

 private:
  const Options& options_;
  EnginePool& engines_;
  TokenIssuer& tokens_;
  RequestLog& log_;
};

}  // namespace lumenta::ocrd
