// Starting the handheld's companion programs: the word processor "pword.exe" and the
// help viewer "peghelp.exe" open the built-in viewers instead of new processes.
#pragma once

#include <QString>

class QWidget;

namespace kelvara::platform {

inline constexpr const char* kWordProcessor = "pword.exe";
inline constexpr const char* kHelpProgram = "peghelp.exe";

// `commandLine` is the device path of the text file for the word processor, or the
// help target ("file:kelvara.htm#Map") for the help viewer. False for any other
// program, or when the viewer could not open what it was given.
bool StartProgram(const QString& program, const QString& commandLine, QWidget* parent = nullptr);

}  // namespace kelvara::platform
