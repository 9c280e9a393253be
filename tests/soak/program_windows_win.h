#pragma once
// The running program's windows seen from another process, as a user's tool sees them: its
// top-level windows, controls found by class and caption, their texts (WM_GETTEXT, which the
// system carries across processes), and waits with a limit for something to appear.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace lumenta::soak {

// The process's visible top-level windows of `className` (empty: any class).
std::vector<HWND> TopWindows(DWORD processId, const std::wstring& className = L"");

// The first descendant of `parent` of `className` whose caption is `caption` (empty: any) and
// whose style holds all of `style`; nullptr when there is none.
HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& caption = L"",
                    LONG style = 0);

// The text of a window of another process (empty when it does not answer within 5 s).
std::wstring TextOf(HWND window);

// Sends a message that carries no pointers and waits for it to be handled, for at most 10 s;
// false when it was not.
bool SendWithin(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0);

// Polls `condition` every 10 ms until it holds (true) or `limit` has passed (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// The text of the process's message boxes and other dialogs now shown (their static texts
// joined), and closes them; empty when none is shown.
std::wstring CloseDialogs(DWORD processId);

}  // namespace lumenta::soak
