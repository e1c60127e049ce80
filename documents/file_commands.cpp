// Placeholder until the picture-file commands land: every command does nothing yet.
#include "documents/file_commands.h"

namespace rv {

void OpenPictureCommand(TMainForm&) {}
void SavePictureCommand(TMainForm&) {}
void SavePictureAsCommand(TMainForm&) {}
void CopyPictureCommand(TMainForm&) {}
void PrintPictureCommand(TMainForm&) {}

}  // namespace rv
