#pragma once

#include <wx/window.h>

#include "core/encrypt_target.h"
#include "platform/wx/message_box.h"

namespace velmora::desktop {

/// Shows every file EncryptTarget handles in a message box of its own, owned
/// by `owner`; each box is dismissed before the next file is touched. Entries
/// left alone and folders without text files show nothing.
class MessageBoxReport : public TargetReport {
  public:
    MessageBoxReport(platform::MessageBoxes& boxes, wxWindow* owner) : boxes(boxes), owner(owner) {}

    void NothingFound() override {}
    void EntrySkipped(const std::string&) override {}
    void FileDone(const FileOutcome& outcome) override;

  private:
    platform::MessageBoxes& boxes;
    wxWindow* owner;
};

}  // namespace velmora::desktop
