// The toolkit's own texts (message box buttons, the text boxes' context menu)
// in Simplified Chinese, like every other text of the program, whatever the
// system's language.
#pragma once

class QCoreApplication;

namespace cubrix {

// Returns whether the toolkit's Chinese texts were found and installed.
bool installChineseToolkitTexts(QCoreApplication& app);

}  // namespace cubrix
