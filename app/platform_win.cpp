#include "app/platform_win.h"

#include "ui/picture_renderer_win.h"

namespace lumenta::app {

Platform InstallPlatform(Platform platform) {
  Platform previous;
  previous.messages = ui::SetMessageSink(std::move(platform.messages));
  previous.fileDialogs = ui::SetFileDialogRunner(std::move(platform.fileDialogs));
  ui::PictureRenderer* program = &ui::ProgramPictureRenderer();
  previous.pictureRenderer =
      ui::SetPictureRenderer(platform.pictureRenderer ? platform.pictureRenderer : program);
  if (previous.pictureRenderer == program) previous.pictureRenderer = nullptr;
  previous.screenSnapshots = capture::SetSnapshotSource(std::move(platform.screenSnapshots));
  previous.screenSurfaces = capture::SetScreenSurfaceMaker(std::move(platform.screenSurfaces));
  previous.processes = SetProcessStarter(platform.processes);
  if (previous.processes == &StartProcess) previous.processes = nullptr;
  previous.automation = WordAutomation::SetInstanceCreator(platform.automation);
  if (previous.automation == &CoCreateInstance) previous.automation = nullptr;
  return previous;
}

ScopedPlatform::ScopedPlatform(const std::function<void(Platform&)>& edit) {
  // Taking the platform out (the system's own stands in for a moment) is the one way to see
  // every member as it is installed.
  previous_ = InstallPlatform({});
  Platform changed = previous_;
  edit(changed);
  (void)InstallPlatform(std::move(changed));
}

}  // namespace lumenta::app
