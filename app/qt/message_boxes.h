// The program's message boxes and questions. Every failure the user sees goes through
// here, so GUI tests can read the text shown and give the answer instead of a person.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace kelvara::app {

enum class BoxKind { kMessage, kYesNo, kOkCancel };

// What a test puts in place of the real boxes: it gets the kind and the text and
// returns the answer (true for yes or OK; ignored for a plain message).
using BoxAnswerer = std::function<bool(BoxKind kind, const std::string& text)>;

// Installs an answerer for the rest of the process (tests only); an empty one brings
// the real boxes back.
void SetBoxAnswerer(BoxAnswerer answerer);

void ShowMessage(QWidget* parent, std::string_view text);
// ShowMessage over `parent`, for the widgets that take a message hook.
std::function<void(const std::string& text)> MessagesOver(QWidget* parent);
// The About box, captioned "О программе"; an answerer sees it as a message.
void ShowAbout(QWidget* parent, std::string_view text);
// Yes/no question; true for yes.
bool AskYesNo(QWidget* parent, std::string_view text);
// OK/Cancel question; true for OK.
bool AskOkCancel(QWidget* parent, std::string_view text);

}  // namespace kelvara::app
