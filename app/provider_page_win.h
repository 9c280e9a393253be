#pragma once
// The OCR provider's console home page, where API keys are applied for.

namespace lumenta::app {

inline constexpr wchar_t kProviderPageAddress[] =
    L"https://console.bce.baidu.com/ai/#/ai/ocr/overview/index";

// Opens the page with "Explorer " followed by its address, in a normal window; waits at most
// one second for the new process to become ready for input. Nothing happens when it cannot be
// started.
void OpenProviderPage();

}  // namespace lumenta::app
