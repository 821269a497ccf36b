#pragma once
// Starts the program's application object against a clean settings store, with file dialogs
// and message boxes answered by the test.
#include "app/CMainFrame.h"
#include "app/CReelmixApp.h"
#include "platform/framework/CFileDialog.h"
#include "show/CReelmixDoc.h"
#include "tests/app/TestView.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the application object with view as its view class and runs InitInstance with args.
    BOOL Start(const std::vector<std::string>& args = {},
               CDocTemplate::ViewClass view = RUNTIME_CLASS(TestView));
    // Closes the main window as the close box does and ends the application object.
    void Stop();

    CMainFrame* Frame() const;
    CReelmixDoc* Doc() const;
    // Adds a clip to the show and marks it modified, as the view's commands do.
    void AddClip(const char* name);

    // The answers the next file dialogs and message boxes give, in order; a file dialog with
    // no answer left is cancelled, a message box answers IDOK.
    std::deque<std::string> m_fileAnswers;
    std::deque<int> m_messageAnswers;
    std::vector<CString> m_messages;
    std::vector<CString> m_dialogTitles;
    std::unique_ptr<CReelmixApp> m_app;
};
