#include "desktop/message_box_report.h"

#include "desktop/display_text.h"
#include "desktop/message_box.h"
#include "desktop/result_message.h"

namespace velmora::desktop {

void MessageBoxReport::FileDone(const FileOutcome& outcome) {
    ShowMessageBox(boxes, owner, ToDisplayText(ResultMessage(outcome.result, outcome.inputPath)));
}

}  // namespace velmora::desktop
