#pragma once
// The HTTP seam for the fuzz targets and the corpus maker: no network, every request is
// answered in-process. Linking this file in place of the library's backend is enough; the
// archive's curl object is then never pulled in.
#include <functional>
#include <string>

namespace falcrest::fuzzing {

// Every following request is answered with this body (status 200).
void SetAnswer(std::string body);
// Every following request is answered by `responder`, given the request's body; an empty
// function goes back to the fixed answer.
void SetResponder(std::function<std::string(const std::string& requestBody)> responder);
// The entity of the latest request sent; empty before the first.
const std::string& LastRequestBody();

}  // namespace falcrest::fuzzing
