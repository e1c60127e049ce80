// The File and Edit menu commands that move pictures in and out: Open, Save, Save As,
// Copy and Print. Each acts on the drawing state's ActiveImage.
#pragma once

namespace rv {

class TMainForm;

void OpenPictureCommand(TMainForm& form);
void SavePictureCommand(TMainForm& form);
void SavePictureAsCommand(TMainForm& form);
void CopyPictureCommand(TMainForm& form);
void PrintPictureCommand(TMainForm& form);

}  // namespace rv
