// Test entry point for in-process dialog tests: starts wxWidgets (GTK, and
// Wine, need an X display), sends wx log messages to standard error and
// turns wx assertions into test failures, so that neither opens a dialog;
// runs the tests and shuts wxWidgets down again.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/desktop/test_program.h"

namespace velmora::testing {
namespace {

std::string programPath;

}  // namespace

const std::string& TestProgramPath() {
    return programPath;
}

}  // namespace velmora::testing

namespace {

void FailOnWxAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                    const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assertion in " << func.utf8_str().data() << ": " << cond.utf8_str().data() << " "
        << msg.utf8_str().data();
}

}  // namespace

int main(int argc, char** argv) {
    velmora::testing::programPath = argc > 0 ? argv[0] : "";
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "wxWidgets did not start (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(not set)");
        return 2;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxSetAssertHandler(FailOnWxAssert);
    const int status = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return status;
}
