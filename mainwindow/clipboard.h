// Plain text onto the clipboard.
#pragma once
#include <string>

// Places the text as CF_TEXT; when the clipboard cannot be had the text is simply not placed.
void CopyTextToClipboard(const std::string& text);
