#pragma once
// The replacement text of ReplaceAll, read as the platform's script engines read it:
//   $$  a dollar sign          $&  the whole match
//   $`  the text before it     $'  the text after it
//   $n, $nn  capture group n (1 to 99); a group that took no part gives nothing. Two digits
//            are read as one number when the pattern has that many groups, otherwise the
//            first digit alone names the group and the second is an ordinary character.
//   Any other "$" (including $0 and a number above the group count) stands for itself.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumenta::regex {

// Appends the expansion of `replacement` for one match to `out`. `slots` holds byte offsets in
// `subject`: the match at 0 and 1, group k at 2k and 2k+1 (-1 when it took no part).
void AppendReplacement(std::string& out, std::string_view replacement, std::string_view subject,
                       const int32_t* slots, int groupCount);

}  // namespace lumenta::regex
