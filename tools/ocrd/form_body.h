#pragma once
// Reading one field of an application/x-www-form-urlencoded request body.
#include <string>
#include <string_view>

namespace lumenta::ocrd {

enum class FormField {
  kFound,      // the field is there; its value is decoded (possibly empty)
  kMissing,    // no field of that name
  kMalformed,  // the field's value holds a "%" that is not followed by two hexadecimal digits
};

// Finds the first field called `name` ("name=value" pairs joined by "&"; a field without "="
// has the empty value) and percent-decodes its value: "%XX" gives the byte, "+" a blank.
[[nodiscard]] FormField FindFormField(std::string_view body, std::string_view name,
                                      std::string& value);

}  // namespace lumenta::ocrd
