// The system clipboard's text, as the platform's Clipboard.AsText has it (UTF-8 here).
#pragma once

#include <string>

namespace kgui {

bool clipboardHasText();
// "" when the clipboard holds no text.
std::string clipboardText();
// Replaces the clipboard's contents by the text.
void setClipboardText(const std::string& text);

}  // namespace kgui
