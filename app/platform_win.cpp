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
  previous.processes = SetProcessStarter(platform.processes);
  if (previous.processes == &StartProcess) previous.processes = nullptr;
  previous.automation = WordAutomation::SetInstanceCreator(platform.automation);
  if (previous.automation == &CoCreateInstance) previous.automation = nullptr;
  return previous;
}

}  // namespace lumenta::app
