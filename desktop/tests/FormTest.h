// The fixture of the main window's tests: a real TMainForm over the real
// Corvex.dll (through the recording binding) and a recorder of the outside
// world, shown and active on the test display; real input and a pump that
// waits for a condition with a bound.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "Main.h"
#include "RecordingLibrary.h"
#include "TestFiles.h"
#include "TestOutside.h"

class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the window (FormCreate runs); shows it and makes it active.
    void MakeForm();

    HWND Window() const { return form->Window(); }
    HWND Control(ControlId id) const { return form->Control(id); }

    // Processes the thread's pending messages as the program's loop does.
    void Pump();
    // Pumps until `done` holds; false if it did not within `timeoutMs`.
    bool PumpUntil(const std::function<bool()> &done, DWORD timeoutMs = 10000);

    // A click on a button, as BM_CLICK gives it.
    void Click(ControlId id);
    // Real key input: `modifiers` held down around a press of `key`, then
    // waits until the keys have been taken from the queue and handled.
    void PressKeys(std::initializer_list<WORD> modifiers, WORD key);
    // The same keys, only sent (for a library call to take from the queue).
    static void SendKeys(std::initializer_list<WORD> modifiers, WORD key);

    // A file with `messages` mail messages; returns its path.
    std::string MailFileWith(const std::string &name, int messages);
    // Adds a source as the file-open dialog would.
    void AddThroughOpenDialog(const std::vector<std::string> &paths);

    std::string Text(ControlId id) const;
    // Column `column` of list row `row`, as the list shows it.
    std::string Cell(int row, int column) const;
    int RowCount() const;

    // The window's state between library calls: the nine switched controls
    // enabled, the start button shown, no bar, no time text, drops accepted,
    // the arrow cursor. Busy is the opposite, help staying available.
    ::testing::AssertionResult IsIdle() const;
    ::testing::AssertionResult IsBusy() const;

    // A picture of the window into the folder that QUILLBOX_SCREENSHOTS
    // names (as a BMP file that the test run turns into PNG).
    static void SaveScreenshot(HWND window, const std::string &name);

    // The program's files folder (for the help path).
    static std::string ProgramFolder();

    TestOutside outside;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TempFolder> temp;
};

// The open dialog's answer for these paths (one: the path; several: the
// folder, then the names).
bool AnswerOpenDialog(OPENFILENAMEA &dialog, const std::vector<std::string> &paths);
