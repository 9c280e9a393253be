#pragma once
// What the program asks of the system that tests put their own stand-ins for, in one place: the
// message box, the open and save dialogs, the picture boxes' renderer, the screen copy at the
// start of a capture and the capture's surfaces of the screen's size, starting another program,
// and creating the word processor's automation server. The program installs the system's own at
// start-up; a test installs a platform with the members it replaces set, for its lifetime.
#include <windows.h>

#include <functional>

#include "app/process_start_win.h"
#include "app/word_automation_win.h"
#include "capture/window/screen_snapshot_win.h"
#include "ui/common_dialog_win.h"
#include "ui/message_box.h"
#include "ui/picture_box_win.h"

namespace lumenta::app {

// An empty member stands for the system's own (the program's own renderer for the pictures).
struct Platform {
  ui::MessageSink messages;
  ui::FileDialogRunner fileDialogs;
  ui::PictureRenderer* pictureRenderer = nullptr;
  capture::SnapshotSource screenSnapshots;
  capture::ScreenSurfaceMaker screenSurfaces;
  ProcessStarter processes = nullptr;
  WordAutomation::InstanceCreator automation = nullptr;
};

// Installs every member of `platform`; returns what was installed before, member by member.
Platform InstallPlatform(Platform platform);

// Installs a platform for its lifetime, then puts back what was there.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform platform) : previous_(InstallPlatform(std::move(platform))) {}
  // Installs the platform in force with the changes `edit` makes to it: a test that replaces one
  // member keeps the others that its fixture installed (a message recorder, a renderer).
  explicit ScopedPlatform(const std::function<void(Platform&)>& edit);
  ~ScopedPlatform() { InstallPlatform(std::move(previous_)); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform previous_;
};

}  // namespace lumenta::app
