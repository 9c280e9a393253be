#pragma once
// The credentials file: key.ini in the folder of the program file, section "key", entries "ak"
// (the API key, 编辑框1) and "sk" (the secret key, 编辑框2), plain text, read and written with
// the system's ANSI private-profile functions byte for byte.
#include <string>
#include <string_view>

#include "base/text.h"

namespace lumenta::app {

inline constexpr std::string_view kKeyFileName = "key.ini";
inline constexpr std::string_view kKeySection = "key";
inline constexpr std::string_view kApiKeyEntry = "ak";
inline constexpr std::string_view kSecretKeyEntry = "sk";
// The reader's buffer: a value keeps at most 10,239 characters.
inline constexpr int kProfileBufferChars = 10240;

// The message shown when the keys could not be written.
inline constexpr std::string_view kSaveFailedMessage =
    "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xB3\xCC\xD0\xF2"
    "\xC4\xBF\xC2\xBC\xCA\xC7\xB7\xF1\xBF\xC9\xD0\xB4\xA3\xA1";  // 保存失败，请检查程序目录是否可写！

// `name` without its leading characters of codes 1 to 32 (control characters and the space).
[[nodiscard]] std::string_view StripLeadingControlCodes(std::string_view name);

// The folder part of a program file's full path: everything before its last "\" or "/"
// (empty when there is none). Paths are UTF-16 here: in GBK a "\" byte may be the second byte
// of a character.
[[nodiscard]] std::u16string_view FolderOf(std::u16string_view programPath);

// The credentials file of a program folder: the folder followed by "\key.ini".
[[nodiscard]] std::u16string KeyFileInFolder(std::u16string_view folder);

}  // namespace lumenta::app
